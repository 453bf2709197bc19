#include "lib/graphics.BitmapEncoderStream.h"

#include "core/Bits.h"

#include <cstring>

namespace velmo::lib::graphics {

void BitmapEncoderStream::initialise(core::io::IStream* pOut, std::int32_t nWidth)
{
    checkLineWidth(nWidth);
    m_pDownstream = pOut;
    m_nWidth = nWidth;
    m_nRowBytes = (nWidth + 7) / 8;
    m_row.setCount(m_nRowBytes + kSpareBytes);
    std::memset(m_row.getData(), 0, static_cast<std::size_t>(m_row.getCount()));
    m_nPixels = 0;
    m_bWhite = true;
    m_bRowStarted = false;
    m_reader.reset();
}

namespace {

// The bits of a byte from pixel n on, and up to pixel n.
constexpr unsigned char kFromPixel[8] = {0xFF, 0x7F, 0x3F, 0x1F, 0x0F, 0x07, 0x03, 0x01};
constexpr unsigned char kUpToPixel[8] = {0x80, 0xC0, 0xE0, 0xF0, 0xF8, 0xFC, 0xFE, 0xFF};

// Sets the bits [nFrom, nTo) of a row, 0 <= nFrom < nTo; the row has kSpareBytes
// behind its last byte.
inline void setBlack(unsigned char* pRow, std::int32_t nFrom, std::int32_t nTo)
{
    const auto nFirst = static_cast<std::uint32_t>(nFrom);
    const auto nLast = static_cast<std::uint32_t>(nTo - 1);
    unsigned char* pByte = pRow + (nFirst >> 3);
    if ((nFirst ^ nLast) < 8) {
        *pByte |= kFromPixel[nFirst & 7] & kUpToPixel[nLast & 7];
        return;
    }
    const std::uint32_t nStart = nFirst & 7;
    const std::uint32_t nCount = nLast + 1 - nFirst;
    if (nStart + nCount <= 32) {
        // The run lies in the four bytes from its first one: set them as one big-endian word.
        core::bits::orBigEndian32(pByte, (0xFFFFFFFFu << (32 - nCount)) >> nStart);
        return;
    }
    unsigned char* pLast = pRow + (nLast >> 3);
    *pByte |= kFromPixel[nStart];
    std::memset(pByte + 1, 0xFF, static_cast<std::size_t>(pLast - pByte - 1));
    *pLast |= kUpToPixel[nLast & 7];
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
            setBlack(pRow, nPixels, nPixels + nRun);
        nPixels += nRun;
        bWhite = !bWhite;
    });
    m_nPixels = nPixels;
    m_bWhite = bWhite;
    m_bRowStarted = bRowStarted;
}

void BitmapEncoderStream::writeChangingElements(const std::int32_t* pElements, std::int32_t nCount)
{
    unsigned char* pRow = m_row.getData();
    for (std::int32_t i = 1; i < nCount; i += 2)
        setBlack(pRow, pElements[i - 1], pElements[i]);
    writeRow();
}

void BitmapEncoderStream::writeRow()
{
    m_pDownstream->writeData(m_row.getData(), 0, m_nRowBytes);
    std::memset(m_row.getData(), 0, static_cast<std::size_t>(m_nRowBytes));
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
