#ifndef VELMO_DRIVER_PAGEIMAGE_H
#define VELMO_DRIVER_PAGEIMAGE_H

#include <windows.h>
#include <winddi.h>

#include <cstdint>

namespace velmo::driver {

// A captured page: a complete bottom-up 24-bit bitmap file image in fixed global memory,
// colour table included, pixels from this offset on.
constexpr std::uint32_t pageImagePixelOffset = 1078;

// Bytes per row of a 24-bit bitmap, padded to whole 32-bit words.
constexpr std::uint32_t dibStride(std::uint32_t nWidth)
{
    return (nWidth * 24 + 31) / 32 * 4;
}

// Captures the surface; null when it holds no 24-bit pixels or no memory is left. The
// caller frees the block with GlobalFree.
HGLOBAL capturePageImage(const SURFOBJ& surface);

}

#endif
