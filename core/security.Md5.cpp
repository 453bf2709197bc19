#include "core/security.Md5.h"

#include "core/exception.InvalidParameterException.h"

#include <cstring>

namespace velmo::core::security {

namespace {

std::uint32_t rotateLeft(std::uint32_t nValue, int nBits)
{
    return (nValue << nBits) | (nValue >> (32 - nBits));
}

std::uint32_t readLittleEndian(const unsigned char* pBytes)
{
    return static_cast<std::uint32_t>(pBytes[0]) | static_cast<std::uint32_t>(pBytes[1]) << 8
        | static_cast<std::uint32_t>(pBytes[2]) << 16 | static_cast<std::uint32_t>(pBytes[3]) << 24;
}

void writeLittleEndian(std::uint32_t nValue, unsigned char* pBytes)
{
    for (int i = 0; i < 4; ++i)
        pBytes[i] = static_cast<unsigned char>(nValue >> (8 * i));
}

// RFC 1321, 3.4: the per-step shift amounts of the four rounds.
constexpr int kShifts[4][4] = {{7, 12, 17, 22}, {5, 9, 14, 20}, {4, 11, 16, 23}, {6, 10, 15, 21}};

// RFC 1321, 3.4: T[i] = floor(2^32 * abs(sin(i + 1))).
constexpr std::uint32_t kSines[64] = {
    0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613, 0xfd469501,
    0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193, 0xa679438e, 0x49b40821,
    0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d, 0x02441453, 0xd8a1e681, 0xe7d3fbc8,
    0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed, 0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a,
    0xfffa3942, 0x8771f681, 0x6d9d6122, 0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70,
    0x289b7ec6, 0xeaa127fa, 0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665,
    0xf4292244, 0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
    0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb, 0xeb86d391,
};

}

void Md5::reset()
{
    m_state[0] = 0x67452301;
    m_state[1] = 0xEFCDAB89;
    m_state[2] = 0x98BADCFE;
    m_state[3] = 0x10325476;
    m_nBitCount[0] = m_nBitCount[1] = 0;
    std::memset(m_block, 0, sizeof m_block);
}

void Md5::transform(const unsigned char* pBlock)
{
    std::uint32_t x[16];
    for (int i = 0; i < 16; ++i)
        x[i] = readLittleEndian(pBlock + 4 * i);
    std::uint32_t a = m_state[0], b = m_state[1], c = m_state[2], d = m_state[3];
    for (int i = 0; i < 64; ++i) {
        int nRound = i / 16;
        std::uint32_t f;
        int k;
        // RFC 1321, 3.4: the auxiliary functions F, G, H, I and the word order of each round.
        switch (nRound) {
        case 0: f = (b & c) | (~b & d); k = i; break;
        case 1: f = (b & d) | (c & ~d); k = (5 * i + 1) % 16; break;
        case 2: f = b ^ c ^ d; k = (3 * i + 5) % 16; break;
        default: f = c ^ (b | ~d); k = (7 * i) % 16; break;
        }
        std::uint32_t nRotated = b + rotateLeft(a + f + kSines[i] + x[k], kShifts[nRound][i % 4]);
        a = d;
        d = c;
        c = b;
        b = nRotated;
    }
    m_state[0] += a;
    m_state[1] += b;
    m_state[2] += c;
    m_state[3] += d;
}

void Md5::update(const unsigned char* pData, std::int32_t nLength)
{
    if (nLength < 0)
        throw exception::InvalidParameterException(VELMO_LOCATION, exception::invalidParameter, "nLength", nLength);
    if (nLength == 0)
        return;
    std::uint32_t nUsed = (m_nBitCount[0] >> 3) & 63;
    std::uint32_t nBits = static_cast<std::uint32_t>(nLength) << 3;
    m_nBitCount[0] += nBits;
    if (m_nBitCount[0] < nBits)
        ++m_nBitCount[1];
    m_nBitCount[1] += static_cast<std::uint32_t>(nLength) >> 29;

    std::uint32_t nOffset = 0;
    std::uint32_t nTotal = static_cast<std::uint32_t>(nLength);
    if (nUsed > 0) {
        std::uint32_t nFill = 64 - nUsed;
        if (nTotal < nFill) {
            std::memcpy(m_block + nUsed, pData, nTotal);
            return;
        }
        std::memcpy(m_block + nUsed, pData, nFill);
        transform(m_block);
        nOffset = nFill;
    }
    for (; nOffset + 64 <= nTotal; nOffset += 64)
        transform(pData + nOffset);
    if (nOffset < nTotal)
        std::memcpy(m_block, pData + nOffset, nTotal - nOffset);
}

void Md5::final()
{
    unsigned char length[8];
    writeLittleEndian(m_nBitCount[0], length);
    writeLittleEndian(m_nBitCount[1], length + 4);
    std::uint32_t nUsed = (m_nBitCount[0] >> 3) & 63;
    std::uint32_t nPadding = nUsed < 56 ? 56 - nUsed : 120 - nUsed;
    unsigned char padding[64] = {0x80};
    update(padding, static_cast<std::int32_t>(nPadding));
    update(length, 8);
    for (int i = 0; i < 4; ++i)
        writeLittleEndian(m_state[i], m_digest + 4 * i);
    std::memset(m_state, 0, sizeof m_state);
    std::memset(m_nBitCount, 0, sizeof m_nBitCount);
    std::memset(m_block, 0, sizeof m_block);
}

void Md5::digestInPlace(collections::SimpleTypeArray<unsigned char>& bytes)
{
    Md5 digest;
    digest.update(bytes.getData(), bytes.getCount());
    digest.final();
    bytes.setCount(getDigestLength());
    std::memcpy(bytes.getData(), digest.getDigest(), static_cast<std::size_t>(getDigestLength()));
}

}
