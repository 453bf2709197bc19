#include "lib/graphics.Group4DecoderStream.h"

#include "core/Bits.h"
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
    m_pElementSink = dynamic_cast<IChangingElementSink*>(pOut);
    m_nWidth = nWidth;
    m_nImageLength = nImageLength;
    m_nRowsPerStrip = nRowsPerStrip;
    m_bReverseBits = bReverseBits;
    m_lines.initialise(nWidth);
    m_nCurrentCount = 1;
    m_nAccumulator = 0;
    m_nBitCount = 0;
    m_nRunEnd = 0;
    m_nA0 = -1;
    m_nLinesDecoded = 0;
    m_nHorizontalRuns = 0;
    startStrip();
}

void Group4DecoderStream::startStrip()
{
    // A strip starts on a byte boundary, from an all-white reference line.
    m_nAccumulator <<= m_nBitCount & 7;
    m_nBitCount &= ~7;
    m_lines.resetReference();
    m_nB1 = 1;
    m_nNextStripLine = m_nRowsPerStrip > 0 && m_nLinesDecoded <= INT_MAX - m_nRowsPerStrip ? m_nLinesDecoded + m_nRowsPerStrip : INT_MAX;
}

void Group4DecoderStream::writeData(const unsigned char* pBuffer, std::int32_t nOffset, std::int32_t nByteCount)
{
    if (nByteCount > 0 && !isFinished())
        decode(pBuffer + nOffset, pBuffer + nOffset + nByteCount, false);
}

void Group4DecoderStream::flush()
{
    if (!isFinished())
        decode(nullptr, nullptr, true);
    m_nAccumulator = 0;
    m_nBitCount = 0;
    WriteOnlyStream::flush();
}

void Group4DecoderStream::raiseUnsupportedCode()
{
    throw core::exception::UnsupportedException(VELMO_LOCATION, core::exception::unsupported,
                                                core::exception::tifGroup4UnsupportedCodeword, "");
}

namespace {

// Adds what bytes fit to the accumulator one at a time.
inline void refillBytes(std::uint64_t& nAccumulator, std::int32_t& nBits, const unsigned char*& pData, const unsigned char* pEnd,
                        bool bReverseBits)
{
    if (nBits < 0)
        nBits = 0;  // only while draining: the last code ran past the data
    for (; nBits <= 56 && pData < pEnd; ++pData, nBits += 8) {
        unsigned char nByte = bReverseBits ? ccitt::kReversedBits[*pData] : *pData;
        nAccumulator |= static_cast<std::uint64_t>(nByte) << (56 - nBits);
    }
}

}

void Group4DecoderStream::decode(const unsigned char* pData, const unsigned char* pEnd, bool bDraining)
{
    // The state lives in locals while codes are decoded and goes back at the end.
    std::uint64_t nAccumulator = m_nAccumulator;
    std::int32_t nBits = m_nBitCount;
    std::int32_t a0 = m_nA0;
    std::int32_t nRuns = m_nHorizontalRuns;
    std::int32_t* pA = m_lines.getCurrent() + m_nCurrentCount;  // where the next changing element goes
    const std::int32_t* pB1 = m_lines.getReference() + m_nB1;   // where the next b1 search starts
    const std::int32_t nWidth = m_nWidth;

    // Makes sure of 32 bits, or of what is left; false when too few bits are left for a
    // code: 13, or when draining, any bit that is not a trailing 0 (a last code may run
    // past the end of the data, which counts as 0 bits).
    const auto refill = [&]() -> bool {
        if (nBits >= 32)
            return true;
        if (!m_bReverseBits && pEnd - pData >= 4) {
            std::uint32_t nWord = (static_cast<std::uint32_t>(pData[0]) << 24) | (static_cast<std::uint32_t>(pData[1]) << 16) |
                                  (static_cast<std::uint32_t>(pData[2]) << 8) | pData[3];
            nAccumulator |= static_cast<std::uint64_t>(nWord) << (32 - nBits);
            nBits += 32;
            pData += 4;
            return true;
        }
        refillBytes(nAccumulator, nBits, pData, pEnd, m_bReverseBits);
        return nBits >= ccitt::kLookupBits || (bDraining && nBits > 0 && nAccumulator != 0);
    };
    // b1: the first change right of a0 to the colour opposite a0's; changes to black stand
    // at odd indexes, so the b1 index keeps the parity of the element count and steps by
    // pairs. a0 is below the width here, so the sentinels stop it.
    const auto findB1 = [&] {
        while (*pB1 <= a0)
            pB1 += 2;
    };

    for (;;) {
        std::int32_t a1;
        // Mode codes, until a horizontal code or the end of the line.
        while (nRuns == 0) {
            if (!refill())
                goto out;
            if (static_cast<std::int64_t>(nAccumulator) < 0) {
                // V0 codes (1): a row of them copies as many reference elements, each right
                // of the one before, until the line ends. The leading 1 bits count them
                // (the bits past nBits are 0).
                findB1();
                const std::int32_t* pFirst = pB1;
                const std::int32_t* pStop = pB1 + core::bits::countLeadingZeros64(~nAccumulator | 1);
                do {
                    a1 = *pB1++;
                    *pA++ = a1;
                } while (a1 < nWidth && pB1 < pStop);
                const auto nCodes = static_cast<std::int32_t>(pB1 - pFirst);
                nAccumulator <<= nCodes;
                nBits -= nCodes;
                a0 = a1;
                if (a1 < nWidth)
                    continue;
                goto lineEnd;
            }
            const ccitt::ModeEntry& entry = ccitt::kModeDecode[static_cast<std::size_t>(nAccumulator >> (64 - ccitt::kModeLookupBits))];
            const ccitt::Mode mode = entry.mode;
            const std::int32_t nLength = entry.nLength;
            nAccumulator <<= nLength;
            nBits -= nLength;
            if (mode == ccitt::Mode::vertical) {
                findB1();
                a1 = *pB1 + entry.nOffset;
                if (a1 <= a0 || a1 > nWidth)
                    raiseUnsupportedCode();
                --pB1;
                *pA++ = a1;
                a0 = a1;
                if (a1 < nWidth)
                    continue;
                goto lineEnd;
            }
            if (mode == ccitt::Mode::pass) {
                findB1();
                a0 = pB1[1];
                if (a0 >= nWidth)
                    raiseUnsupportedCode();  // a pass never reaches the end of the line
                pB1 += 2;
                continue;
            }
            if (mode != ccitt::Mode::horizontal)
                raiseUnsupportedCode();
            nRuns = 2;
            m_nRunEnd = a0 < 0 ? 0 : a0;
        }

        if (!refill())
            break;
        if (nRuns > 0) {
            // Horizontal mode: a run code of the colour at a0, white while the line holds
            // an odd number of elements.
            const ccitt::DecodeTable& table = ((pA - m_lines.getCurrent()) & 1) ? ccitt::kWhiteDecode : ccitt::kBlackDecode;
            const ccitt::DecodeEntry entry = table[static_cast<std::size_t>(nAccumulator >> (64 - ccitt::kLookupBits))];
            if (entry.nValue < 0)
                raiseUnsupportedCode();  // T.6 has no EOL inside a line
            nAccumulator <<= entry.nLength;
            nBits -= entry.nLength;
            const std::int32_t nEnd = m_nRunEnd + entry.nValue;
            if (nEnd > nWidth)
                raiseUnsupportedCode();
            m_nRunEnd = nEnd;
            if (entry.nValue > 63)
                continue;  // a make-up code: the terminating code follows
            a1 = nEnd;
            // Runs are not empty, except the first of a line that starts black and the
            // second when the first reached the width.
            if (a1 <= a0 && a1 != nWidth)
                raiseUnsupportedCode();
            *pA++ = a1;
            a0 = a1;
            if (--nRuns > 0 || a1 < nWidth)
                continue;
        } else {
            // Strip boundary: skip the EOLs of EOFB one at a time, then start the next strip.
            if ((nAccumulator >> 52) == 1) {
                nAccumulator <<= 12;
                nBits -= 12;
                continue;
            }
            m_nAccumulator = nAccumulator;
            m_nBitCount = nBits;
            startStrip();
            nAccumulator = m_nAccumulator;
            nBits = m_nBitCount;
            pB1 = m_lines.getReference() + m_nB1;
            nRuns = 0;
            continue;
        }

    lineEnd:
        endLine(static_cast<std::int32_t>(pA - m_lines.getCurrent()));
        pA = m_lines.getCurrent() + 1;
        a0 = -1;
        pB1 = m_lines.getReference() + 1;
        if (isFinished()) {
            // Everything after the last line is ignored.
            nAccumulator = 0;
            nBits = 0;
            break;
        }
        if (m_nLinesDecoded == m_nNextStripLine)
            nRuns = kStripBoundary;
    }

out:
    m_nAccumulator = nAccumulator;
    m_nBitCount = nBits > 0 ? nBits : 0;
    m_nA0 = a0;
    m_nCurrentCount = static_cast<std::int32_t>(pA - m_lines.getCurrent());
    m_nB1 = static_cast<std::int32_t>(pB1 - m_lines.getReference());
    m_nHorizontalRuns = nRuns;
}

void Group4DecoderStream::endLine(std::int32_t nCount)
{
    std::int32_t* a = m_lines.getCurrent();
    // The runs end at the first element that reached the width; two more make the end
    // sentinels of the next line's reference.
    std::int32_t nEnd = nCount - 1;
    if (nEnd >= 2 && a[nEnd - 1] == m_nWidth)
        --nEnd;
    a[nCount] = m_nWidth;
    a[nCount + 1] = m_nWidth;
    if (m_pElementSink) {
        m_pElementSink->writeChangingElements(a + 1, nEnd);
    } else {
        unsigned char* pOut = m_out.reserve(nEnd + 1);
        for (std::int32_t i = 1; i <= nEnd; ++i, pOut += 2) {
            std::int32_t nRun = a[i] - a[i - 1];
            pOut[0] = static_cast<unsigned char>(nRun);
            pOut[1] = static_cast<unsigned char>(nRun >> 8);
        }
        m_out.commit(nEnd);
        if (nEnd & 1)
            m_out.writeRun(0);  // the line ends white: close with an empty black run
        m_out.endLine();
    }

    m_lines.swap();
    ++m_nLinesDecoded;
}

}
