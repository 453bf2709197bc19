#include "lib/graphics.Group3DecoderStream.h"

#include "lib/graphics.CcittTables.h"

namespace velmo::lib::graphics {

void Group3DecoderStream::initialise(core::io::IStream* pOut, std::int32_t nWidth, bool bByteAlign, bool bReverseBits)
{
    checkLineWidth(nWidth);
    m_pDownstream = pOut;
    m_out.setStream(pOut);
    m_bWhite = true;
    m_bByteAlign = bByteAlign;
    m_bReverseBits = bReverseBits;
    m_nWidth = nWidth;
    m_nPixels = 0;
    m_nAccumulator = 0;
    m_nBitCount = 0;
    m_nRunTotal = 0;
    m_nLinesDecoded = 0;
}

void Group3DecoderStream::writeData(const unsigned char* pBuffer, std::int32_t nOffset, std::int32_t nByteCount)
{
    const unsigned char* pData = pBuffer + nOffset;
    const unsigned char* pEnd = nByteCount > 0 ? pData + nByteCount : pData;
    for (;;) {
        for (; m_nBitCount <= 56 && pData < pEnd; ++pData, m_nBitCount += 8) {
            unsigned char nByte = m_bReverseBits ? ccitt::kReversedBits[*pData] : *pData;
            m_nAccumulator |= static_cast<std::uint64_t>(nByte) << (56 - m_nBitCount);
        }
        if (m_nBitCount < ccitt::kLookupBits)
            return;
        do
            decodeCode();
        while (m_nBitCount >= ccitt::kLookupBits);
    }
}

void Group3DecoderStream::flush()
{
    while (m_nBitCount > 0 && m_nAccumulator != 0)
        decodeCode();
    m_nAccumulator = 0;
    m_nBitCount = 0;
    WriteOnlyStream::flush();
}

void Group3DecoderStream::decodeCode()
{
    const ccitt::DecodeTable& table = m_bWhite ? ccitt::kWhiteDecode : ccitt::kBlackDecode;
    const ccitt::DecodeEntry& entry = table[static_cast<std::size_t>(m_nAccumulator >> (64 - ccitt::kLookupBits))];
    consume(entry.nLength);
    if (entry.nValue < 0)
        return;  // EOL, or a bit that begins no code: skipped
    // Make-up codes add up; the total stays bounded however many come.
    m_nRunTotal += entry.nValue;
    if (m_nRunTotal > m_nWidth)
        m_nRunTotal = m_nWidth;
    if (entry.nValue > 63)
        return;
    std::int32_t nRun = m_nRunTotal < m_nWidth - m_nPixels ? m_nRunTotal : m_nWidth - m_nPixels;
    m_out.writeRun(nRun);
    m_nPixels += nRun;
    m_nRunTotal = 0;
    m_bWhite = !m_bWhite;
    if (m_nPixels < m_nWidth)
        return;
    // The row is complete.
    if (!m_bWhite) {
        m_out.writeRun(0);  // it ended white: close with an empty black run
        m_bWhite = true;
    }
    m_out.endLine();
    ++m_nLinesDecoded;
    m_nPixels = 0;
    if (m_bByteAlign)
        consume(m_nBitCount & 7);
}

}
