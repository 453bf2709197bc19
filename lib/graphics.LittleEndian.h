#ifndef VELMO_LIB_GRAPHICS_LITTLEENDIAN_H
#define VELMO_LIB_GRAPHICS_LITTLEENDIAN_H

#include <cstdint>

namespace velmo::lib::graphics {

// The one pair of conversions every TIFF number goes through: a 32-bit integer to and
// from 1 to 4 little-endian bytes at an offset in a byte array.
class LittleEndian {
public:
    // 1 and 3 bytes read unsigned, 2 bytes as an unsigned 16-bit value, 4 bytes as the
    // 32-bit pattern.
    static std::int32_t toInt32(const unsigned char* pBytes, std::int32_t nOffset, std::int32_t nLength)
    {
        const unsigned char* p = pBytes + nOffset;
        if (nLength == 2)
            return static_cast<std::int32_t>(p[0] | (p[1] << 8));
        std::uint32_t nValue = 0;
        for (std::int32_t i = (nLength > 4 ? 4 : nLength) - 1; i >= 0; --i)
            nValue = (nValue << 8) | p[i];
        return static_cast<std::int32_t>(nValue);
    }

    // The low nLength bytes of nValue (at most 4), least significant first.
    static void fromInt32(std::int32_t nValue, unsigned char* pBytes, std::int32_t nOffset, std::int32_t nLength)
    {
        unsigned char* p = pBytes + nOffset;
        std::uint32_t nBits = static_cast<std::uint32_t>(nValue);
        for (std::int32_t i = 0; i < nLength && i < 4; ++i, nBits >>= 8)
            p[i] = static_cast<unsigned char>(nBits);
    }
};

}

#endif
