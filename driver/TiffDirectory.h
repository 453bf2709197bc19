#ifndef VELMO_DRIVER_TIFFDIRECTORY_H
#define VELMO_DRIVER_TIFFDIRECTORY_H

#include <cstdint>

namespace velmo::driver {

// The first image directory of a coded page file, as the page conversion needs it.
struct TiffDirectoryInfo {
    std::int32_t nPageCount = 0;
    // Offsets of the XResolution and YResolution rationals (0 when missing).
    std::int32_t nXResolutionOffset = 0;
    std::int32_t nYResolutionOffset = 0;
    std::uint32_t nXNumerator = 0;
    std::uint32_t nXDenominator = 0;
};

// Counts the directories of a little-endian TIFF file of at least 64 bytes ("II" or "AE",
// then 42) and reads the first one; 0 pages for any other file.
TiffDirectoryInfo readTiffDirectory(const char* pszPath);
// Writes nValue/1 into both resolutions of the first directory, in place.
bool patchTiffResolution(const char* pszPath, const TiffDirectoryInfo& directory, std::uint32_t nValue);

}

#endif
