#include "lib/graphics.Group4DecoderStream.h"

#include "core/exception.UnsupportedException.h"
#include "lib/graphics.CcittTables.h"

#include <climits>

namespace velmo::lib::graphics {

void Group4DecoderStream::initialise(core::io::IStream* pOut, std::int32_t nWidth, std::int32_t nImageLength,
                                     std::int32_t nRowsPerStrip, bool bReverseBits)
{
    checkLineWidth(nWidth);
    m_pDownstream = pOut;
    m_out.setStream(pOut);
    m_nWidth = nWidth;
    m_nImageLength = nImageLength;
    m_nRowsPerStrip = nRowsPerStrip;
    m_bReverseBits = bReverseBits;
    m_lineA.setCount(nWidth + 8);
    m_lineB.setCount(nWidth + 8);
    m_pCurrent = m_lineA.getData();
    m_pReference = m_lineB.getData();
    m_pCurrent[0] = 0;
    m_nCurrentCount = 1;
    m_nAccumulator = 0;
    m_nBitCount = 0;
    m_nRunTotal = 0;
    m_nA0 = 0;
    m_nLinesDecoded = 0;
    m_nHorizontalRuns = 0;
    m_bCoded = false;
    startStrip();
}

void Group4DecoderStream::startStrip()
{
    consume(m_nBitCount & 7);  // a strip starts on a byte boundary
    m_pReference[0] = 0;
    m_pReference[1] = m_nWidth;
    m_pReference[2] = m_nWidth;
    m_pReference[3] = m_nWidth;
    m_nResume = 0;
    m_nNextStripLine = m_nRowsPerStrip > 0 && m_nLinesDecoded <= INT_MAX - m_nRowsPerStrip ? m_nLinesDecoded + m_nRowsPerStrip : INT_MAX;
}

void Group4DecoderStream::writeData(const unsigned char* pBuffer, std::int32_t nOffset, std::int32_t nByteCount)
{
    const unsigned char* pData = pBuffer + nOffset;
    const unsigned char* pEnd = nByteCount > 0 ? pData + nByteCount : pData;
    while (!isFinished()) {
        for (; m_nBitCount <= 56 && pData < pEnd; ++pData, m_nBitCount += 8) {
            unsigned char nByte = m_bReverseBits ? ccitt::kReversedBits[*pData] : *pData;
            m_nAccumulator |= static_cast<std::uint64_t>(nByte) << (56 - m_nBitCount);
        }
        if (m_nBitCount < ccitt::kLookupBits)
            return;
        do
            decodeStep(false);
        while (m_nBitCount >= ccitt::kLookupBits && !isFinished());
    }
    m_nAccumulator = 0;
    m_nBitCount = 0;
}

void Group4DecoderStream::flush()
{
    while (!isFinished() && m_nBitCount > 0 && m_nAccumulator != 0)
        decodeStep(true);
    m_nAccumulator = 0;
    m_nBitCount = 0;
    WriteOnlyStream::flush();
}

void Group4DecoderStream::decodeStep(bool bDraining)
{
    if (m_nLinesDecoded == m_nNextStripLine) {
        // Strip boundary: skip the EOLs of EOFB one at a time, then start the next strip.
        if (peek(12) == 1) {
            consume(12);
            return;
        }
        startStrip();
        if (m_nBitCount < (bDraining ? 1 : ccitt::kLookupBits))
            return;
    }
    if (m_nHorizontalRuns > 0)
        decodeRun();
    else
        decodeMode();
}

void Group4DecoderStream::raiseUnsupportedCode()
{
    throw core::exception::UnsupportedException(VELMO_LOCATION, core::exception::unsupported,
                                                core::exception::tifGroup4UnsupportedCodeword, "");
}

void Group4DecoderStream::findB1(std::int32_t& b1, std::int32_t& b2)
{
    const std::int32_t* b = m_pReference;
    std::int32_t i = m_nResume > 3 ? m_nResume - 3 : 1;
    if (!m_bCoded) {
        i = 1;  // a0 is the imaginary element before the line: any change counts
    } else {
        while (b[i] <= m_nA0 && b[i] < m_nWidth)
            ++i;
    }
    // b1 changes to the colour opposite a0's; changes to black stand at odd indexes.
    if ((i & 1) != (m_nCurrentCount & 1))
        ++i;
    m_nResume = i;
    b1 = b[i];
    b2 = b[i + 1];
}

void Group4DecoderStream::addChange(std::int32_t a1)
{
    // Changing elements rise strictly, except a line that starts black and the element
    // at the width that horizontal mode may repeat.
    bool bValid = a1 <= m_nWidth && (a1 > m_nA0 || (a1 == m_nWidth && a1 >= m_nA0) || (!m_bCoded && a1 == 0));
    if (!bValid)
        raiseUnsupportedCode();
    m_pCurrent[m_nCurrentCount++] = a1;
    m_nA0 = a1;
    m_bCoded = true;
}

void Group4DecoderStream::decodeMode()
{
    const ccitt::ModeEntry& entry = ccitt::kModeDecode[peek(ccitt::kModeLookupBits)];
    std::int32_t nDelta = 0;
    switch (entry.mode) {
    case ccitt::Mode::horizontal:
        consume(entry.nLength);
        m_nHorizontalRuns = 2;
        m_nRunTotal = 0;
        return;
    case ccitt::Mode::pass: {
        consume(entry.nLength);
        std::int32_t b1, b2;
        findB1(b1, b2);
        m_nA0 = b2;  // never left of a0 nor past the width: the reference line is sorted
        m_bCoded = true;
        return;
    }
    case ccitt::Mode::vertical0: nDelta = 0; break;
    case ccitt::Mode::verticalRight1: nDelta = 1; break;
    case ccitt::Mode::verticalRight2: nDelta = 2; break;
    case ccitt::Mode::verticalRight3: nDelta = 3; break;
    case ccitt::Mode::verticalLeft1: nDelta = -1; break;
    case ccitt::Mode::verticalLeft2: nDelta = -2; break;
    case ccitt::Mode::verticalLeft3: nDelta = -3; break;
    case ccitt::Mode::invalid: raiseUnsupportedCode();
    }
    consume(entry.nLength);
    std::int32_t b1, b2;
    findB1(b1, b2);
    addChange(b1 + nDelta);  // vertical mode: a1 = b1 + delta
    if (m_nA0 == m_nWidth)
        endLine();
}

void Group4DecoderStream::decodeRun()
{
    const bool bWhite = (m_nCurrentCount & 1) != 0;
    const ccitt::DecodeEntry& entry = (bWhite ? ccitt::kWhiteDecode : ccitt::kBlackDecode)[peek(ccitt::kLookupBits)];
    // T.6 data has no EOL inside a line; invalid bits here are corrupt data.
    if (entry.nValue < 0)
        raiseUnsupportedCode();
    consume(entry.nLength);
    m_nRunTotal += entry.nValue;
    if (m_nRunTotal > m_nWidth - m_nA0)
        raiseUnsupportedCode();
    if (entry.nValue > 63)
        return;  // a make-up code: the terminating code follows
    addChange(m_nA0 + m_nRunTotal);
    m_nRunTotal = 0;
    if (--m_nHorizontalRuns == 0 && m_nA0 == m_nWidth)
        endLine();
}

void Group4DecoderStream::endLine()
{
    std::int32_t* a = m_pCurrent;
    // The run ends at the first element that reached the width; the two more make the
    // end sentinels of the next line's reference.
    std::int32_t nEnd = m_nCurrentCount - 1;
    if (nEnd >= 2 && a[nEnd - 1] == m_nWidth)
        --nEnd;
    a[m_nCurrentCount] = m_nWidth;
    a[m_nCurrentCount + 1] = m_nWidth;
    for (std::int32_t i = 1; i <= nEnd; ++i)
        m_out.writeRun(a[i] - a[i - 1]);
    if (nEnd & 1)
        m_out.writeRun(0);  // the line ends white: close with an empty black run
    m_out.endLine();

    m_pCurrent = m_pReference;
    m_pReference = a;
    m_pCurrent[0] = 0;
    m_nCurrentCount = 1;
    ++m_nLinesDecoded;
    m_nA0 = 0;
    m_nResume = 0;
    m_nHorizontalRuns = 0;
    m_nRunTotal = 0;
    m_bCoded = false;
}

}
