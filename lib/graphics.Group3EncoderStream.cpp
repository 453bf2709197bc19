#include "lib/graphics.Group3EncoderStream.h"

#include "lib/graphics.CcittTables.h"

namespace velmo::lib::graphics {

void Group3EncoderStream::initialise(core::io::IStream* pOut, std::int32_t nWidth, std::int32_t nImageLength,
                                     std::int32_t nRowsPerStrip, bool bEndOfLine, bool bByteAlign)
{
    checkLineWidth(nWidth);
    bindStream(pOut);
    m_bEndOfLine = bEndOfLine;
    m_bLeadingEndOfLine = bEndOfLine;
    m_bByteAlign = bByteAlign;
    m_bWhite = true;
    m_nPixels = 0;
    m_nWidth = nWidth;
    m_nImageLength = nImageLength;
    m_nRowsPerStrip = nRowsPerStrip;
    m_nLinesCoded = 0;
    m_reader.reset();
}

void Group3EncoderStream::writeData(const unsigned char* pBuffer, std::int32_t nOffset, std::int32_t nByteCount)
{
    m_reader.read(pBuffer + nOffset, nByteCount, [this](std::uint32_t nValue) {
        if (m_bLeadingEndOfLine) {
            // T.4 puts an EOL ahead of the first row too; decoders synchronise on it.
            writeEndOfLine();
            m_bLeadingEndOfLine = false;
        }
        if (nValue == kEndOfLineValue) {
            endRow();
            return;
        }
        // Pixels past the width are dropped: a longer row would shift every row after it.
        std::int32_t nRun = static_cast<std::int32_t>(nValue);
        if (m_nPixels < m_nWidth) {
            if (nRun > m_nWidth - m_nPixels)
                nRun = m_nWidth - m_nPixels;
            m_nPixels += nRun;
            writeRun(nRun);
        }
        m_bWhite = !m_bWhite;
    });
}

void Group3EncoderStream::writeRun(std::int32_t nRun)
{
    for (; nRun > ccitt::kMaxTableRun; nRun -= ccitt::kMaxTableRun)
        m_bits.writeCode(ccitt::kMakeUp2560.nCode, ccitt::kMakeUp2560.nLength);
    const ccitt::EncodeEntry& entry = (m_bWhite ? ccitt::kWhiteEncode : ccitt::kBlackEncode)[static_cast<std::size_t>(nRun)];
    m_bits.writeCode(entry.nCode, entry.nLength);
}

void Group3EncoderStream::endRow()
{
    // A short row is completed with white, so that every row holds the width.
    if (m_nPixels < m_nWidth) {
        if (!m_bWhite) {
            writeRun(0);
            m_bWhite = true;
        }
        writeRun(m_nWidth - m_nPixels);
    }
    if (m_bEndOfLine)
        writeEndOfLine();
    else if (m_bByteAlign)
        m_bits.alignToByte();
    m_bWhite = true;
    m_nPixels = 0;
    ++m_nLinesCoded;
}

void Group3EncoderStream::writeEndOfLine()
{
    if (m_bByteAlign)
        m_bits.writeZeros((8 - (m_bits.getBitOffset() + ccitt::kEndOfLineEntry.nLength) % 8) % 8);
    m_bits.writeCode(ccitt::kEndOfLineEntry.nCode, ccitt::kEndOfLineEntry.nLength);
}

}
