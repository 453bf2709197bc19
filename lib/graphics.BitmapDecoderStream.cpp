#include "lib/graphics.BitmapDecoderStream.h"

#include "lib/graphics.CcittTables.h"

#include <array>

namespace velmo::lib::graphics {

namespace {

// Leading zero bits of a byte (8 for 0).
constexpr std::array<std::uint8_t, 256> buildLeadingZeros()
{
    std::array<std::uint8_t, 256> table{};
    for (std::uint32_t nByte = 0; nByte < 256; ++nByte) {
        std::uint8_t nZeros = 0;
        while (nZeros < 8 && !(nByte & (0x80u >> nZeros)))
            ++nZeros;
        table[nByte] = nZeros;
    }
    return table;
}

constexpr std::array<std::uint8_t, 256> kLeadingZeros = buildLeadingZeros();

}

void BitmapDecoderStream::initialise(core::io::IStream* pOut, std::int32_t nWidth, bool bReverseBits)
{
    checkLineWidth(nWidth);
    m_pDownstream = pOut;
    m_out.setStream(pOut);
    m_nWidth = nWidth;
    m_bReverseBits = bReverseBits;
    m_nRun = 0;
    m_bWhite = true;
    m_nBitsConsumed = 0;
}

void BitmapDecoderStream::writeData(const unsigned char* pBuffer, std::int32_t nOffset, std::int32_t nByteCount)
{
    const unsigned char* pData = pBuffer + nOffset;
    for (std::int32_t i = 0; i < nByteCount; ++i) {
        std::uint32_t nByte = m_bReverseBits ? ccitt::kReversedBits[pData[i]] : pData[i];
        std::int32_t nBits = m_nWidth - m_nBitsConsumed;
        if (nBits >= 8 && nByte == (m_bWhite ? 0x00u : 0xFFu))
            m_nRun += 8;  // the whole byte continues the run
        else
            addBits(nByte, nBits < 8 ? nBits : 8);
        m_nBitsConsumed += 8;
        if (m_nBitsConsumed >= m_nWidth)
            endRow();
    }
}

// The first nBits bits of nByte, from the most significant.
void BitmapDecoderStream::addBits(std::uint32_t nByte, std::int32_t nBits)
{
    while (nBits > 0) {
        // Bits of the current colour at the front: zeros of the byte, or of its complement.
        std::int32_t nSame = kLeadingZeros[(m_bWhite ? nByte : ~nByte) & 0xFFu];
        if (nSame >= nBits) {
            m_nRun += nBits;
            return;
        }
        m_out.writeRun(m_nRun + nSame);
        m_nRun = 0;
        m_bWhite = !m_bWhite;
        nByte = (nByte << nSame) & 0xFFu;
        nBits -= nSame;
    }
}

void BitmapDecoderStream::endRow()
{
    m_out.writeRun(m_nRun);
    if (m_bWhite)
        m_out.writeRun(0);  // the row ends white: close with an empty black run
    m_out.endLine();
    m_nRun = 0;
    m_bWhite = true;
    m_nBitsConsumed = 0;
}

}
