#ifndef VELMO_CODEC_OUTPUTAREA_H
#define VELMO_CODEC_OUTPUTAREA_H

#include "codec/codec.ParameterBlock.h"

#include <cstddef>

namespace velmo::codec {

// The free space of a request's output queue.
class OutputArea {
public:
    // Throws output too small when the queue has no valid free space.
    explicit OutputArea(ParameterBlock& block);

    // The next nByteCount bytes; throws output too small when they do not fit.
    unsigned char* reserve(std::size_t nByteCount) const;
    // Appends nByteCount written bytes to the queue's data.
    void commit(std::size_t nByteCount);
    std::size_t getFreeSpace() const;

private:
    ByteQueue& m_queue;
};

}

#endif
