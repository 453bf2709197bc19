#ifndef VELMO_CODEC_PALETTE_H
#define VELMO_CODEC_PALETTE_H

#include "codec/codec.ParameterBlock.h"

#include <array>

namespace velmo::codec {

// (299 R + 587 G + 114 B) / 1000, truncated.
inline unsigned char computeLuminance(unsigned nRed, unsigned nGreen, unsigned nBlue)
{
    return static_cast<unsigned char>((299 * nRed + 587 * nGreen + 114 * nBlue) / 1000);
}

// The colour table of an 8-bit image, or none: a table of zeros stands for grey levels.
class Palette {
public:
    explicit Palette(const ColourEntry* pEntries);

    bool isGreyRamp() const { return m_bGreyRamp; }
    const std::array<unsigned char, 256>& getLuminances() const { return m_luminances; }

private:
    std::array<unsigned char, 256> m_luminances{};
    bool m_bGreyRamp = true;
};

}

#endif
