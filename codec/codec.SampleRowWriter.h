#ifndef VELMO_CODEC_SAMPLEROWWRITER_H
#define VELMO_CODEC_SAMPLEROWWRITER_H

#include "codec/codec.DibView.h"

#include <vector>

namespace velmo::codec {

// Writes rows of samples into a 1-, 8- or 24-bit bitmap, padding bytes zeroed; for 1 bit a
// sample of 128 or more sets the bit.
class SampleRowWriter {
public:
    explicit SampleRowWriter(const DibView& image);

    // A buffer for one row of samples; putRow stores it.
    unsigned char* getBuffer() { return m_samples.data(); }
    void putRow(std::int32_t nTopDownRow);

private:
    const DibView& m_image;
    std::vector<unsigned char> m_samples;
};

// Packs bytes (non-zero sets the bit) into a 1-bit row, most significant bit first, and
// zeroes the rest of the row up to nStride.
void packBits(const unsigned char* pFlags, std::int32_t nWidth, unsigned char* pRow, std::size_t nStride);

}

#endif
