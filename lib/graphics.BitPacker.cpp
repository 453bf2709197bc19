#include "lib/graphics.BitPacker.h"

#include <cstring>

namespace velmo::lib::graphics {

void BitPacker::setStream(core::io::IStream* pOut)
{
    m_pOut = pOut;
    m_nAccumulator = 0;
    m_nBits = 0;
    m_nFill = 0;
}

void BitPacker::emitWord()
{
    if (m_nFill > static_cast<std::int32_t>(sizeof(m_block)) - 4)
        writeBlock();
    m_block[m_nFill] = static_cast<unsigned char>(m_nAccumulator >> 56);
    m_block[m_nFill + 1] = static_cast<unsigned char>(m_nAccumulator >> 48);
    m_block[m_nFill + 2] = static_cast<unsigned char>(m_nAccumulator >> 40);
    m_block[m_nFill + 3] = static_cast<unsigned char>(m_nAccumulator >> 32);
    m_nFill += 4;
    m_nAccumulator <<= 32;
    m_nBits -= 32;
}

void BitPacker::emitWholeBytes()
{
    while (m_nBits >= 8) {
        if (m_nFill == static_cast<std::int32_t>(sizeof(m_block)))
            writeBlock();
        m_block[m_nFill++] = static_cast<unsigned char>(m_nAccumulator >> 56);
        m_nAccumulator <<= 8;
        m_nBits -= 8;
    }
}

void BitPacker::writeBlock()
{
    if (m_nFill > 0)
        m_pOut->writeData(m_block, 0, m_nFill);
    m_nFill = 0;
}

void BitPacker::writeBits(bool bOne, std::int32_t nCount)
{
    const std::uint32_t nPattern = bOne ? 0xFFFFFFFFu : 0u;
    // The first nBits of the pattern, as a code.
    const auto writePattern = [&](std::int32_t nBits) {
        if (nBits > 0)
            writeCode(nPattern >> (32 - nBits), nBits);
    };
    std::int32_t nHead = (8 - (m_nBits & 7)) & 7;
    if (nCount < nHead + 8) {
        for (; nCount > 0; nCount -= 32)
            writePattern(nCount < 32 ? nCount : 32);
        return;
    }
    writePattern(nHead);
    nCount -= nHead;
    emitWholeBytes();
    for (std::int32_t nBytes = nCount / 8; nBytes > 0;) {
        if (m_nFill == static_cast<std::int32_t>(sizeof(m_block)))
            writeBlock();
        std::int32_t nTake = static_cast<std::int32_t>(sizeof(m_block)) - m_nFill;
        if (nTake > nBytes)
            nTake = nBytes;
        std::memset(m_block + m_nFill, static_cast<int>(nPattern & 0xFF), static_cast<std::size_t>(nTake));
        m_nFill += nTake;
        nBytes -= nTake;
    }
    writePattern(nCount & 7);
}

std::uint32_t BitPacker::getPosition() const
{
    return m_pOut->getPosition() + static_cast<std::uint32_t>(m_nFill + m_nBits / 8);
}

void BitPacker::flush()
{
    alignToByte();
    emitWholeBytes();
    writeBlock();
    m_pOut->flush();
}

}
