#ifndef VELMO_CODEC_DIBVIEW_H
#define VELMO_CODEC_DIBVIEW_H

#include <cstddef>
#include <cstdint>

namespace velmo::codec {

// Widest and tallest image any module takes.
inline constexpr std::int32_t kMaxDimension = 65535;

// A bottom-up bitmap in memory; rows are addressed top-down as they are seen.
class DibView {
public:
    DibView(unsigned char* pBits, std::int32_t nWidth, std::int32_t nHeight, std::int32_t nBitCount);

    // Bytes per row, padded to 4; throws invalid parameter for sizes out of range.
    static std::size_t computeStride(std::int32_t nWidth, std::int32_t nBitCount);
    // Bytes of the whole image; throws invalid parameter when it does not fit 31 bits.
    static std::size_t computeImageSize(std::int32_t nWidth, std::int32_t nHeight, std::int32_t nBitCount);

    unsigned char* getRow(std::int32_t nTopDownRow) const
    {
        return m_pBits + static_cast<std::size_t>(m_nHeight - 1 - nTopDownRow) * m_nStride;
    }
    std::int32_t getWidth() const { return m_nWidth; }
    std::int32_t getHeight() const { return m_nHeight; }
    std::int32_t getBitCount() const { return m_nBitCount; }
    std::size_t getStride() const { return m_nStride; }

private:
    unsigned char* m_pBits;
    std::int32_t m_nWidth;
    std::int32_t m_nHeight;
    std::int32_t m_nBitCount;
    std::size_t m_nStride;
};

}

#endif
