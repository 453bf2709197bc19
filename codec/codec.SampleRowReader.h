#ifndef VELMO_CODEC_SAMPLEROWREADER_H
#define VELMO_CODEC_SAMPLEROWREADER_H

#include "codec/codec.DibView.h"

#include <vector>

namespace velmo::codec {

// Rows of a 1-, 8- or 24-bit bitmap as one byte per sample: 8- and 24-bit rows are used
// in place, a 1-bit row is spread to 0 (bit clear) and 255 (bit set).
class SampleRowReader {
public:
    explicit SampleRowReader(const DibView& image);

    const unsigned char* getRow(std::int32_t nTopDownRow);
    std::int32_t getChannels() const { return m_nChannels; }

    static std::int32_t getChannelsOf(std::int32_t nBitCount) { return nBitCount == 24 ? 3 : 1; }

private:
    const DibView& m_image;
    std::int32_t m_nChannels;
    std::vector<unsigned char> m_spread;
};

}

#endif
