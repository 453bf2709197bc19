#ifndef VELMO_DRIVER_WORKIMAGE_H
#define VELMO_DRIVER_WORKIMAGE_H

#include <cstdint>

namespace velmo::driver {

// Result codes of the work buffers.
enum WorkImageResult : std::int32_t {
    workImageOk = 0,
    workImageBadSize = 201,
    workImageNoHeap = 202,
    workImageNoMemory = 203,
    workImageBlockTooSmall = 204,
    workImageTruncateBeyondLength = 301,
};

// A zero-filled process-heap buffer owned by one stage of a page conversion (the page
// copy, the scaled image, the reduced image, the coded file).
class WorkImage {
public:
    WorkImage() = default;
    ~WorkImage();
    WorkImage(const WorkImage&) = delete;
    WorkImage& operator=(const WorkImage&) = delete;

    // Room for at least nSize bytes; keeps the block when it is already that large.
    std::int32_t reserve(std::int32_t nSize);
    // Keeps the first nSize bytes and zeroes the rest; below 1 empties the buffer. A writer
    // that knows it wrote only below pWrittenEnd may say so: the block is zero beyond it
    // already, and a large block is not filled again.
    std::int32_t truncate(std::int32_t nSize, const unsigned char* pWrittenEnd = nullptr);

    unsigned char* getStart() const { return m_pStart; }
    std::int32_t getLength() const { return m_nLength; }
    unsigned char* getEnd() const { return m_pStart + m_nLength; }

private:
    void release();

    unsigned char* m_pStart = nullptr;
    std::int32_t m_nLength = 0;
    std::int32_t m_nBlockSize = 0;
};

}

#endif
