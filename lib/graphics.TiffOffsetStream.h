#ifndef VELMO_LIB_GRAPHICS_TIFFOFFSETSTREAM_H
#define VELMO_LIB_GRAPHICS_TIFFOFFSETSTREAM_H

#include "core/io.IStream.h"

namespace velmo::lib::graphics {

// The TIFF writer's output, addressed by file offsets. It counts the position itself, as
// the system cannot tell one of 4 GB or more: a write that would carry the file past what a
// 32-bit TIFF offset can name is refused (maximumLengthExceeded) before any byte of it is
// written, and every offset below 4 GB can be reached. Not readable.
class TiffOffsetStream : public core::io::IStream {
public:
    // pInner holds the file from offset nBase on, ends at offset nLength and stands there.
    void attach(core::io::IStream* pInner, std::uint32_t nBase, std::uint32_t nLength);
    std::uint32_t getLength() const { return m_nLength; }
    // Moves to a file offset no further than the end; false when the stream cannot get there.
    bool seekTo(std::uint32_t nOffset);

    bool canWrite() override { return m_pInner->canWrite(); }
    bool canRead() override { return false; }
    bool canSeek() override { return true; }
    std::uint32_t getPosition() override { return m_nPosition; }
    // From the start only: offsets beyond 2 GB do not fit the signed distance (use seekTo).
    bool seek(std::int32_t nOffset, std::int32_t nSeekOrigin) override;
    void writeData(const unsigned char* pBuffer, std::int32_t nOffset, std::int32_t nByteCount) override;
    void flush() override { m_pInner->flush(); }
    void close() override { m_pInner->close(); }

private:
    core::io::IStream* m_pInner = nullptr;
    std::uint32_t m_nBase = 0;
    std::uint32_t m_nPosition = 0;
    std::uint32_t m_nLength = 0;
};

}

#endif
