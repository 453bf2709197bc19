#ifndef VELMO_CORE_BITS_H
#define VELMO_CORE_BITS_H

#include <cstdint>
#include <cstring>

#if defined(_MSC_VER)
#include <intrin.h>
#include <stdlib.h>
#endif

// Bit operations that compilers offer as single instructions, behind one portable name.
namespace velmo::core::bits {

// Eight bytes as a number whose most significant byte is the first one.
inline std::uint64_t loadBigEndian64(const unsigned char* pBytes)
{
    std::uint64_t nValue;
    std::memcpy(&nValue, pBytes, sizeof nValue);
#if defined(_MSC_VER)
    return _byteswap_uint64(nValue);
#else
    return __builtin_bswap64(nValue);
#endif
}

// ORs nMask into four bytes, the first byte taking its most significant bits.
inline void orBigEndian32(unsigned char* pBytes, std::uint32_t nMask)
{
    std::uint32_t nValue;
    std::memcpy(&nValue, pBytes, sizeof nValue);
#if defined(_MSC_VER)
    nValue |= _byteswap_ulong(nMask);
#else
    nValue |= __builtin_bswap32(nMask);
#endif
    std::memcpy(pBytes, &nValue, sizeof nValue);
}

// Zero bits above the highest set bit; nValue must not be 0.
inline int countLeadingZeros64(std::uint64_t nValue)
{
#if defined(_MSC_VER) && defined(_M_X64)
    unsigned long nIndex;
    _BitScanReverse64(&nIndex, nValue);
    return 63 - static_cast<int>(nIndex);
#elif defined(_MSC_VER)
    unsigned long nIndex;
    if (_BitScanReverse(&nIndex, static_cast<unsigned long>(nValue >> 32)))
        return 31 - static_cast<int>(nIndex);
    _BitScanReverse(&nIndex, static_cast<unsigned long>(nValue));
    return 63 - static_cast<int>(nIndex);
#else
    return __builtin_clzll(nValue);
#endif
}

}

#endif
