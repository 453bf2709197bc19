#include "CodecTestSupport.h"

#include <cmath>
#include <cstring>

using namespace velmo::codec;

namespace codectest {

TestDib::TestDib(std::int32_t nWidth, std::int32_t nHeight, std::int32_t nBitCount)
    : nStride((static_cast<std::size_t>(nWidth) * nBitCount + 31) / 32 * 4),
      bits(nStride * static_cast<std::size_t>(nHeight)), palette(kColourTableEntries)
{
    header.nSize = sizeof(DibHeader);
    header.nWidth = nWidth;
    header.nHeight = nHeight;
    header.nPlanes = 1;
    header.nBitCount = static_cast<std::uint16_t>(nBitCount);
    header.nSizeImage = static_cast<std::uint32_t>(bits.size());
    header.nXPelsPerMeter = header.nYPelsPerMeter = 23622;
}

unsigned char* TestDib::row(std::int32_t nTopDownRow)
{
    return bits.data() + static_cast<std::size_t>(header.nHeight - 1 - nTopDownRow) * nStride;
}

const unsigned char* TestDib::row(std::int32_t nTopDownRow) const
{
    return bits.data() + static_cast<std::size_t>(header.nHeight - 1 - nTopDownRow) * nStride;
}

bool TestDib::isSet(std::int32_t x, std::int32_t y) const
{
    return (row(y)[x >> 3] >> (7 - (x & 7))) & 1;
}

void TestDib::setPixel(std::int32_t x, std::int32_t y, unsigned char nBlue, unsigned char nGreen, unsigned char nRed)
{
    unsigned char* p = row(y) + static_cast<std::size_t>(x) * 3;
    p[0] = nBlue;
    p[1] = nGreen;
    p[2] = nRed;
}

OperationResult runOperation(std::uint32_t nOpcode, const TestDib& input, std::size_t nOutputSize,
                             const std::function<void(ParameterBlock&)>& setUp)
{
    Engine& engine = Engine::getProcessEngine();
    for (std::uint32_t nIndex : Engine::getBuiltinModuleIndexes())
        engine.registerModule(nIndex * 1000, kInterfaceVersion);

    std::vector<unsigned char> inputBits = input.bits;
    OperationResult result;
    result.output.assign(nOutputSize, 0xCD);
    ParameterBlock& block = result.block;
    initialiseParameterBlock(block);
    block.nOpcode = nOpcode;
    block.nFlags = 256;
    block.imageHeader = input.header;
    std::memcpy(block.colourTable, input.palette.data(), sizeof block.colourTable);
    block.input.start.set(inputBits.data());
    block.input.read.set(inputBits.data());
    block.input.write.set(inputBits.data() + inputBits.size());
    block.input.end.set(inputBits.data() + inputBits.size());
    block.input.nFlags = 1;
    block.output.start.set(result.output.data());
    block.output.read.set(result.output.data());
    block.output.write.set(result.output.data());
    block.output.end.set(result.output.data() + result.output.size());
    block.output.nFlags = 1;
    setUp(block);

    result.nResponse = engine.runPhase(&block, phaseStart);
    if (result.nResponse == responseDone) {
        result.nResponse = engine.runPhase(&block, phaseExecute);
        engine.runPhase(&block, phaseFinish);
    }
    result.nStatus = block.nStatus;
    result.output.resize(static_cast<std::size_t>(block.output.write.get() - result.output.data()));
    // The input belongs to the test; the queue's addresses are stale from here on.
    block.input = ByteQueue{};
    block.output = ByteQueue{};
    return result;
}

TestDib outputImage(const OperationResult& result, const DibHeader& header)
{
    TestDib image(header.nWidth, header.nHeight, header.nBitCount);
    if (result.output.size() >= image.bits.size())
        std::memcpy(image.bits.data(), result.output.data(), image.bits.size());
    return image;
}

TestDib makeNoiseImage(std::int32_t nWidth, std::int32_t nHeight, std::int32_t nBitCount, std::uint32_t nSeed)
{
    TestDib image(nWidth, nHeight, nBitCount);
    std::uint32_t nState = nSeed;
    for (unsigned char& byte : image.bits) {
        nState = nState * 1664525u + 1013904223u;
        byte = static_cast<unsigned char>(nState >> 24);
    }
    return image;
}

TestDib makePhotoImage(std::int32_t nWidth, std::int32_t nHeight)
{
    TestDib image(nWidth, nHeight, 24);
    std::uint32_t nState = 12345;
    for (std::int32_t y = 0; y < nHeight; ++y) {
        for (std::int32_t x = 0; x < nWidth; ++x) {
            nState = nState * 1664525u + 1013904223u;
            const double dGrain = static_cast<double>(nState >> 28) - 7.5;
            const double dShade = 100.0 * std::sin(x / 37.0) * std::cos(y / 23.0);
            const bool bInDisc = (x - nWidth / 3) * (x - nWidth / 3) + (y - nHeight / 2) * (y - nHeight / 2) < nWidth * nHeight / 16;
            auto clampSample = [](double v) { return static_cast<unsigned char>(std::lround(std::fmin(255.0, std::fmax(0.0, v)))); };
            const double dRed = 128 + dShade + dGrain + (bInDisc ? 60 : 0);
            const double dGreen = 40 + 170.0 * y / nHeight + dGrain;
            const double dBlue = 200 - 120.0 * x / nWidth - 0.5 * dShade + dGrain;
            image.setPixel(x, y, clampSample(dBlue), clampSample(dGreen), clampSample(dRed));
        }
    }
    return image;
}

}
