#ifndef VELMO_CORE_IO_MEMORYSTREAM_H
#define VELMO_CORE_IO_MEMORYSTREAM_H

#include "core/io.IStream.h"

namespace velmo::core::io {

// A growable byte buffer as a stream. Seeking from the end counts backwards from it.
class MemoryStream : public IStream {
public:
    explicit MemoryStream(bool bUseGlobal = false, std::uint32_t nGrowthStep = 256);
    ~MemoryStream() override;
    MemoryStream(const MemoryStream&) = delete;
    MemoryStream& operator=(const MemoryStream&) = delete;

    bool canWrite() override { return true; }
    bool canRead() override { return true; }
    bool canSeek() override { return true; }
    std::uint32_t getPosition() override { return static_cast<std::uint32_t>(m_nPosition); }
    bool seek(std::int32_t nOffset, std::int32_t nSeekOrigin) override;
    std::int32_t readData(unsigned char* pBuffer, std::int32_t nOffset, std::int32_t nByteCount) override;
    void writeData(const unsigned char* pBuffer, std::int32_t nOffset, std::int32_t nByteCount) override;
    void flush() override {}
    void close() override {}

    // Byte access within the data written so far (index errors throw 4001).
    virtual unsigned char getByteAt(std::int32_t nIndex);
    virtual void setByteAt(unsigned char nValue, std::int32_t nIndex);

    std::int32_t getSize() const { return m_nSize; }
    const unsigned char* getData() const { return m_pBuffer; }
    void reset() { m_nPosition = m_nSize = 0; }
    // Takes both settings and empties the stream.
    void setAllocation(bool bUseGlobal, std::uint32_t nGrowthStep);

private:
    void releaseBuffer();

    bool m_bUseGlobal;
    std::uint32_t m_nGrowthStep;
    std::int32_t m_nCapacity = 0;
    std::int32_t m_nPosition = 0;
    std::int32_t m_nSize = 0;
    unsigned char* m_pBuffer = nullptr;
};

}

#endif
