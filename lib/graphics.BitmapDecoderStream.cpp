#include "lib/graphics.BitmapDecoderStream.h"

#include "core/Bits.h"
#include "lib/graphics.CcittTables.h"

#include <cstring>

namespace velmo::lib::graphics {

namespace {

// The first pixel at or after nPosition that is not of the given colour, or the width.
// Bits are taken 64 at a time, most significant first; the row has 8 spare bytes, so a
// word may be read past its end.
inline std::int32_t findChange(const unsigned char* pRow, std::int32_t nRowBytes, std::int32_t nWidth, std::int32_t nPosition, bool bBlack)
{
    const std::uint64_t nFlip = bBlack ? ~std::uint64_t{0} : 0;
    std::int32_t nByte = nPosition >> 3;
    std::uint64_t nWord = (core::bits::loadBigEndian64(pRow + nByte) ^ nFlip) & (~std::uint64_t{0} >> (nPosition & 7));
    while (nWord == 0) {
        nByte += 8;
        if (nByte >= nRowBytes)
            return nWidth;
        nWord = core::bits::loadBigEndian64(pRow + nByte) ^ nFlip;
    }
    std::int32_t nChange = nByte * 8 + core::bits::countLeadingZeros64(nWord);
    return nChange < nWidth ? nChange : nWidth;
}

}

void BitmapDecoderStream::initialise(core::io::IStream* pOut, std::int32_t nWidth, bool bReverseBits)
{
    checkLineWidth(nWidth);
    m_pDownstream = pOut;
    m_out.setStream(pOut);
    m_pElementSink = dynamic_cast<IChangingElementSink*>(pOut);
    if (m_pElementSink)
        m_elements.setCount(nWidth + 1);
    m_nWidth = nWidth;
    m_bReverseBits = bReverseBits;
    m_nRowBytes = (nWidth + 7) / 8;
    m_row.setCount(m_nRowBytes + 8);
    std::memset(m_row.getData(), 0, static_cast<std::size_t>(m_nRowBytes + 8));
    m_nRowFill = 0;
}

void BitmapDecoderStream::writeData(const unsigned char* pBuffer, std::int32_t nOffset, std::int32_t nByteCount)
{
    const unsigned char* pData = pBuffer + nOffset;
    while (nByteCount > 0) {
        std::int32_t nTake = m_nRowBytes - m_nRowFill < nByteCount ? m_nRowBytes - m_nRowFill : nByteCount;
        unsigned char* pRow = m_row.getData() + m_nRowFill;
        if (m_bReverseBits) {
            for (std::int32_t i = 0; i < nTake; ++i)
                pRow[i] = ccitt::kReversedBits[pData[i]];
        } else {
            std::memcpy(pRow, pData, static_cast<std::size_t>(nTake));
        }
        pData += nTake;
        nByteCount -= nTake;
        m_nRowFill += nTake;
        if (m_nRowFill == m_nRowBytes) {
            decodeRow();
            m_nRowFill = 0;
        }
    }
}

void BitmapDecoderStream::decodeRow()
{
    const unsigned char* pRow = m_row.getData();
    const std::int32_t nWidth = m_nWidth;
    const std::int32_t nRowBytes = m_nRowBytes;
    if (m_pElementSink) {
        // Every change, the last one at the width: at most width + 1 elements.
        std::int32_t* pElements = m_elements.getData();
        std::int32_t nCount = 0;
        bool bBlack = false;
        for (std::int32_t nPosition = 0; nPosition < nWidth; bBlack = !bBlack)
            nPosition = pElements[nCount++] = findChange(pRow, nRowBytes, nWidth, nPosition, bBlack);
        m_pElementSink->writeChangingElements(pElements, nCount);
        return;
    }
    // A row has at most width runs, a closing empty run and the end of line.
    unsigned char* pOut = m_out.reserve(nWidth + 1);
    std::int32_t nValues = 0;
    bool bBlack = false;
    for (std::int32_t nPosition = 0; nPosition < nWidth; bBlack = !bBlack, ++nValues) {
        std::int32_t nChange = findChange(pRow, nRowBytes, nWidth, nPosition, bBlack);
        std::int32_t nRun = nChange - nPosition;
        pOut[2 * nValues] = static_cast<unsigned char>(nRun);
        pOut[2 * nValues + 1] = static_cast<unsigned char>(nRun >> 8);
        nPosition = nChange;
    }
    m_out.commit(nValues);
    if (bBlack)
        m_out.writeRun(0);  // the row ends white: close with an empty black run
    m_out.endLine();
}

}
