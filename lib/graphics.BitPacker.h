#ifndef VELMO_LIB_GRAPHICS_BITPACKER_H
#define VELMO_LIB_GRAPHICS_BITPACKER_H

#include "core/io.IStream.h"

#include <cstdint>

namespace velmo::lib::graphics {

// Packs codes of up to 32 bits, most significant bit first, and hands the bytes to the
// downstream stream in blocks of 4096. The coders write one code per run, so a byte-wise
// bit stream would cost a downstream call per byte; this one costs one per block.
class BitPacker {
public:
    void setStream(core::io::IStream* pOut);
    core::io::IStream* getStream() const { return m_pOut; }

    // A code of nLength bits (1 to 32); nCode has no bits above them.
    void writeCode(std::uint32_t nCode, std::int32_t nLength)
    {
        m_nBits += nLength;
        m_nAccumulator |= static_cast<std::uint64_t>(nCode) << (64 - m_nBits);
        if (m_nBits >= 32)
            emitWord();
    }
    // nCount zero bits (0 to 32).
    void writeZeros(std::int32_t nCount)
    {
        if (nCount > 0)
            writeCode(0, nCount);
    }

    // nCount copies of one bit; whole bytes of a long run are filled at once.
    void writeBits(bool bOne, std::int32_t nCount);
    // Zero bits up to the next byte boundary.
    void alignToByte() { writeZeros((8 - (m_nBits & 7)) & 7); }
    // Bits written since the last byte boundary (0 to 7).
    std::int32_t getBitOffset() const { return m_nBits & 7; }

    // Bytes handed or held for the downstream stream, counted from its position.
    std::uint32_t getPosition() const;
    // Writes everything held, a partial last byte padded with zero bits at its low end,
    // then flushes the downstream stream.
    void flush();

private:
    void emitWord();
    void emitWholeBytes();
    void writeBlock();

    core::io::IStream* m_pOut = nullptr;
    std::uint64_t m_nAccumulator = 0;  // pending bits, left-aligned
    std::int32_t m_nBits = 0;
    std::int32_t m_nFill = 0;
    unsigned char m_block[4096];
};

}

#endif
