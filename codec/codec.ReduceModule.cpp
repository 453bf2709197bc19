#include "codec/codec.ReduceModule.h"

#include "codec/codec.Ditherer.h"
#include "codec/codec.LuminanceRowReader.h"
#include "codec/codec.ModuleRequest.h"
#include "codec/codec.SampleRowWriter.h"

#include <vector>

namespace velmo::codec {

namespace {

constexpr std::int32_t kRowsPerYield = 64;

std::unique_ptr<Ditherer> createDitherer(const ReduceArea& area, std::int32_t nWidth)
{
    if (area.nBandLow || area.nBandHigh) {
        if (area.nBandLow < 0 || area.nBandLow > area.nBandHigh || area.nBandHigh > 256)
            throw CodecError(statusInvalidParameter);
        return Ditherer::createThresholdBand(nWidth, area.nBandLow, area.nBandHigh);
    }
    if (area.nHalftone == kHalftoneClusteredDot)
        return Ditherer::createClusteredDot(nWidth);
    switch (area.nDitherMethod) {
    case ditherStucki:
        return Ditherer::createStucki(nWidth);
    case ditherBayer:
        return Ditherer::createBayer(nWidth);
    default:
        return Ditherer::createFloydSteinberg(nWidth);
    }
}

void executeReduce(ParameterBlock& block)
{
    const DibView source = getInputImage(block, depthBit(8) | depthBit(24));
    const std::int32_t nWidth = source.getWidth();
    const std::int32_t nHeight = source.getHeight();
    const std::size_t nSize = DibView::computeImageSize(nWidth, nHeight, 1);
    OutputArea output(block);
    const DibView target(output.reserve(nSize), nWidth, nHeight, 1);

    ReduceArea& area = block.operation.reduce;
    std::unique_ptr<Ditherer> ditherer = createDitherer(area, nWidth);
    const Palette palette(block.colourTable);
    LuminanceRowReader reader(source, palette);
    std::vector<unsigned char> black(static_cast<std::size_t>(nWidth));
    for (std::int32_t y = 0; y < nHeight; ++y) {
        if (y % kRowsPerYield == 0)
            yieldToCaller(block);
        ditherer->ditherRow(reader.getRow(y), black.data());
        packBits(black.data(), nWidth, target.getRow(y), target.getStride());
    }
    output.commit(nSize);

    area.outputHeader = block.imageHeader;
    area.outputHeader.nSize = sizeof(DibHeader);
    area.outputHeader.nBitCount = 1;
    area.outputHeader.nSizeImage = static_cast<std::uint32_t>(nSize);
    area.outputHeader.nClrUsed = 2;
    area.outputHeader.nClrImportant = 0;
    for (ColourEntry& entry : block.colourTable)
        entry = ColourEntry{};
    block.colourTable[0] = ColourEntry{255, 255, 255, 0};
}

}

std::int32_t runReduceModule(ParameterBlock& block, std::int32_t nPhase)
{
    return runModulePhase(block, nPhase, &executeReduce);
}

}
