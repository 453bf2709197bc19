#ifndef VELMO_CODEC_LZWENCODER_H
#define VELMO_CODEC_LZWENCODER_H

#include "codec/codec.ByteSink.h"

#include <vector>

namespace velmo::codec {

// TIFF's LZW (TIFF 6.0, section 13): codes of 9 to 12 bits, most significant bit first,
// the table starting with a Clear code and the width growing one code early, as every
// TIFF reader expects.
class LzwEncoder {
public:
    explicit LzwEncoder(ByteSink& sink);

    void encode(const unsigned char* pData, std::size_t nByteCount);
    // Writes the pending string, EndOfInformation and the last bits.
    void finish();

private:
    static constexpr std::uint32_t kClearCode = 256;
    static constexpr std::uint32_t kEndOfInformation = 257;
    static constexpr std::uint32_t kFirstFreeCode = 258;
    static constexpr int kMinBits = 9;
    static constexpr int kMaxBits = 12;
    static constexpr std::uint32_t kHashSize = 1 << 14;
    static constexpr std::uint32_t kNoCode = 0xFFFFFFFF;

    void putCode(std::uint32_t nCode);
    // Counts the entry the decoder adds on each code after the first; widens the codes or
    // starts a new table as the decoder will.
    void addEntry();
    void resetTable();

    ByteSink& m_sink;
    // Open addressing: slot key (prefix code << 8 | byte) + 1, slot value the string's code.
    std::vector<std::uint32_t> m_keys;
    std::vector<std::uint16_t> m_codes;
    std::uint32_t m_nNextCode = kFirstFreeCode;
    int m_nBits = kMinBits;
    std::uint32_t m_nPrefix = kNoCode;
    std::uint64_t m_nBitBuffer = 0;
    int m_nBitCount = 0;
};

}

#endif
