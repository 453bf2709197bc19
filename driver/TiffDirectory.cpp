#include "driver/TiffDirectory.h"

#include "core/exception.BaseException.h"
#include "core/io.FileStream.h"
#include "lib/graphics.LittleEndian.h"

#include <set>
#include <vector>

namespace velmo::driver {

using lib::graphics::LittleEndian;

namespace {

std::vector<unsigned char> readWholeFile(const char* pszPath)
{
    core::io::FileStream file;
    file.open(pszPath, false);
    std::vector<unsigned char> bytes;
    unsigned char buffer[4096];
    for (std::int32_t nRead; (nRead = file.readData(buffer, 0, sizeof buffer)) > 0;)
        bytes.insert(bytes.end(), buffer, buffer + nRead);
    return bytes;
}

}

TiffDirectoryInfo readTiffDirectory(const char* pszPath)
{
    TiffDirectoryInfo info;
    std::vector<unsigned char> bytes;
    try {
        bytes = readWholeFile(pszPath);
    } catch (const core::exception::BaseException&) {
        return info;
    }
    const std::int64_t nSize = static_cast<std::int64_t>(bytes.size());
    bool bLittleEndian = nSize >= 64 && ((bytes[0] == 'I' && bytes[1] == 'I') || (bytes[0] == 'A' && bytes[1] == 'E'))
        && LittleEndian::toInt32(bytes.data(), 2, 2) == 42;
    if (!bLittleEndian)
        return info;

    std::set<std::uint32_t> visited;
    std::uint32_t nIfd = static_cast<std::uint32_t>(LittleEndian::toInt32(bytes.data(), 4, 4));
    while (nIfd != 0 && nIfd + 2 <= nSize && visited.insert(nIfd).second) {
        std::int64_t nCount = LittleEndian::toInt32(bytes.data(), static_cast<std::int32_t>(nIfd), 2);
        std::int64_t nNext = nIfd + 2 + 12 * nCount;
        if (nNext + 4 > nSize)
            break;
        if (++info.nPageCount == 1) {
            for (std::int64_t i = 0; i < nCount; ++i) {
                const unsigned char* pEntry = bytes.data() + nIfd + 2 + 12 * i;
                std::int32_t nTag = LittleEndian::toInt32(pEntry, 0, 2);
                std::int64_t nOffset = static_cast<std::uint32_t>(LittleEndian::toInt32(pEntry, 8, 4));
                if ((nTag != 282 && nTag != 283) || LittleEndian::toInt32(pEntry, 2, 2) != 5 || nOffset + 8 > nSize)
                    continue;
                if (nTag == 282) {
                    info.nXResolutionOffset = static_cast<std::int32_t>(nOffset);
                    info.nXNumerator = static_cast<std::uint32_t>(LittleEndian::toInt32(bytes.data(), static_cast<std::int32_t>(nOffset), 4));
                    info.nXDenominator = static_cast<std::uint32_t>(LittleEndian::toInt32(bytes.data(), static_cast<std::int32_t>(nOffset) + 4, 4));
                } else {
                    info.nYResolutionOffset = static_cast<std::int32_t>(nOffset);
                }
            }
        }
        nIfd = static_cast<std::uint32_t>(LittleEndian::toInt32(bytes.data(), static_cast<std::int32_t>(nNext), 4));
    }
    return info;
}

bool patchTiffResolution(const char* pszPath, const TiffDirectoryInfo& directory, std::uint32_t nValue)
{
    try {
        core::io::FileStream file;
        file.open(pszPath, true);
        unsigned char rational[8];
        LittleEndian::fromInt32(static_cast<std::int32_t>(nValue), rational, 0, 4);
        LittleEndian::fromInt32(1, rational, 4, 4);
        for (std::int32_t nOffset : {directory.nXResolutionOffset, directory.nYResolutionOffset}) {
            if (nOffset > 0 && file.seek(nOffset, core::io::IStream::seekBegin))
                file.writeData(rational, 0, 8);
        }
        return true;
    } catch (const core::exception::BaseException&) {
        return false;
    }
}

}
