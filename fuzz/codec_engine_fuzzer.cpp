// The codec engine's three operations on small arbitrary images and parameter values:
// every request ends with "done" or a negative status, never outside its buffers.
#include "codec/codec.Engine.h"
#include "codec/codec.ReduceModule.h"
#include "codec/codec.ScaleModule.h"
#include "codec/codec.TiffModule.h"

#include <cstdlib>
#include <cstring>
#include <vector>

using namespace velmo::codec;

namespace {

// Parameter bytes taken from the front of the input.
constexpr std::size_t kParameterBytes = 12;
const std::uint32_t kOpcodes[] = {kScaleOpcode, kReduceOpcode, kWriteTiffOpcode};
const std::uint16_t kDepths[] = {1, 8, 24, 4};

}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize)
{
    if (nSize < kParameterBytes)
        return 0;
    Engine& engine = Engine::getProcessEngine();
    for (std::uint32_t nIndex : Engine::getBuiltinModuleIndexes())
        engine.registerModule(nIndex * 1000, kInterfaceVersion);

    ParameterBlock block;
    initialiseParameterBlock(block);
    block.nOpcode = kOpcodes[pData[0] % 3];
    const std::uint16_t nDepth = kDepths[pData[1] % 4];
    block.imageHeader.nSize = sizeof(DibHeader);
    // Signed sizes, so that zero and negative ones come up too.
    block.imageHeader.nWidth = static_cast<std::int8_t>(pData[2]);
    block.imageHeader.nHeight = static_cast<std::int8_t>(pData[3]);
    block.imageHeader.nBitCount = nDepth;
    block.imageHeader.nXPelsPerMeter = pData[4] * 100;
    block.imageHeader.nYPelsPerMeter = pData[5] * 100;
    if (pData[1] & 0x80)
        block.colourTable[1] = ColourEntry{pData[6], pData[7], pData[8], 0};

    OperationArea& area = block.operation;
    switch (block.nOpcode) {
    case kScaleOpcode:
        area.scale.nOutputWidth = static_cast<std::int8_t>(pData[6]) * 2;
        area.scale.nOutputHeight = static_cast<std::int8_t>(pData[7]) * 2;
        break;
    case kReduceOpcode:
        area.reduce.nHalftone = pData[6] & 4;
        area.reduce.nBandLow = pData[7] & 0x80 ? pData[7] & 0x7F : 0;
        area.reduce.nBandHigh = pData[7] & 0x80 ? pData[8] : 0;
        area.reduce.nDitherMethod = pData[6] & 3;
        break;
    default:
        std::memcpy(area.tiff.format, kTiffFormatTag, sizeof area.tiff.format);
        area.tiff.nBitCount = nDepth;
        area.tiff.nPageCount = 1;
        area.tiff.nCompression = nDepth == 1 ? 4 : nDepth == 8 ? 5 : 6;
        area.tiff.nLumaFactor = static_cast<std::int8_t>(pData[6]);
        area.tiff.nChromaFactor = pData[7];
        break;
    }

    std::vector<unsigned char> input(pData + kParameterBytes, pData + nSize);
    block.input.start.set(input.data());
    block.input.read.set(input.data());
    block.input.write.set(input.data() + input.size());
    block.input.end.set(input.data() + input.size());
    const std::size_t nOutputSize = static_cast<std::size_t>(pData[9]) * 64 + pData[10];
    std::vector<unsigned char> output(nOutputSize);
    block.output.start.set(output.data());
    block.output.read.set(output.data());
    block.output.write.set(output.data());
    block.output.end.set(output.data() + output.size());

    if (engine.runPhase(&block, phaseStart) != responseDone)
        std::abort();
    const std::int32_t nResponse = engine.runPhase(&block, phaseExecute);
    if (engine.runPhase(&block, phaseFinish) != responseDone)
        std::abort();
    if (nResponse == responseError ? block.nStatus >= 0 : nResponse != responseDone)
        std::abort();
    const std::size_t nWritten = static_cast<std::size_t>(block.output.write.get() - output.data());
    if (nWritten > output.size() || (nResponse == responseError && nWritten != 0))
        std::abort();
    if (block.nOpcode == kWriteTiffOpcode && nResponse == responseDone &&
        (static_cast<std::size_t>(area.tiff.nOutputLength) != nWritten || std::memcmp(output.data(), "II*", 4) != 0))
        std::abort();
    return 0;
}
