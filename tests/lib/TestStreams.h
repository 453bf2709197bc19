#ifndef VELMO_TESTS_LIB_TESTSTREAMS_H
#define VELMO_TESTS_LIB_TESTSTREAMS_H

#include "core/io.IStream.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace velmo::tests {

// A readable, writable, seekable stream over a byte vector.
class VectorStream : public core::io::IStream {
public:
    VectorStream() = default;
    explicit VectorStream(std::vector<unsigned char> bytes) : m_bytes(std::move(bytes)) {}

    bool canWrite() override { return true; }
    bool canRead() override { return true; }
    bool canSeek() override { return true; }
    std::uint32_t getPosition() override { return static_cast<std::uint32_t>(m_nPosition); }
    bool seek(std::int32_t nOffset, std::int32_t nOrigin) override
    {
        std::int64_t nTarget = nOrigin == seekBegin ? nOffset : nOrigin == seekCurrent ? static_cast<std::int64_t>(m_nPosition) + nOffset
                                                                                      : static_cast<std::int64_t>(m_bytes.size()) - nOffset;
        if (nTarget < 0 || nTarget > static_cast<std::int64_t>(m_bytes.size()))
            return false;
        m_nPosition = static_cast<std::size_t>(nTarget);
        return true;
    }
    std::int32_t readData(unsigned char* pBuffer, std::int32_t nOffset, std::int32_t nCount) override
    {
        std::size_t nTake = std::min(static_cast<std::size_t>(nCount), m_bytes.size() - m_nPosition);
        std::memcpy(pBuffer + nOffset, m_bytes.data() + m_nPosition, nTake);
        m_nPosition += nTake;
        return static_cast<std::int32_t>(nTake);
    }
    void writeData(const unsigned char* pBuffer, std::int32_t nOffset, std::int32_t nCount) override
    {
        if (m_nPosition + static_cast<std::size_t>(nCount) > m_bytes.size())
            m_bytes.resize(m_nPosition + static_cast<std::size_t>(nCount));
        std::memcpy(m_bytes.data() + m_nPosition, pBuffer + nOffset, static_cast<std::size_t>(nCount));
        m_nPosition += static_cast<std::size_t>(nCount);
        ++m_nWriteCalls;
    }
    void flush() override { ++m_nFlushes; }
    void close() override { m_bClosed = true; }

    const std::vector<unsigned char>& bytes() const { return m_bytes; }
    // The bytes read as run-stream values.
    std::vector<std::uint16_t> values() const
    {
        std::vector<std::uint16_t> values;
        for (std::size_t i = 0; i + 1 < m_bytes.size(); i += 2)
            values.push_back(static_cast<std::uint16_t>(m_bytes[i] | (m_bytes[i + 1] << 8)));
        return values;
    }

    int m_nWriteCalls = 0;
    int m_nFlushes = 0;
    bool m_bClosed = false;

private:
    std::vector<unsigned char> m_bytes;
    std::size_t m_nPosition = 0;
};

// Writes the values of a run stream, two bytes each, in one call.
inline void writeValues(core::io::IStream& stream, const std::vector<std::uint16_t>& values)
{
    std::vector<unsigned char> bytes;
    for (std::uint16_t nValue : values) {
        bytes.push_back(static_cast<unsigned char>(nValue));
        bytes.push_back(static_cast<unsigned char>(nValue >> 8));
    }
    stream.writeData(bytes.data(), 0, static_cast<std::int32_t>(bytes.size()));
}

// Bytes from a text of 0 and 1 (blanks ignored), the last byte padded with 0 bits.
inline std::vector<unsigned char> bytesOfBits(const std::string& bits)
{
    std::vector<unsigned char> bytes;
    int nBit = 0;
    for (char c : bits) {
        if (c != '0' && c != '1')
            continue;
        if (nBit % 8 == 0)
            bytes.push_back(0);
        if (c == '1')
            bytes.back() = static_cast<unsigned char>(bytes.back() | (0x80 >> (nBit % 8)));
        ++nBit;
    }
    return bytes;
}

// Each byte with its bit order reversed (FillOrder 2).
inline std::vector<unsigned char> reversedBits(std::vector<unsigned char> bytes)
{
    for (unsigned char& nByte : bytes) {
        unsigned char nReversed = 0;
        for (int i = 0; i < 8; ++i)
            nReversed = static_cast<unsigned char>(nReversed | (((nByte >> i) & 1) << (7 - i)));
        nByte = nReversed;
    }
    return bytes;
}

// The bits of bytes as a text of 0 and 1.
inline std::string bitsOfBytes(const std::vector<unsigned char>& bytes)
{
    std::string bits;
    for (unsigned char nByte : bytes)
        for (int i = 7; i >= 0; --i)
            bits += static_cast<char>('0' + ((nByte >> i) & 1));
    return bits;
}

}

#endif
