#ifndef VELMO_CORE_SECURITY_MD5_H
#define VELMO_CORE_SECURITY_MD5_H

#include "core/collections.SimpleTypeArray.h"

namespace velmo::core::security {

// The MD5 message digest (RFC 1321).
class Md5 : public object::Object {
public:
    Md5() { reset(); }

    void reset();
    void update(const unsigned char* pData, std::int32_t nLength);
    // Pads, stores the digest and wipes the state; a new digest needs reset().
    void final();
    const unsigned char* getDigest() const { return m_digest; }
    static constexpr std::int32_t getDigestLength() { return 16; }

    // Replaces the bytes of the array by their 16-byte digest.
    static void digestInPlace(collections::SimpleTypeArray<unsigned char>& bytes);

private:
    void transform(const unsigned char* pBlock);

    std::uint32_t m_state[4];
    std::uint32_t m_nBitCount[2];
    unsigned char m_block[64];
    unsigned char m_digest[16];
};

}

#endif
