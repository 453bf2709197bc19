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

void BitmapEncoderStream::writeData(const unsigned char* pBuffer, std::int32_t nOffset, std::int32_t nByteCount)
{
    m_reader.read(pBuffer + nOffset, nByteCount, [this](std::uint32_t nValue) {
        if (nValue == kEndOfLineValue) {
            writeRow();
            return;
        }
        m_bRowStarted = true;
        std::int32_t nRun = static_cast<std::int32_t>(nValue);
        if (nRun > m_nWidth - m_nPixels)
            nRun = m_nWidth - m_nPixels;
        if (!m_bWhite && nRun > 0)
            setBlack(m_nPixels, nRun);
        m_nPixels += nRun;
        m_bWhite = !m_bWhite;
    });
}

void BitmapEncoderStream::setBlack(std::int32_t nFrom, std::int32_t nCount)
{
    unsigned char* pRow = m_row.getData();
    std::int32_t nLast = nFrom + nCount - 1;
    std::int32_t nFirstByte = nFrom >> 3, nLastByte = nLast >> 3;
    unsigned char nHead = static_cast<unsigned char>(0xFFu >> (nFrom & 7));
    unsigned char nTail = static_cast<unsigned char>(0xFFu << (7 - (nLast & 7)));
    if (nFirstByte == nLastByte) {
        pRow[nFirstByte] |= nHead & nTail;
        return;
    }
    pRow[nFirstByte] |= nHead;
    std::memset(pRow + nFirstByte + 1, 0xFF, static_cast<std::size_t>(nLastByte - nFirstByte - 1));
    pRow[nLastByte] |= nTail;
}

void BitmapEncoderStream::writeRow()
{
    m_pDownstream->writeData(m_row.getData(), 0, m_row.getCount());
    std::memset(m_row.getData(), 0, static_cast<std::size_t>(m_row.getCount()));
    m_nPixels = 0;
    m_bWhite = true;
    m_bRowStarted = false;
}

void BitmapEncoderStream::flush()
{
    if (m_bRowStarted)
        writeRow();
    WriteOnlyStream::flush();
}

}
