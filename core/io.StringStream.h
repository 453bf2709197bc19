#ifndef VELMO_CORE_IO_STRINGSTREAM_H
#define VELMO_CORE_IO_STRINGSTREAM_H

#include "core/String.h"
#include "core/io.IStream.h"

namespace velmo::core::io {

// A String as a stream. Seeking reaches the positions of existing bytes only; the end is
// reached by reading or writing.
class StringStream : public IStream {
public:
    StringStream() = default;

    void setText(const char* pszText);
    const String& getText() const { return m_text; }
    std::int32_t getLength() const { return m_text.getLength(); }

    bool canWrite() override { return true; }
    bool canRead() override { return true; }
    bool canSeek() override { return true; }
    std::uint32_t getPosition() override { return static_cast<std::uint32_t>(m_nPosition); }
    bool seek(std::int32_t nOffset, std::int32_t nSeekOrigin) override;
    std::int32_t readData(unsigned char* pBuffer, std::int32_t nOffset, std::int32_t nByteCount) override;
    void writeData(const unsigned char* pBuffer, std::int32_t nOffset, std::int32_t nByteCount) override;
    void flush() override {}
    void close() override {}

private:
    String m_text;
    std::int32_t m_nPosition = 0;
};

}

#endif
