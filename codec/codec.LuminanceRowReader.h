#ifndef VELMO_CODEC_LUMINANCEROWREADER_H
#define VELMO_CODEC_LUMINANCEROWREADER_H

#include "codec/codec.DibView.h"
#include "codec/codec.Palette.h"

#include <vector>

namespace velmo::codec {

// The luminance of each pixel of an 8- or 24-bit bitmap's rows.
class LuminanceRowReader {
public:
    LuminanceRowReader(const DibView& image, const Palette& palette);

    const unsigned char* getRow(std::int32_t nTopDownRow);

private:
    const DibView& m_image;
    const Palette& m_palette;
    std::vector<unsigned char> m_row;
};

}

#endif
