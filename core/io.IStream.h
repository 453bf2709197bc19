#ifndef VELMO_CORE_IO_ISTREAM_H
#define VELMO_CORE_IO_ISTREAM_H

#include "core/object.Object.h"

#include <cstdint>

namespace velmo::core::io {

// The library's byte stream. Seek origins: 1 from the start, 2 from the current
// position, 3 from the end. Short writes are errors, never results.
class IStream : public object::Object {
public:
    enum SeekOrigin : std::int32_t { seekBegin = 1, seekCurrent = 2, seekEnd = 3 };

    virtual bool canWrite() = 0;
    virtual bool canRead() = 0;
    virtual bool canSeek() = 0;
    virtual std::uint32_t getPosition() = 0;
    virtual bool seek(std::int32_t nOffset, std::int32_t nSeekOrigin) = 0;
    // Up to nByteCount bytes into pBuffer + nOffset; 0 at the end of data. Streams that
    // cannot read throw unsupported (4003).
    virtual std::int32_t readData(unsigned char* pBuffer, std::int32_t nOffset, std::int32_t nByteCount);
    virtual void writeData(const unsigned char* pBuffer, std::int32_t nOffset, std::int32_t nByteCount) = 0;
    virtual void flush() = 0;
    virtual void close() = 0;

    std::int32_t read(unsigned char* pBuffer, std::int32_t nByteCount) { return readData(pBuffer, 0, nByteCount); }
};

}

#endif
