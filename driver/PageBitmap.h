#ifndef VELMO_DRIVER_PAGEBITMAP_H
#define VELMO_DRIVER_PAGEBITMAP_H

#include "codec/codec.ParameterBlock.h"

#include <cstdint>

namespace velmo::driver {

// Bitmap file images as the page conversion passes them: a 14-byte file header, the
// 40-byte information header, a 256-entry colour table, then (at the pixel offset) the
// rows, bottom-up, each padded to 4 bytes.
namespace pagebitmap {

constexpr std::int32_t kFileHeaderSize = 14;
constexpr std::int32_t kInfoHeaderOffset = kFileHeaderSize;
constexpr std::int32_t kColourTableOffset = kInfoHeaderOffset + 40;
constexpr std::int32_t kColourTableSize = 256 * 4;
// Where a captured page keeps its pixels, and where the conversion's own images do.
constexpr std::int32_t kPagePixelOffset = kColourTableOffset + kColourTableSize;
constexpr std::int32_t kWorkPixelOffset = 1200;

// Bytes per row at a bit depth, padded to whole 32-bit words.
constexpr std::int64_t rowStride(std::int64_t nWidth, std::int64_t nBitCount)
{
    return (nWidth * nBitCount + 31) / 32 * 4;
}

codec::DibHeader readInfoHeader(const unsigned char* pImage);
void writeInfoHeader(unsigned char* pImage, const codec::DibHeader& header);
// "BM", size 0, reserved 0, the pixel offset.
void writeFileHeader(unsigned char* pImage, std::int32_t nPixelOffset);
std::int32_t readPixelOffset(const unsigned char* pImage);

}

// The number of distinct colours of a 24-bit page, counted up to 301 (more is not
// needed to tell a photograph). Images of fewer than 2 bits per pixel count as 2.
std::int32_t countDistinctColours(const unsigned char* pImage, std::int32_t nImageLength);

}

#endif
