#include "lib/graphics.BitmapEncoderStream.h"

namespace velmo::lib::graphics {

void BitmapEncoderStream::initialise(core::io::IStream* pOut, std::int32_t nWidth)
{
    checkLineWidth(nWidth);
    bindStream(pOut);
    m_nWidth = nWidth;
    m_nPixels = 0;
    m_bWhite = true;
    m_reader.reset();
}

void BitmapEncoderStream::writeData(const unsigned char* pBuffer, std::int32_t nOffset, std::int32_t nByteCount)
{
    m_reader.read(pBuffer + nOffset, nByteCount, [this](std::uint32_t nValue) {
        if (nValue == kEndOfLineValue) {
            m_bits.writeBits(false, m_nWidth - m_nPixels);
            m_bits.alignToByte();
            m_nPixels = 0;
            m_bWhite = true;
            return;
        }
        std::int32_t nRun = static_cast<std::int32_t>(nValue);
        if (nRun > m_nWidth - m_nPixels)
            nRun = m_nWidth - m_nPixels;
        m_bits.writeBits(!m_bWhite, nRun);
        m_nPixels += nRun;
        m_bWhite = !m_bWhite;
    });
}

}
