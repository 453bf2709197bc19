#include "driver/PageBitmap.h"

#include <cstring>

namespace velmo::driver {

namespace pagebitmap {

codec::DibHeader readInfoHeader(const unsigned char* pImage)
{
    codec::DibHeader header;
    std::memcpy(&header, pImage + kInfoHeaderOffset, sizeof header);
    return header;
}

void writeInfoHeader(unsigned char* pImage, const codec::DibHeader& header)
{
    std::memcpy(pImage + kInfoHeaderOffset, &header, sizeof header);
}

void writeFileHeader(unsigned char* pImage, std::int32_t nPixelOffset)
{
    std::memset(pImage, 0, kFileHeaderSize);
    pImage[0] = 'B';
    pImage[1] = 'M';
    std::memcpy(pImage + 10, &nPixelOffset, 4);
}

std::int32_t readPixelOffset(const unsigned char* pImage)
{
    std::int32_t nOffset;
    std::memcpy(&nOffset, pImage + 10, 4);
    return nOffset;
}

}

namespace {

// A set of at most a few hundred 24-bit colours: open addressing in a fixed table, which
// costs a multiply and a compare or two per look-up.
class ColourSet {
public:
    // Adds a colour; the number of colours held.
    std::int32_t insert(std::uint32_t nColour)
    {
        std::uint32_t nKey = nColour + 1;  // 0 marks a free slot
        for (std::uint32_t nSlot = (nColour * 2654435761u) >> (32 - kBits);; nSlot = (nSlot + 1) & (kSlots - 1)) {
            if (m_slots[nSlot] == nKey)
                return m_nCount;
            if (m_slots[nSlot] == 0) {
                m_slots[nSlot] = nKey;
                return ++m_nCount;
            }
        }
    }

private:
    static constexpr std::uint32_t kBits = 10;
    static constexpr std::uint32_t kSlots = 1u << kBits;
    std::uint32_t m_slots[kSlots] = {};
    std::int32_t m_nCount = 0;
};

}

std::int32_t countDistinctColours(const unsigned char* pImage, std::int32_t nImageLength)
{
    constexpr std::int32_t kEnough = 300;
    if (nImageLength < pagebitmap::kPagePixelOffset)
        return 0;
    codec::DibHeader header = pagebitmap::readInfoHeader(pImage);
    if (header.nBitCount < 2)
        return 2;
    std::int64_t nWidth = header.nWidth;
    std::int64_t nHeight = header.nHeight < 0 ? -static_cast<std::int64_t>(header.nHeight) : header.nHeight;
    std::int64_t nStride = pagebitmap::rowStride(nWidth, 24);
    std::int64_t nPixelOffset = pagebitmap::readPixelOffset(pImage);
    // Only rows that lie inside the image are read.
    if (nWidth < 1 || nPixelOffset < 0 || nPixelOffset > nImageLength)
        return 0;
    std::int64_t nRows = (nImageLength - nPixelOffset) / nStride;
    if (nRows > nHeight)
        nRows = nHeight;

    ColourSet colours;
    std::int32_t nCount = 0;
    std::uint32_t nPrevious = 0;
    bool bFirst = true;
    // From the top row of the picture, the last one stored.
    for (std::int64_t nRow = nRows - 1; nRow >= 0; --nRow) {
        const unsigned char* pPixel = pImage + nPixelOffset + nRow * nStride;
        for (std::int64_t x = 0; x < nWidth; ++x, pPixel += 3) {
            std::uint32_t nColour = pPixel[0] | pPixel[1] << 8 | static_cast<std::uint32_t>(pPixel[2]) << 16;
            if (bFirst || nColour != nPrevious) {
                nCount = colours.insert(nColour);
                if (nCount > kEnough)
                    return nCount;
            }
            bFirst = false;
            nPrevious = nColour;
        }
    }
    return nCount;
}

}
