#ifndef VELMO_CORE_IO_FILESTREAM_H
#define VELMO_CORE_IO_FILESTREAM_H

#include "core/io.File.h"
#include "core/io.IStream.h"

namespace velmo::core::io {

class FileStream : public IStream {
public:
    FileStream() = default;
    ~FileStream() override { m_file.close(); }

    void open(const char* pszPath, bool bWritable)
    {
        close();
        m_file.open(pszPath, bWritable);
    }
    void create(const char* pszPath, bool bShareWrite)
    {
        close();
        m_file.create(pszPath, bShareWrite);
    }
    File& getFile() { return m_file; }

    bool canWrite() override { return m_file.isOpenedForWriting(); }
    bool canRead() override { return m_file.isOpenedForReading(); }
    bool canSeek() override { return true; }
    std::uint32_t getPosition() override { return m_file.getPosition(); }
    bool seek(std::int32_t nOffset, std::int32_t nSeekOrigin) override { return m_file.seek(nOffset, nSeekOrigin); }
    std::int32_t readData(unsigned char* pBuffer, std::int32_t nOffset, std::int32_t nByteCount) override
    {
        return m_file.readData(pBuffer, nOffset, nByteCount);
    }
    void writeData(const unsigned char* pBuffer, std::int32_t nOffset, std::int32_t nByteCount) override
    {
        m_file.writeData(pBuffer, nOffset, nByteCount);
    }
    void flush() override {}
    void close() override { m_file.close(); }

private:
    File m_file;
};

}

#endif
