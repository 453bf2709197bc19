#include "codec/codec.Scaler.h"

#include "codec/codec.ModuleRequest.h"
#include "codec/codec.SampleRowReader.h"
#include "codec/codec.SampleRowWriter.h"

#include <algorithm>
#include <cstring>

namespace velmo::codec {

namespace {

constexpr std::int32_t kRowsPerYield = 64;
// Block areas up to this size divide exactly by a multiplication (see RoundedDivider).
constexpr std::uint32_t kMaxIntegerBlockArea = 4095;
// Columns of up to this many rows are summed in 16 bits.
constexpr std::int32_t kMaxIntegerFactorY = 257;
constexpr std::uint32_t kLinearTotal = 256;

// (n + d / 2) / d for n < 256 d, computed as a multiplication by the rounded-up
// reciprocal: its error stays below 256 d / 2^32 < 1 / d while d < 4096.
class RoundedDivider {
public:
    explicit RoundedDivider(std::uint32_t nDivisor)
        : m_nHalf(nDivisor / 2), m_nReciprocal((std::uint64_t{1} << 32) / nDivisor + 1)
    {
    }
    unsigned char divide(std::uint32_t nValue) const
    {
        return static_cast<unsigned char>(((nValue + m_nHalf) * m_nReciprocal) >> 32);
    }

private:
    std::uint64_t m_nHalf;
    std::uint64_t m_nReciprocal;
};

}

void Scaler::scale(const DibView& source, const DibView& target)
{
    // Pages drawn at the output resolution keep their size: their rows are copied.
    if (source.getWidth() == target.getWidth() && source.getHeight() == target.getHeight()
        && source.getBitCount() == target.getBitCount() && source.getStride() == target.getStride()) {
        for (std::int32_t y = 0; y < target.getHeight(); ++y) {
            std::memcpy(target.getRow(y), source.getRow(y), target.getStride());
            yieldEveryBand(y);
        }
        return;
    }
    const bool bWholeFactors = source.getWidth() % target.getWidth() == 0 && source.getHeight() % target.getHeight() == 0;
    const std::uint64_t nArea = static_cast<std::uint64_t>(source.getWidth() / target.getWidth()) *
                                static_cast<std::uint64_t>(source.getHeight() / target.getHeight());
    if (!m_bIndexed && bWholeFactors && nArea <= kMaxIntegerBlockArea && source.getHeight() / target.getHeight() <= kMaxIntegerFactorY)
        scaleByIntegerFactors(source, target);
    else
        scaleByTaps(source, target);
}

void Scaler::yieldEveryBand(std::int32_t nRow)
{
    if (nRow % kRowsPerYield == 0)
        yieldToCaller(m_block);
}

void Scaler::scaleByIntegerFactors(const DibView& source, const DibView& target)
{
    if (source.getBitCount() == 24)
        sumBlocks<3>(source, target);
    else
        sumBlocks<1>(source, target);
}

// The channel count is a constant here, so that the sums over a block's columns are
// straight-line code.
template <int Channels>
void Scaler::sumBlocks(const DibView& source, const DibView& target)
{
    SampleRowReader reader(source);
    SampleRowWriter writer(target);
    const std::int32_t nFactorX = source.getWidth() / target.getWidth();
    const std::int32_t nFactorY = source.getHeight() / target.getHeight();
    const std::size_t nSourceSamples = static_cast<std::size_t>(source.getWidth()) * Channels;
    const RoundedDivider divider(static_cast<std::uint32_t>(nFactorX * nFactorY));
    // Sixteen bits hold a column of up to 257 samples, and halve the sums' traffic.
    std::vector<std::uint16_t> columnSums(nSourceSamples);

    for (std::int32_t y = 0; y < target.getHeight(); ++y) {
        yieldEveryBand(y);
        std::uint16_t* const pSums = columnSums.data();
        const unsigned char* pFirst = reader.getRow(y * nFactorY);
        for (std::size_t i = 0; i < nSourceSamples; ++i)
            pSums[i] = pFirst[i];
        for (std::int32_t dy = 1; dy < nFactorY; ++dy) {
            const unsigned char* pRow = reader.getRow(y * nFactorY + dy);
            for (std::size_t i = 0; i < nSourceSamples; ++i)
                pSums[i] = static_cast<std::uint16_t>(pSums[i] + pRow[i]);
        }
        unsigned char* const pOut = writer.getBuffer();
        const std::uint16_t* pBlock = pSums;
        for (std::int32_t x = 0; x < target.getWidth(); ++x) {
            std::uint32_t nSum[Channels] = {};
            for (std::int32_t dx = 0; dx < nFactorX; ++dx, pBlock += Channels) {
                for (int c = 0; c < Channels; ++c)
                    nSum[c] += pBlock[c];
            }
            for (int c = 0; c < Channels; ++c)
                pOut[x * Channels + c] = divider.divide(nSum[c]);
        }
        writer.putRow(y);
    }
}

Scaler::AxisTaps Scaler::makeTaps(std::int32_t nSource, std::int32_t nTarget, std::int32_t nBitCount) const
{
    if (m_bIndexed)
        return makeNearestTaps(nSource, nTarget);
    if (nTarget < nSource)
        return makeBoxTaps(nSource, nTarget);
    if (nTarget == nSource || nBitCount == 1)
        return makeNearestTaps(nSource, nTarget);
    return makeLinearTaps(nSource, nTarget);
}

// Source pixel i spans [i T, (i + 1) T) and output pixel x spans [x S, (x + 1) S) on a
// common grid (S, T the source and target lengths); a tap's weight is their overlap.
Scaler::AxisTaps Scaler::makeBoxTaps(std::int32_t nSource, std::int32_t nTarget)
{
    AxisTaps taps;
    taps.nTotal = static_cast<std::uint32_t>(nSource);
    const std::int64_t S = nSource;
    const std::int64_t T = nTarget;
    for (std::int64_t x = 0; x < T; ++x) {
        const std::int64_t nBegin = x * S;
        const std::int64_t nEnd = nBegin + S;
        const std::int64_t nFirst = nBegin / T;
        const std::int64_t nLast = (nEnd - 1) / T;
        std::vector<std::uint32_t> weights;
        for (std::int64_t i = nFirst; i <= nLast; ++i)
            weights.push_back(static_cast<std::uint32_t>(std::min(nEnd, (i + 1) * T) - std::max(nBegin, i * T)));
        taps.first.push_back(static_cast<std::int32_t>(nFirst));
        taps.weights.push_back(std::move(weights));
    }
    return taps;
}

// Pixel centres line up: output x samples the source at (x + 1/2) S / T - 1/2.
Scaler::AxisTaps Scaler::makeLinearTaps(std::int32_t nSource, std::int32_t nTarget)
{
    AxisTaps taps;
    taps.nTotal = kLinearTotal;
    const std::int64_t S = nSource;
    const std::int64_t T = nTarget;
    for (std::int64_t x = 0; x < T; ++x) {
        const std::int64_t nPosition = std::max<std::int64_t>(0, ((2 * x + 1) * S - T) * kLinearTotal / (2 * T));
        const std::int64_t nFirst = std::min(nPosition / kLinearTotal, S - 1);
        const std::uint32_t nFraction = nFirst == S - 1 ? 0 : static_cast<std::uint32_t>(nPosition % kLinearTotal);
        taps.first.push_back(static_cast<std::int32_t>(nFirst));
        taps.weights.push_back(nFraction ? std::vector<std::uint32_t>{kLinearTotal - nFraction, nFraction}
                                         : std::vector<std::uint32_t>{kLinearTotal});
    }
    return taps;
}

Scaler::AxisTaps Scaler::makeNearestTaps(std::int32_t nSource, std::int32_t nTarget)
{
    AxisTaps taps;
    const std::int64_t S = nSource;
    const std::int64_t T = nTarget;
    for (std::int64_t x = 0; x < T; ++x) {
        taps.first.push_back(static_cast<std::int32_t>((2 * x + 1) * S / (2 * T)));
        taps.weights.push_back({1});
    }
    return taps;
}

void Scaler::scaleByTaps(const DibView& source, const DibView& target)
{
    const AxisTaps columns = makeTaps(source.getWidth(), target.getWidth(), source.getBitCount());
    const AxisTaps rows = makeTaps(source.getHeight(), target.getHeight(), source.getBitCount());
    SampleRowReader reader(source);
    SampleRowWriter writer(target);
    const std::int32_t nChannels = reader.getChannels();
    const std::size_t nTargetSamples = static_cast<std::size_t>(target.getWidth()) * nChannels;

    // Horizontally resampled source rows; each source row serves at most two output rows
    // in a row when scaling down, and consecutive ones when scaling up.
    struct CachedRow {
        std::int32_t nSourceRow = -1;
        std::vector<std::uint32_t> values;
    };
    CachedRow cache[2];
    std::int32_t nNextSlot = 0;
    auto resampleRow = [&](std::int32_t nSourceRow) -> const std::vector<std::uint32_t>& {
        for (CachedRow& slot : cache) {
            if (slot.nSourceRow == nSourceRow)
                return slot.values;
        }
        CachedRow& slot = cache[nNextSlot];
        nNextSlot ^= 1;
        slot.nSourceRow = nSourceRow;
        slot.values.assign(nTargetSamples, 0);
        const unsigned char* pRow = reader.getRow(nSourceRow);
        for (std::int32_t x = 0; x < target.getWidth(); ++x) {
            const std::vector<std::uint32_t>& weights = columns.weights[x];
            for (std::int32_t c = 0; c < nChannels; ++c) {
                const unsigned char* pSample = pRow + static_cast<std::size_t>(columns.first[x]) * nChannels + c;
                std::uint32_t nValue = 0;
                for (std::size_t k = 0; k < weights.size(); ++k)
                    nValue += weights[k] * pSample[k * nChannels];
                slot.values[static_cast<std::size_t>(x) * nChannels + c] = nValue;
            }
        }
        return slot.values;
    };

    const std::uint64_t nTotal = static_cast<std::uint64_t>(columns.nTotal) * rows.nTotal;
    std::vector<std::uint64_t> sums(nTargetSamples);
    for (std::int32_t y = 0; y < target.getHeight(); ++y) {
        yieldEveryBand(y);
        std::fill(sums.begin(), sums.end(), 0);
        for (std::size_t k = 0; k < rows.weights[y].size(); ++k) {
            const std::vector<std::uint32_t>& values = resampleRow(rows.first[y] + static_cast<std::int32_t>(k));
            const std::uint64_t nWeight = rows.weights[y][k];
            for (std::size_t i = 0; i < nTargetSamples; ++i)
                sums[i] += nWeight * values[i];
        }
        unsigned char* pOut = writer.getBuffer();
        for (std::size_t i = 0; i < nTargetSamples; ++i)
            pOut[i] = static_cast<unsigned char>((sums[i] + nTotal / 2) / nTotal);
        writer.putRow(y);
    }
}

}
