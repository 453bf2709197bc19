#ifndef VELMO_CORE_IO_BITOUTPUTSTREAM_H
#define VELMO_CORE_IO_BITOUTPUTSTREAM_H

#include "core/io.IStream.h"

namespace velmo::core::io {

// Packs bits into bytes, most significant bit first, over an inner stream. Long runs of
// one bit value go out as whole bytes of a prepared block.
class BitOutputStream : public IStream {
public:
    BitOutputStream() = default;

    void setStream(IStream* pInner);
    // nCount copies of one bit value (0 or 1).
    void writeBits(std::int32_t nBitValue, std::int32_t nCount);
    // The low nCount bits of nBits (1 to 32), most significant first.
    void writeCode(std::uint32_t nBits, std::int32_t nCount);
    std::int32_t getPendingBitCount() const { return m_nPendingBits; }

    bool canWrite() override { return m_pInner->canWrite(); }
    bool canRead() override { return false; }
    bool canSeek() override { return m_pInner->canSeek(); }
    std::uint32_t getPosition() override { return m_pInner->getPosition(); }
    bool seek(std::int32_t nOffset, std::int32_t nSeekOrigin) override { return m_pInner->seek(nOffset, nSeekOrigin); }
    void writeData(const unsigned char* pBuffer, std::int32_t nOffset, std::int32_t nByteCount) override;
    // Writes a partly filled byte, its unused low bits zero, then flushes the inner stream.
    void flush() override;
    void close() override;

private:
    void writeByte(unsigned char nByte);
    void writeCodeByte(std::uint32_t nBits, std::int32_t nCount);

    IStream* m_pInner = nullptr;
    std::int32_t m_nPendingBits = 0;
    unsigned char m_nPendingByte = 0;
};

}

#endif
