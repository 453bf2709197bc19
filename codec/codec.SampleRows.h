#ifndef VELMO_CODEC_SAMPLEROWS_H
#define VELMO_CODEC_SAMPLEROWS_H

#include "codec/codec.ModuleRequest.h"

#include <vector>

namespace velmo::codec {

// Rows of a 1-, 8- or 24-bit bitmap as one byte per sample: 8- and 24-bit rows are used
// in place, a 1-bit row is spread to 0 (bit clear) and 255 (bit set).
class SampleRowReader {
public:
    explicit SampleRowReader(const DibView& image);

    const unsigned char* getRow(std::int32_t nTopDownRow);
    std::int32_t getChannels() const { return m_nChannels; }

private:
    const DibView& m_image;
    std::int32_t m_nChannels;
    std::vector<unsigned char> m_spread;
};

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
