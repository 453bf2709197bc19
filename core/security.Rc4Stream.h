#ifndef VELMO_CORE_SECURITY_RC4STREAM_H
#define VELMO_CORE_SECURITY_RC4STREAM_H

#include "core/collections.SimpleTypeArray.h"
#include "core/io.IStream.h"

namespace velmo::core::security {

// The RC4 stream cipher as a filter over an inner stream: what is written is encrypted,
// what is read is decrypted. The key stream runs on across calls; seeking does not move it.
class Rc4Stream : public io::IStream {
public:
    static constexpr std::int32_t kStateSize = 256;

    void setStream(io::IStream* pInner, const unsigned char* pKey, std::int32_t nKeyLength);
    void crypt(const unsigned char* pSource, std::int32_t nSourceOffset, unsigned char* pTarget,
               std::int32_t nTargetOffset, std::int32_t nCount);

    // One-shot encryption (or decryption) of a block; source and target may be the same.
    static void rc4Crypt(const unsigned char* pKey, std::int32_t nKeyLength, const unsigned char* pSource,
                         std::int32_t nSourceOffset, unsigned char* pTarget, std::int32_t nTargetOffset,
                         std::int32_t nCount);

    bool canWrite() override { return m_pInner->canWrite(); }
    bool canRead() override { return m_pInner->canRead(); }
    bool canSeek() override { return m_pInner->canSeek(); }
    std::uint32_t getPosition() override { return m_pInner->getPosition(); }
    bool seek(std::int32_t nOffset, std::int32_t nSeekOrigin) override { return m_pInner->seek(nOffset, nSeekOrigin); }
    std::int32_t readData(unsigned char* pBuffer, std::int32_t nOffset, std::int32_t nByteCount) override;
    void writeData(const unsigned char* pBuffer, std::int32_t nOffset, std::int32_t nByteCount) override;
    void flush() override { m_pInner->flush(); }
    void close() override {}

private:
    io::IStream* m_pInner = nullptr;
    collections::SimpleTypeArray<unsigned char> m_state;
    collections::SimpleTypeArray<unsigned char> m_key;
    collections::SimpleTypeArray<unsigned char> m_work;
    unsigned char m_i = 0;
    unsigned char m_j = 0;
};

}

#endif
