#include "lib/graphics.Group4EncoderStream.h"

#include "core/exception.IndexOutOfBoundsException.h"
#include "core/exception.InvalidParameterException.h"
#include "lib/graphics.CcittTables.h"

#include <cstring>

namespace velmo::lib::graphics {

void Group4EncoderStream::initialise(core::io::IStream* pOut, std::int32_t nWidth, std::int32_t nImageLength, std::int32_t nRowsPerStrip)
{
    checkLineWidth(nWidth);
    bindStream(pOut);
    m_nWidth = nWidth;
    m_nImageLength = nImageLength;
    m_nRowsPerStrip = nRowsPerStrip;
    // A line has at most width + 1 elements, plus the three end sentinels.
    m_lines.initialise(nWidth);
    m_nLinesCoded = 0;
    m_reader.reset();
    startLine();
}

void Group4EncoderStream::startLine()
{
    m_lines.getCurrent()[0] = 0;
    m_nCurrentCount = 1;
    m_bLineStart = true;
    m_bMerge = false;
    m_nTotal = 0;
}

void Group4EncoderStream::writeData(const unsigned char* pBuffer, std::int32_t nOffset, std::int32_t nByteCount)
{
    // The collection state lives in locals; it goes back to the members for each line.
    std::int32_t* a = m_lines.getCurrent();
    std::int32_t nCount = m_nCurrentCount;
    std::int32_t nTotal = m_nTotal;
    bool bLineStart = m_bLineStart;
    bool bMerge = m_bMerge;
    const std::int32_t nWidth = m_nWidth;
    m_reader.read(pBuffer + nOffset, nByteCount, [&](std::uint32_t nValue) {
        if (nValue == kEndOfLineValue) {
            m_nCurrentCount = nCount;
            m_nTotal = nTotal;
            codeLine();
            a = m_lines.getCurrent();
            nCount = m_nCurrentCount;
            nTotal = m_nTotal;
            bLineStart = m_bLineStart;
            bMerge = m_bMerge;
            return;
        }
        if (nValue == 0 && !bLineStart) {
            // An empty run inside a line joins its neighbours: no changing element.
            bMerge = true;
        } else if (nTotal < nWidth) {
            // Pixels past the width are dropped, so the elements rise strictly up to the width.
            std::int32_t nEnd = nTotal + static_cast<std::int32_t>(nValue);
            nTotal = nEnd < nWidth ? nEnd : nWidth;
            if (bMerge)
                a[nCount - 1] = nTotal;
            else
                a[nCount++] = nTotal;
            bMerge = false;
        }
        bLineStart = false;
    });
    m_nCurrentCount = nCount;
    m_nTotal = nTotal;
    m_bLineStart = bLineStart;
    m_bMerge = bMerge;
}

void Group4EncoderStream::writeChangingElements(const std::int32_t* pElements, std::int32_t nCount)
{
    if (nCount < 1 || nCount > m_nWidth + 1)
        throw core::exception::InvalidParameterException(VELMO_LOCATION, core::exception::invalidParameter, "nCount", nCount);
    std::memcpy(m_lines.getCurrent() + 1, pElements, static_cast<std::size_t>(nCount) * sizeof(std::int32_t));
    m_nCurrentCount = nCount + 1;
    m_nTotal = m_nWidth;
    codeLine();
}

void Group4EncoderStream::writeRun(std::int32_t nRun, bool bWhite)
{
    const ccitt::EncodeTable& table = bWhite ? ccitt::kWhiteEncode : ccitt::kBlackEncode;
    for (; nRun > ccitt::kMaxTableRun; nRun -= ccitt::kMaxTableRun)
        m_bits.writeCode(ccitt::kMakeUp2560.nCode, ccitt::kMakeUp2560.nLength);
    const ccitt::EncodeEntry& entry = table[static_cast<std::size_t>(nRun)];
    m_bits.writeCode(entry.nCode, entry.nLength);
}

void Group4EncoderStream::codeLine()
{
    if (m_nTotal < m_nWidth)
        throw core::exception::IndexOutOfBoundsException(VELMO_LOCATION, core::exception::indexOutOfBounds, m_nCurrentCount);
    const std::int32_t nWidth = m_nWidth;
    std::int32_t* a = m_lines.getCurrent();
    const std::int32_t* b = m_lines.getReference();
    // End sentinels, so that a1, a2, b1 and b2 never run off the line.
    for (std::int32_t i = 0; i < 3; ++i)
        a[m_nCurrentCount + i] = nWidth;

    std::int32_t a0 = -1;  // the imaginary element before the line
    std::int32_t nA1 = 1;  // index of a1; odd while a0 is on a white run
    std::int32_t nB1 = 1;  // index of b1, always of the parity of nA1
    while (a0 < nWidth) {
        const std::int32_t a1 = a[nA1];
        // b1: the first change right of a0 to the colour opposite a0's. Changes to black
        // stand at odd indexes, so the search steps by pairs; the sentinels stop it.
        while (b[nB1] <= a0)
            nB1 += 2;
        const std::int32_t b2 = b[nB1 + 1];
        if (b2 < a1) {
            // Pass mode: b2 lies left of a1.
            writeCode(ccitt::kPassCode);
            a0 = b2;
            nB1 += 2;
            continue;
        }
        const std::int32_t nOffset = a1 - b[nB1];
        if (nOffset >= -3 && nOffset <= 3) {
            // Vertical mode: a1 within three pixels of b1; the colour changes.
            writeCode(ccitt::kVerticalCodes[static_cast<std::size_t>(nOffset + 3)]);
            a0 = a1;
            ++nA1;
            --nB1;
        } else {
            // Horizontal mode: the runs a0a1 and a1a2.
            const std::int32_t a2 = a[nA1 + 1];
            const bool bWhite = (nA1 & 1) != 0;
            writeCode(ccitt::kHorizontalCode);
            writeRun(a1 - (a0 < 0 ? 0 : a0), bWhite);
            writeRun(a2 - a1, !bWhite);
            a0 = a2;
            nA1 += 2;
        }
    }

    m_lines.swap();
    ++m_nLinesCoded;
    if ((m_nRowsPerStrip > 0 && m_nLinesCoded % m_nRowsPerStrip == 0) || m_nLinesCoded == m_nImageLength) {
        // End of strip: EOFB, byte boundary, and the next strip starts from a white line.
        writeCode(ccitt::kEndOfLineEntry);
        writeCode(ccitt::kEndOfLineEntry);
        m_bits.alignToByte();
        m_lines.resetReference();
    }
    startLine();
}

}
