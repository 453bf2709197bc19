#include "codec/codec.ScaleModule.h"

#include "codec/codec.ModuleRequest.h"
#include "codec/codec.Palette.h"
#include "codec/codec.Scaler.h"

namespace velmo::codec {

namespace {

void executeScale(ParameterBlock& block)
{
    const DibView source = getInputImage(block, depthBit(1) | depthBit(8) | depthBit(24));
    ScaleArea& area = block.operation.scale;
    if (area.nBitCount != 0 && area.nBitCount != source.getBitCount())
        throw CodecError(statusInvalidParameter);
    const std::int32_t nWidth = area.nOutputWidth < 1 ? source.getWidth() : area.nOutputWidth;
    const std::int32_t nHeight = area.nOutputHeight < 1 ? source.getHeight() : area.nOutputHeight;
    const std::size_t nSize = DibView::computeImageSize(nWidth, nHeight, source.getBitCount());
    OutputArea output(block);
    const DibView target(output.reserve(nSize), nWidth, nHeight, source.getBitCount());
    const bool bIndexed = source.getBitCount() == 8 && !Palette(block.colourTable).isGreyRamp();
    Scaler(block, bIndexed).scale(source, target);
    output.commit(nSize);

    area.outputHeader = block.imageHeader;
    area.outputHeader.nSize = sizeof(DibHeader);
    area.outputHeader.nWidth = nWidth;
    area.outputHeader.nHeight = nHeight;
    area.outputHeader.nSizeImage = static_cast<std::uint32_t>(nSize);
}

}

std::int32_t runScaleModule(ParameterBlock& block, std::int32_t nPhase)
{
    return runModulePhase(block, nPhase, &executeScale);
}

}
