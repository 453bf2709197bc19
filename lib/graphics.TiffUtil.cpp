#include "lib/graphics.TiffUtil.h"

#include "core/collections.SimpleTypeArray.h"
#include "core/exception.BaseException.h"
#include "lib/graphics.LittleEndian.h"

namespace velmo::lib::graphics {

using core::exception::BaseException;

namespace {

[[noreturn]] void raise(const core::exception::Location& location, std::int32_t nCode)
{
    throw BaseException(location, nCode, 0, "", "");
}

bool readFully(core::io::IStream* pStream, unsigned char* pBuffer, std::int32_t nCount)
{
    for (std::int32_t nDone = 0; nDone < nCount;) {
        std::int32_t nRead = pStream->readData(pBuffer, nDone, nCount - nDone);
        if (nRead <= 0)
            return false;
        nDone += nRead;
    }
    return true;
}

}

std::int32_t TiffUtil::getLastIfdOffsetPosition(core::io::IStream* pStream)
{
    unsigned char header[8];
    if (!readFully(pStream, header, 8))
        raise(VELMO_LOCATION, core::exception::tifHeaderReadError);
    if (header[0] != 'I' || header[1] != 'I')
        raise(VELMO_LOCATION, core::exception::tifLittleEndianCompatability);
    if (header[2] != 42)
        raise(VELMO_LOCATION, core::exception::tifInvalidImage);
    std::int32_t nIfd = LittleEndian::toInt32(header, 4, 4);
    core::collections::SimpleTypeArray<std::int32_t> visited;
    for (;;) {
        for (std::int32_t i = 0; i < visited.getCount(); ++i) {
            if (visited.getItem(i) == nIfd)
                raise(VELMO_LOCATION, core::exception::tifInvalidImage);
        }
        visited.add(nIfd);
        unsigned char field[4];
        if (!pStream->seek(nIfd, core::io::IStream::seekBegin) || !readFully(pStream, field, 2))
            raise(VELMO_LOCATION, core::exception::tifIfdFieldCountReadError);
        std::int32_t nEntries = LittleEndian::toInt32(field, 0, 2);
        if (!pStream->seek(nIfd + 2 + 12 * nEntries, core::io::IStream::seekBegin) || !readFully(pStream, field, 4))
            raise(VELMO_LOCATION, core::exception::tifIfdNextOffsetReadError);
        std::int32_t nNext = LittleEndian::toInt32(field, 0, 4);
        if (nNext == 0)
            return static_cast<std::int32_t>(pStream->getPosition()) - 4;
        nIfd = nNext;
    }
}

}
