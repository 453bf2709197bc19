#include "lib/graphics.BitmapEncoderStream.h"

#include <cstring>

namespace velmo::lib::graphics {

void BitmapEncoderStream::initialise(core::io::IStream* pOut, std::int32_t nWidth)
{
    checkLineWidth(nWidth);
    m_pDownstream = pOut;
    m_nWidth = nWidth;
    m_row.setCount((nWidth + 7) / 8);
    std::memset(m_row.getData(), 0, static_cast<std::size_t>(m_row.getCount()));
    m_nPixels = 0;
    m_bWhite = true;
    m_bRowStarted = false;
    m_reader.reset();
}

namespace {

// Sets nCount (> 0) bits from bit nFrom of a row.
inline void setBlack(unsigned char* pRow, std::int32_t nFrom, std::int32_t nCount)
{
    unsigned char* pByte = pRow + (nFrom >> 3);
    std::int32_t nBit = nFrom & 7;
    if (nBit + nCount <= 8) {
        *pByte = static_cast<unsigned char>(*pByte | ((0xFFu >> nBit) & ~(0xFFu >> (nBit + nCount))));
        return;
    }
    *pByte = static_cast<unsigned char>(*pByte | (0xFFu >> nBit));
    ++pByte;
    nCount -= 8 - nBit;
    if (nCount >= 64) {
        std::memset(pByte, 0xFF, static_cast<std::size_t>(nCount >> 3));
        pByte += nCount >> 3;
        nCount &= 7;
    }
    for (; nCount >= 8; nCount -= 8)
        *pByte++ = 0xFF;
    if (nCount > 0)
        *pByte = static_cast<unsigned char>(*pByte | (0xFF00u >> nCount));
}

}

void BitmapEncoderStream::writeData(const unsigned char* pBuffer, std::int32_t nOffset, std::int32_t nByteCount)
{
    // The row state lives in locals; it goes back to the members around each row end.
    std::int32_t nPixels = m_nPixels;
    bool bWhite = m_bWhite;
    bool bRowStarted = m_bRowStarted;
    const std::int32_t nWidth = m_nWidth;
    unsigned char* pRow = m_row.getData();
    m_reader.read(pBuffer + nOffset, nByteCount, [&](std::uint32_t nValue) {
        if (nValue == kEndOfLineValue) {
            writeRow();
            nPixels = 0;
            bWhite = true;
            bRowStarted = false;
            return;
        }
        bRowStarted = true;
        std::int32_t nRun = static_cast<std::int32_t>(nValue);
        if (nRun > nWidth - nPixels)
            nRun = nWidth - nPixels;
        if (!bWhite && nRun > 0)
            setBlack(pRow, nPixels, nRun);
        nPixels += nRun;
        bWhite = !bWhite;
    });
    m_nPixels = nPixels;
    m_bWhite = bWhite;
    m_bRowStarted = bRowStarted;
}

void BitmapEncoderStream::writeRow()
{
    m_pDownstream->writeData(m_row.getData(), 0, m_row.getCount());
    std::memset(m_row.getData(), 0, static_cast<std::size_t>(m_row.getCount()));
}

void BitmapEncoderStream::flush()
{
    if (m_bRowStarted) {
        writeRow();
        m_nPixels = 0;
        m_bWhite = true;
        m_bRowStarted = false;
    }
    WriteOnlyStream::flush();
}

}
