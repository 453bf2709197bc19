#ifndef VELMO_FUZZ_CCITT_RUNSTREAMCHECKER_H
#define VELMO_FUZZ_CCITT_RUNSTREAMCHECKER_H

#include "core/io.IStream.h"

#include <cstdint>
#include <cstdlib>
#include <utility>
#include <vector>

// A stream that only takes data.
class SinkStream : public velmo::core::io::IStream {
public:
    bool canWrite() override { return true; }
    bool canRead() override { return false; }
    bool canSeek() override { return false; }
    std::uint32_t getPosition() override { return 0; }
    bool seek(std::int32_t, std::int32_t) override { return false; }
    void flush() override {}
    void close() override {}
};

// Keeps what is written.
class ByteSink : public SinkStream {
public:
    void writeData(const unsigned char* pBuffer, std::int32_t nOffset, std::int32_t nCount) override
    {
        bytes.insert(bytes.end(), pBuffer + nOffset, pBuffer + nOffset + nCount);
    }

    std::vector<unsigned char> bytes;
};

// A sink that traps unless the run stream is well formed: the runs of every line add up to
// the width, and 0xFFFF follows every line. It passes the stream on to the streams given.
class RunStreamChecker : public SinkStream {
public:
    explicit RunStreamChecker(std::int32_t nWidth, std::vector<velmo::core::io::IStream*> next = {})
        : m_nWidth(nWidth), m_next(std::move(next))
    {
    }

    void writeData(const unsigned char* pBuffer, std::int32_t nOffset, std::int32_t nCount) override
    {
        if (nCount % 2)
            std::abort();
        for (std::int32_t i = 0; i < nCount; i += 2) {
            std::uint32_t nValue = pBuffer[nOffset + i] | (pBuffer[nOffset + i + 1] << 8);
            if (nValue == 0xFFFF) {
                if (m_nPixels != m_nWidth)
                    std::abort();
                m_nPixels = 0;
                ++m_nLines;
            } else {
                m_nPixels += static_cast<std::int32_t>(nValue);
                if (m_nPixels > m_nWidth)
                    std::abort();
            }
        }
        for (velmo::core::io::IStream* pNext : m_next)
            pNext->writeData(pBuffer, nOffset, nCount);
    }
    void flush() override
    {
        for (velmo::core::io::IStream* pNext : m_next)
            pNext->flush();
    }

    std::int32_t getLines() const { return m_nLines; }
    // Whether the stream ended between lines.
    bool isAtLineStart() const { return m_nPixels == 0; }

private:
    std::int32_t m_nWidth;
    std::int32_t m_nPixels = 0;
    std::int32_t m_nLines = 0;
    std::vector<velmo::core::io::IStream*> m_next;
};

#endif
