#ifndef VELMO_CODEC_BYTESINK_H
#define VELMO_CODEC_BYTESINK_H

#include "codec/codec.CodecError.h"
#include "codec/codec.ParameterBlock.h"

#include <cstddef>
#include <cstring>

namespace velmo::codec {

// Appends bytes to a caller's fixed buffer; running out of room throws output too small.
// Numbers are written little-endian unless the name says otherwise.
class ByteSink {
public:
    ByteSink(unsigned char* pBuffer, std::size_t nCapacity) : m_pBuffer(pBuffer), m_nCapacity(nCapacity) {}

    std::size_t getPosition() const { return m_nPosition; }
    unsigned char* getData() const { return m_pBuffer; }

    unsigned char* extend(std::size_t nByteCount)
    {
        if (nByteCount > m_nCapacity - m_nPosition)
            throw CodecError(statusOutputTooSmall);
        unsigned char* p = m_pBuffer + m_nPosition;
        m_nPosition += nByteCount;
        return p;
    }
    void putBytes(const void* pData, std::size_t nByteCount) { std::memcpy(extend(nByteCount), pData, nByteCount); }
    void putByte(unsigned nValue) { *extend(1) = static_cast<unsigned char>(nValue); }
    void putUint16(unsigned nValue)
    {
        unsigned char* p = extend(2);
        p[0] = static_cast<unsigned char>(nValue);
        p[1] = static_cast<unsigned char>(nValue >> 8);
    }
    void putUint32(std::uint32_t nValue) { patchUint32(extend(4) - m_pBuffer, nValue); }
    void putUint16BigEndian(unsigned nValue)
    {
        unsigned char* p = extend(2);
        p[0] = static_cast<unsigned char>(nValue >> 8);
        p[1] = static_cast<unsigned char>(nValue);
    }
    void patchUint32(std::size_t nPosition, std::uint32_t nValue)
    {
        unsigned char* p = m_pBuffer + nPosition;
        for (int i = 0; i < 4; ++i)
            p[i] = static_cast<unsigned char>(nValue >> (8 * i));
    }
    void alignToWord()
    {
        if (m_nPosition & 1)
            putByte(0);
    }

private:
    unsigned char* m_pBuffer;
    std::size_t m_nCapacity;
    std::size_t m_nPosition = 0;
};

}

#endif
