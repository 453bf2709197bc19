#include "lib/graphics.TiffUtil.h"

#include "core/exception.BaseException.h"
#include "lib/graphics.LittleEndian.h"

#include <climits>
#include <set>

namespace velmo::lib::graphics {

using core::exception::BaseException;
using core::io::IStream;

namespace {

[[noreturn]] void raise(const core::exception::Location& location, std::int32_t nCode, const char* pszInfo = "")
{
    throw BaseException(location, nCode, 0, pszInfo, "");
}

bool readFully(IStream* pStream, unsigned char* pBuffer, std::int32_t nCount)
{
    for (std::int32_t nDone = 0; nDone < nCount;) {
        std::int32_t nRead = pStream->readData(pBuffer, nDone, nCount - nDone);
        if (nRead <= 0)
            return false;
        nDone += nRead;
    }
    return true;
}

// nCount bytes at nPosition, which lie inside the stream: failing to read them is a fault of
// the stream, not of the file.
void readAt(IStream* pStream, std::uint32_t nPosition, std::uint32_t nLength, unsigned char* pBuffer, std::int32_t nCount,
            std::int32_t nErrorCode)
{
    if (!TiffUtil::seekTo(pStream, nPosition, nLength) || !readFully(pStream, pBuffer, nCount))
        raise(VELMO_LOCATION, nErrorCode);
}

// The next-IFD field of the directory at nIfd when the directory is whole: behind the
// header, with at least one entry (no reader takes an empty directory), its entries and
// next-IFD field inside the file. 0 when it is not.
std::uint32_t nextFieldOfWholeDirectory(IStream* pStream, std::uint32_t nIfd, std::uint32_t nLength)
{
    if (nIfd < 8 || nIfd > nLength - 2)
        return 0;
    unsigned char count[2];
    readAt(pStream, nIfd, nLength, count, 2, core::exception::tifIfdFieldCountReadError);
    const std::int64_t nEntries = LittleEndian::toInt32(count, 0, 2);
    const std::int64_t nField = static_cast<std::int64_t>(nIfd) + 2 + 12 * nEntries;
    return nEntries > 0 && nField + 4 <= nLength ? static_cast<std::uint32_t>(nField) : 0;
}

}

TiffChainEnd TiffUtil::findChainEnd(IStream* pStream)
{
    unsigned char header[8];
    if (!pStream->seek(0, IStream::seekBegin) || !readFully(pStream, header, 8))
        raise(VELMO_LOCATION, core::exception::tifHeaderReadError);
    if (header[0] != 'I' || header[1] != 'I')
        raise(VELMO_LOCATION, core::exception::tifLittleEndianCompatability);
    if (header[2] != 42)
        raise(VELMO_LOCATION, core::exception::tifInvalidImage);
    // A file stream cannot tell a position of 4 GB or more.
    if (!pStream->seek(0, IStream::seekEnd) || pStream->getPosition() > kLongestFile)
        raise(VELMO_LOCATION, core::exception::maximumLengthExceeded, "file length");

    TiffChainEnd end{4, pStream->getPosition()};
    std::uint32_t nIfd = static_cast<std::uint32_t>(LittleEndian::toInt32(header, 4, 4));
    std::set<std::uint32_t> visited;
    while (nIfd != 0 && visited.insert(nIfd).second) {
        std::uint32_t nField = nextFieldOfWholeDirectory(pStream, nIfd, end.nFileLength);
        if (nField == 0)
            break;
        end.nLinkPosition = nField;
        unsigned char next[4];
        readAt(pStream, nField, end.nFileLength, next, 4, core::exception::tifIfdNextOffsetReadError);
        nIfd = static_cast<std::uint32_t>(LittleEndian::toInt32(next, 0, 4));
    }
    return end;
}

bool TiffUtil::seekTo(IStream* pStream, std::uint32_t nPosition, std::uint32_t nLength)
{
    if (nPosition <= INT32_MAX)
        return pStream->seek(static_cast<std::int32_t>(nPosition), IStream::seekBegin);
    // A file counts a distance from its end forwards, so the distance back is negative; a
    // stream that counts otherwise ends up elsewhere, which the position check finds.
    const std::int64_t nDistance = static_cast<std::int64_t>(nPosition) - nLength;
    return nDistance >= INT32_MIN && nDistance <= INT32_MAX
        && pStream->seek(static_cast<std::int32_t>(nDistance), IStream::seekEnd) && pStream->getPosition() == nPosition;
}

}
