#ifndef VELMO_CODEC_SCALER_H
#define VELMO_CODEC_SCALER_H

#include "codec/codec.DibView.h"
#include "codec/codec.ParameterBlock.h"

#include <vector>

namespace velmo::codec {

// Resamples a 1-, 8- or 24-bit bitmap into another of the same depth. Each axis is scaled
// on its own: down by area averaging (every output pixel the exact mean of the source
// area it covers), up bilinearly (by nearest neighbour for 1 bit). Means are rounded half
// up; a 1-bit pixel is set when at least half of its area is set. An 8-bit image whose
// values index a colour table (bIndexed) is scaled by nearest neighbour both ways: the mean
// of two indexes is no colour of either.
class Scaler {
public:
    Scaler(ParameterBlock& block, bool bIndexed) : m_block(block), m_bIndexed(bIndexed) {}

    void scale(const DibView& source, const DibView& target);

private:
    // The source pixels and weights each output position of one axis draws on.
    struct AxisTaps {
        std::vector<std::int32_t> first;
        std::vector<std::vector<std::uint32_t>> weights;
        std::uint32_t nTotal = 1;
    };

    AxisTaps makeTaps(std::int32_t nSource, std::int32_t nTarget, std::int32_t nBitCount) const;
    static AxisTaps makeBoxTaps(std::int32_t nSource, std::int32_t nTarget);
    static AxisTaps makeLinearTaps(std::int32_t nSource, std::int32_t nTarget);
    static AxisTaps makeNearestTaps(std::int32_t nSource, std::int32_t nTarget);

    // Whole-number factors on both axes: block sums with one division per sample.
    void scaleByIntegerFactors(const DibView& source, const DibView& target);
    template <int Channels>
    void sumBlocks(const DibView& source, const DibView& target);
    void scaleByTaps(const DibView& source, const DibView& target);
    void yieldEveryBand(std::int32_t nRow);

    ParameterBlock& m_block;
    bool m_bIndexed;
};

}

#endif
