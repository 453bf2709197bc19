#include "core/io.BitOutputStream.h"

#include "core/exception.InvalidParameterException.h"

namespace velmo::core::io {

namespace {

constexpr std::int32_t kBlockSize = 4096;

struct Blocks {
    unsigned char ones[kBlockSize];
    unsigned char zeros[kBlockSize];
    Blocks()
    {
        for (std::int32_t i = 0; i < kBlockSize; ++i) {
            ones[i] = 0xFF;
            zeros[i] = 0;
        }
    }
};

const Blocks& blocks()
{
    static const Blocks prepared;
    return prepared;
}

void checkCount(const exception::Location& location, const char* pszName, std::int32_t nCount)
{
    if (nCount < 0)
        throw exception::InvalidParameterException(location, exception::invalidParameter, pszName, nCount);
}

}

void BitOutputStream::setStream(IStream* pInner)
{
    m_pInner = pInner;
    m_nPendingBits = 0;
    m_nPendingByte = 0;
}

void BitOutputStream::writeByte(unsigned char nByte)
{
    m_pInner->writeData(&nByte, 0, 1);
}

void BitOutputStream::writeBits(std::int32_t nBitValue, std::int32_t nCount)
{
    checkCount(VELMO_LOCATION, "nCount", nCount);
    unsigned char nFill = nBitValue ? 0xFF : 0x00;
    if (m_nPendingBits + nCount < 8) {
        m_nPendingByte |= static_cast<unsigned char>((nFill << (8 - nCount)) & 0xFF) >> m_nPendingBits;
        m_nPendingBits += nCount;
        return;
    }
    if (m_nPendingBits > 0) {
        // Complete the pending byte with the value's bits.
        writeByte(static_cast<unsigned char>(m_nPendingByte | (nFill >> m_nPendingBits)));
        nCount = m_nPendingBits + nCount - 8;
    }
    std::int32_t nTrailing = nCount % 8;
    std::int32_t nWholeBytes = nCount / 8;
    const unsigned char* pBlock = nBitValue ? blocks().ones : blocks().zeros;
    while (nWholeBytes > 0) {
        std::int32_t nChunk = nWholeBytes < kBlockSize ? nWholeBytes : kBlockSize;
        m_pInner->writeData(pBlock, 0, nChunk);
        nWholeBytes -= nChunk;
    }
    m_nPendingByte = static_cast<unsigned char>((nFill << (8 - nTrailing)) & 0xFF);
    m_nPendingBits = nTrailing;
}

void BitOutputStream::writeCodeByte(std::uint32_t nBits, std::int32_t nCount)
{
    std::uint32_t nValue = nBits & ((1u << nCount) - 1);
    std::int32_t nOverflow = m_nPendingBits + nCount - 8;
    if (nOverflow < 0) {
        m_nPendingByte |= static_cast<unsigned char>(nValue << -nOverflow);
        m_nPendingBits += nCount;
        return;
    }
    writeByte(static_cast<unsigned char>(m_nPendingByte | (nValue >> nOverflow)));
    m_nPendingByte = static_cast<unsigned char>((nValue << (8 - nOverflow)) & 0xFF);
    m_nPendingBits = nOverflow;
}

void BitOutputStream::writeCode(std::uint32_t nBits, std::int32_t nCount)
{
    if (nCount < 1 || nCount > 32)
        throw exception::InvalidParameterException(VELMO_LOCATION, exception::invalidParameter, "nCount", nCount);
    // Whole groups of at most 8 bits, from the most significant end.
    for (std::int32_t nRemaining = nCount; nRemaining > 0;) {
        std::int32_t nChunk = nRemaining % 8 ? nRemaining % 8 : 8;
        nRemaining -= nChunk;
        writeCodeByte(nBits >> nRemaining, nChunk);
    }
}

void BitOutputStream::writeData(const unsigned char* pBuffer, std::int32_t nOffset, std::int32_t nByteCount)
{
    checkCount(VELMO_LOCATION, "nByteCount", nByteCount);
    if (m_nPendingBits == 0) {
        m_pInner->writeData(pBuffer, nOffset, nByteCount);
        return;
    }
    unsigned char merged[kBlockSize];
    for (std::int32_t nDone = 0; nDone < nByteCount;) {
        std::int32_t nChunk = nByteCount - nDone < kBlockSize ? nByteCount - nDone : kBlockSize;
        for (std::int32_t i = 0; i < nChunk; ++i) {
            unsigned char nByte = pBuffer[nOffset + nDone + i];
            merged[i] = static_cast<unsigned char>(m_nPendingByte | (nByte >> m_nPendingBits));
            m_nPendingByte = static_cast<unsigned char>((nByte << (8 - m_nPendingBits)) & 0xFF);
        }
        m_pInner->writeData(merged, 0, nChunk);
        nDone += nChunk;
    }
}

void BitOutputStream::flush()
{
    if (m_nPendingBits > 0) {
        unsigned char nByte = m_nPendingByte;
        m_nPendingBits = 0;
        m_nPendingByte = 0;
        writeByte(nByte);
    }
    m_pInner->flush();
}

void BitOutputStream::close()
{
    flush();
    m_pInner->close();
}

}
