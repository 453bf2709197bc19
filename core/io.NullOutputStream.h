#ifndef VELMO_CORE_IO_NULLOUTPUTSTREAM_H
#define VELMO_CORE_IO_NULLOUTPUTSTREAM_H

#include "core/io.IStream.h"

namespace velmo::core::io {

// Counts the bytes written to it and keeps none.
class NullOutputStream : public IStream {
public:
    bool canWrite() override { return true; }
    bool canRead() override { return true; }
    bool canSeek() override { return true; }
    std::uint32_t getPosition() override { return 0xFFFFFFFFu; }
    bool seek(std::int32_t, std::int32_t) override { return true; }
    void writeData(const unsigned char* pBuffer, std::int32_t nOffset, std::int32_t nByteCount) override;
    void flush() override {}
    void close() override {}

    std::int32_t getCount() const { return m_nCount; }
    void resetCount() { m_nCount = 0; }

private:
    std::int32_t m_nCount = 0;
};

}

#endif
