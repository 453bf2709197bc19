#ifndef VELMO_CORE_IO_BUFFEREDSTREAM_H
#define VELMO_CORE_IO_BUFFEREDSTREAM_H

#include "core/io.IStream.h"

namespace velmo::core::io {

// Turns many small reads and writes into calls of the buffer size on the inner stream.
// Seeking relative to the current position is refused (4914).
class BufferedStream : public IStream {
public:
    BufferedStream() = default;
    ~BufferedStream() override;
    BufferedStream(const BufferedStream&) = delete;
    BufferedStream& operator=(const BufferedStream&) = delete;

    void setStream(IStream* pInner, std::int32_t nBufferSize);

    bool canWrite() override { return m_pInner && m_pInner->canWrite(); }
    bool canRead() override { return m_pInner && m_pInner->canRead(); }
    bool canSeek() override { return m_pInner && m_pInner->canSeek(); }
    std::uint32_t getPosition() override;
    bool seek(std::int32_t nOffset, std::int32_t nSeekOrigin) override;
    std::int32_t readData(unsigned char* pBuffer, std::int32_t nOffset, std::int32_t nByteCount) override;
    void writeData(const unsigned char* pBuffer, std::int32_t nOffset, std::int32_t nByteCount) override;
    void flush() override;
    void close() override;

private:
    void detach();
    void freeBuffers();

    IStream* m_pInner = nullptr;
    std::int32_t m_nBufferSize = 0;
    std::int32_t m_nPendingWrite = 0;
    unsigned char* m_pWriteBuffer = nullptr;
    std::int32_t m_nReadPosition = 0;
    std::int32_t m_nReadFill = 0;
    unsigned char* m_pReadBuffer = nullptr;
};

}

#endif
