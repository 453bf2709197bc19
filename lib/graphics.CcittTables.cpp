#include "lib/graphics.CcittTables.h"

#include <cstddef>

namespace velmo::lib::graphics::ccitt {

namespace {

struct Bits {
    std::uint32_t nCode;
    std::int32_t nLength;
};

constexpr Bits parseBits(const char* pszBits)
{
    Bits bits{0, 0};
    for (; *pszBits; ++pszBits, ++bits.nLength)
        bits.nCode = (bits.nCode << 1) | (*pszBits == '1' ? 1u : 0u);
    return bits;
}

template <std::size_t N>
constexpr bool isIndexedByRun(const RunCode (&codes)[N], std::int32_t nFirst, std::int32_t nStep)
{
    for (std::size_t i = 0; i < N; ++i) {
        if (codes[i].nRunLength != nFirst + static_cast<std::int32_t>(i) * nStep)
            return false;
    }
    return true;
}

static_assert(isIndexedByRun(kWhiteTerminatingCodes, 0, 1) && isIndexedByRun(kBlackTerminatingCodes, 0, 1));
static_assert(isIndexedByRun(kWhiteMakeUpCodes, 64, 64) && isIndexedByRun(kBlackMakeUpCodes, 64, 64));
static_assert(isIndexedByRun(kExtendedMakeUpCodes, 1792, 64) && kExtendedMakeUpCodes[12].nRunLength == kMaxTableRun);

template <std::size_t NM>
constexpr const char* makeUpCode(const RunCode (&makeUp)[NM], std::int32_t nRunLength)
{
    std::size_t nIndex = static_cast<std::size_t>(nRunLength / 64 - 1);
    return nIndex < NM ? makeUp[nIndex].pszBits : kExtendedMakeUpCodes[nIndex - NM].pszBits;
}

template <std::size_t NT, std::size_t NM>
constexpr EncodeTable buildEncodeTable(const RunCode (&terminating)[NT], const RunCode (&makeUp)[NM])
{
    EncodeTable table{};
    for (std::int32_t nRun = 0; nRun <= kMaxTableRun; ++nRun) {
        Bits term = parseBits(terminating[nRun % 64].pszBits);
        Bits whole = term;
        if (nRun >= 64) {
            Bits head = parseBits(makeUpCode(makeUp, nRun));
            whole = {(head.nCode << term.nLength) | term.nCode, head.nLength + term.nLength};
        }
        table[static_cast<std::size_t>(nRun)] = {whole.nCode, whole.nLength};
    }
    return table;
}

// Every 13-bit window that begins with a code gets that code's entry; building fails
// (and with it the compile) if two codes claim one window, i.e. if a table is not
// prefix-free.
struct DecodeBuilder {
    DecodeTable table{};
    bool bPrefixFree = true;

    constexpr DecodeBuilder()
    {
        for (DecodeEntry& entry : table)
            entry = {kNoCode, 1};
    }

    constexpr void add(const char* pszBits, std::int16_t nValue)
    {
        Bits bits = parseBits(pszBits);
        std::int32_t nFree = kLookupBits - bits.nLength;
        std::uint32_t nFirst = bits.nCode << nFree;
        for (std::uint32_t nTail = 0; nTail < (1u << nFree); ++nTail) {
            DecodeEntry& entry = table[nFirst | nTail];
            if (entry.nValue != kNoCode)
                bPrefixFree = false;
            entry = {nValue, static_cast<std::uint8_t>(bits.nLength)};
        }
    }

    template <std::size_t N>
    constexpr void addAll(const RunCode (&codes)[N])
    {
        for (const RunCode& code : codes)
            add(code.pszBits, static_cast<std::int16_t>(code.nRunLength));
    }
};

template <std::size_t NT, std::size_t NM>
constexpr DecodeBuilder buildDecodeTable(const RunCode (&terminating)[NT], const RunCode (&makeUp)[NM])
{
    DecodeBuilder builder;
    builder.addAll(terminating);
    builder.addAll(makeUp);
    builder.addAll(kExtendedMakeUpCodes);
    builder.add(kEndOfLineCode, kEndOfLine);
    return builder;
}

struct ModeBuilder {
    ModeTable table{};
    bool bPrefixFree = true;

    constexpr ModeBuilder()
    {
        for (ModeEntry& entry : table)
            entry = {Mode::invalid, 0, 0};
        for (const ModeCode& code : kModeCodes) {
            Bits bits = parseBits(code.pszBits);
            std::int32_t nFree = kModeLookupBits - bits.nLength;
            for (std::uint32_t nTail = 0; nTail < (1u << nFree); ++nTail) {
                ModeEntry& entry = table[(bits.nCode << nFree) | nTail];
                if (entry.mode != Mode::invalid)
                    bPrefixFree = false;
                entry = {code.mode, static_cast<std::uint8_t>(bits.nLength), code.nOffset};
            }
        }
    }
};

constexpr EncodeEntry modeCode(Mode mode, std::int32_t nOffset)
{
    for (const ModeCode& code : kModeCodes) {
        if (code.mode == mode && code.nOffset == nOffset) {
            Bits bits = parseBits(code.pszBits);
            return {bits.nCode, bits.nLength};
        }
    }
    return {0, 0};
}

constexpr std::array<EncodeEntry, 7> buildVerticalCodes()
{
    std::array<EncodeEntry, 7> table{};
    for (std::int32_t nOffset = -3; nOffset <= 3; ++nOffset)
        table[static_cast<std::size_t>(nOffset + 3)] = modeCode(Mode::vertical, nOffset);
    return table;
}

constexpr std::array<unsigned char, 256> buildReversedBits()
{
    std::array<unsigned char, 256> table{};
    for (std::uint32_t nByte = 0; nByte < 256; ++nByte) {
        std::uint32_t nReversed = 0;
        for (std::int32_t nBit = 0; nBit < 8; ++nBit)
            nReversed |= ((nByte >> nBit) & 1u) << (7 - nBit);
        table[nByte] = static_cast<unsigned char>(nReversed);
    }
    return table;
}

constexpr DecodeBuilder kWhiteDecodeBuilt = buildDecodeTable(kWhiteTerminatingCodes, kWhiteMakeUpCodes);
constexpr DecodeBuilder kBlackDecodeBuilt = buildDecodeTable(kBlackTerminatingCodes, kBlackMakeUpCodes);
constexpr ModeBuilder kModeDecodeBuilt;
constexpr EncodeTable kWhiteEncodeBuilt = buildEncodeTable(kWhiteTerminatingCodes, kWhiteMakeUpCodes);
constexpr EncodeTable kBlackEncodeBuilt = buildEncodeTable(kBlackTerminatingCodes, kBlackMakeUpCodes);
constexpr EncodeEntry kPassCodeBuilt = modeCode(Mode::pass, 0);
constexpr EncodeEntry kHorizontalCodeBuilt = modeCode(Mode::horizontal, 0);
constexpr std::array<EncodeEntry, 7> kVerticalCodesBuilt = buildVerticalCodes();
constexpr Bits kEndOfLineBits = parseBits(kEndOfLineCode);
static_assert(kPassCodeBuilt.nLength == 4 && kHorizontalCodeBuilt.nLength == 3 && kVerticalCodesBuilt[0].nLength == 7);
constexpr Bits kMakeUp2560Bits = parseBits(kExtendedMakeUpCodes[12].pszBits);
constexpr std::array<unsigned char, 256> kReversedBitsBuilt = buildReversedBits();
static_assert(kWhiteDecodeBuilt.bPrefixFree && kBlackDecodeBuilt.bPrefixFree && kModeDecodeBuilt.bPrefixFree);

}

const EncodeTable kWhiteEncode = kWhiteEncodeBuilt;
const EncodeTable kBlackEncode = kBlackEncodeBuilt;
const EncodeEntry kMakeUp2560 = {kMakeUp2560Bits.nCode, kMakeUp2560Bits.nLength};
const EncodeEntry kPassCode = kPassCodeBuilt;
const EncodeEntry kHorizontalCode = kHorizontalCodeBuilt;
const std::array<EncodeEntry, 7> kVerticalCodes = kVerticalCodesBuilt;
const EncodeEntry kEndOfLineEntry = {kEndOfLineBits.nCode, kEndOfLineBits.nLength};
const DecodeTable kWhiteDecode = kWhiteDecodeBuilt.table;
const DecodeTable kBlackDecode = kBlackDecodeBuilt.table;
const ModeTable kModeDecode = kModeDecodeBuilt.table;
const std::array<unsigned char, 256> kReversedBits = kReversedBitsBuilt;

}
