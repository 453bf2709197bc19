#include "CodecTestSupport.h"

#include "codec/codec.ScaleModule.h"

#include <gtest/gtest.h>

using namespace velmo::codec;
using namespace codectest;

namespace {

OperationResult scaleTo(const TestDib& input, std::int32_t nWidth, std::int32_t nHeight, std::size_t nOutputSize = 1 << 20)
{
    return runOperation(kScaleOpcode, input, nOutputSize, [&](ParameterBlock& block) {
        block.operation.scale.nOutputWidth = nWidth;
        block.operation.scale.nOutputHeight = nHeight;
        block.operation.scale.nBitCount = input.header.nBitCount;
    });
}

TestDib scaledImage(const OperationResult& result)
{
    return outputImage(result, result.block.operation.scale.outputHeader);
}

TestDib makeRow(std::initializer_list<unsigned char> values)
{
    TestDib image(static_cast<std::int32_t>(values.size()), 1, 8);
    std::copy(values.begin(), values.end(), image.row(0));
    return image;
}

std::vector<unsigned char> firstSamples(const TestDib& image, std::size_t nCount)
{
    return std::vector<unsigned char>(image.row(0), image.row(0) + nCount);
}

}

// A 600-dpi page scaled to 200 dpi: every output sample is the 3x3 block mean, rounded.
TEST(Scale, IntegerFactorIsExactBoxAverage)
{
    for (std::int32_t nBitCount : {8, 24}) {
        SCOPED_TRACE(nBitCount);
        const TestDib input = makeNoiseImage(33, 21, nBitCount, 7);
        const OperationResult result = scaleTo(input, 11, 7);
        ASSERT_EQ(result.nResponse, responseDone);
        const TestDib output = scaledImage(result);
        EXPECT_EQ(output.header.nWidth, 11);
        EXPECT_EQ(output.header.nHeight, 7);
        EXPECT_EQ(result.output.size(), output.bits.size());
        const std::int32_t nChannels = nBitCount / 8;
        for (std::int32_t y = 0; y < 7; ++y) {
            for (std::int32_t i = 0; i < 11 * nChannels; ++i) {
                const std::int32_t x = i / nChannels;
                const std::int32_t c = i % nChannels;
                std::int32_t nSum = 0;
                for (std::int32_t dy = 0; dy < 3; ++dy) {
                    for (std::int32_t dx = 0; dx < 3; ++dx)
                        nSum += input.row(3 * y + dy)[(3 * x + dx) * nChannels + c];
                }
                ASSERT_EQ(output.row(y)[i], (nSum + 4) / 9) << "x " << x << " y " << y;
            }
        }
    }
}

TEST(Scale, FractionalFactorWeighsCoveredArea)
{
    // Each output pixel covers two and a half source pixels.
    const OperationResult result = scaleTo(makeRow({10, 20, 30, 40, 50}), 2, 1);
    ASSERT_EQ(result.nResponse, responseDone);
    EXPECT_EQ(firstSamples(scaledImage(result), 2), (std::vector<unsigned char>{18, 42}));
}

TEST(Scale, UpscalingInterpolatesBetweenCentres)
{
    const OperationResult result = scaleTo(makeRow({0, 255}), 4, 1);
    ASSERT_EQ(result.nResponse, responseDone);
    EXPECT_EQ(firstSamples(scaledImage(result), 4), (std::vector<unsigned char>{0, 64, 191, 255}));
}

// Indexes of a colour table are not grey levels: the mean of red (1) and blue (3) would be
// index 2, green. Every output value is one of the source's, down (3:2, 2:1) and up.
TEST(Scale, PaletteImagesKeepTheirColours)
{
    for (std::int32_t nOutputWidth : {4, 3, 12}) {
        SCOPED_TRACE(nOutputWidth);
        const OperationResult result =
            runOperation(kScaleOpcode, makeRow({1, 3, 1, 3, 1, 3}), 1 << 16, [&](ParameterBlock& block) {
                block.colourTable[1] = ColourEntry{0, 0, 255, 0};
                block.colourTable[2] = ColourEntry{0, 255, 0, 0};
                block.colourTable[3] = ColourEntry{255, 0, 0, 0};
                block.operation.scale.nOutputWidth = nOutputWidth;
                block.operation.scale.nOutputHeight = 1;
            });
        ASSERT_EQ(result.nResponse, responseDone);
        for (unsigned char nValue : firstSamples(scaledImage(result), static_cast<std::size_t>(nOutputWidth)))
            EXPECT_TRUE(nValue == 1 || nValue == 3) << static_cast<int>(nValue);
    }
}

TEST(Scale, OneBitImages)
{
    TestDib input(4, 2, 1);
    input.row(0)[0] = 0xB0; // 1011
    input.row(1)[0] = 0x90; // 1001
    const OperationResult down = scaleTo(input, 2, 1);
    ASSERT_EQ(down.nResponse, responseDone);
    const TestDib halved = scaledImage(down);
    EXPECT_TRUE(halved.isSet(0, 0)) << "3 of 4 set";
    EXPECT_TRUE(halved.isSet(1, 0)) << "2 of 4 set: half the area";

    const OperationResult up = scaleTo(input, 8, 2);
    ASSERT_EQ(up.nResponse, responseDone);
    EXPECT_EQ(scaledImage(up).row(0)[0], 0xCF) << "nearest neighbour doubles each pixel";
}

TEST(Scale, SameSizeCopiesEveryDepth)
{
    for (std::int32_t nBitCount : {1, 8, 24}) {
        TestDib input = makeNoiseImage(13, 5, nBitCount, 3);
        // Padding is not part of the picture; the output's is zero.
        for (std::int32_t y = 0; y < 5; ++y) {
            const std::size_t nUsed = (13 * static_cast<std::size_t>(nBitCount) + 7) / 8;
            std::fill(input.row(y) + nUsed, input.row(y) + input.nStride, 0);
            if (nBitCount == 1)
                input.row(y)[1] &= 0xF8;
        }
        const OperationResult result = scaleTo(input, 0, 0);
        ASSERT_EQ(result.nResponse, responseDone);
        EXPECT_EQ(scaledImage(result).bits, input.bits) << nBitCount;
    }
}

TEST(Scale, BadInputFailsWithStatus)
{
    struct BadCase {
        const char* pszName;
        std::int32_t nWidth;
        std::int32_t nHeight;
        std::int32_t nBitCount;
        std::int32_t nOutputWidth;
        std::int32_t nOutputHeight;
        std::size_t nOutputSize;
        std::int32_t nStatus;
    };
    const BadCase cases[] = {
        {"zero width", 0, 4, 8, 2, 2, 4096, statusInvalidParameter},
        {"negative height", 4, -4, 8, 2, 2, 4096, statusInvalidParameter},
        {"four bits", 4, 4, 4, 2, 2, 4096, statusUnsupportedDepth},
        {"thirty-two bits", 4, 4, 32, 2, 2, 4096, statusUnsupportedDepth},
        {"output too small", 4, 4, 8, 4, 4, 15, statusOutputTooSmall},
        {"output too wide", 4, 4, 8, 70000, 1, 4096, statusInvalidParameter},
        {"output over 2 GB", 4, 4, 24, 60000, 60000, 4096, statusInvalidParameter},
        {"input over 2 GB", 40000, 40000, 24, 2, 2, 4096, statusInvalidParameter},
        {"input wider than any page", 70000, 1, 8, 2, 1, 4096, statusInvalidParameter},
    };
    for (const BadCase& test : cases) {
        SCOPED_TRACE(test.pszName);
        const TestDib input(4, 4, 24);
        const OperationResult result = runOperation(kScaleOpcode, input, test.nOutputSize, [&](ParameterBlock& block) {
            block.imageHeader.nWidth = test.nWidth;
            block.imageHeader.nHeight = test.nHeight;
            block.imageHeader.nBitCount = static_cast<std::uint16_t>(test.nBitCount);
            block.operation.scale.nOutputWidth = test.nOutputWidth;
            block.operation.scale.nOutputHeight = test.nOutputHeight;
        });
        EXPECT_EQ(result.nResponse, responseError);
        EXPECT_EQ(result.nStatus, test.nStatus);
        EXPECT_TRUE(result.output.empty());
    }
}

TEST(Scale, HeaderLargerThanInputFails)
{
    const TestDib input(4, 4, 24);
    const OperationResult result = runOperation(kScaleOpcode, input, 4096, [](ParameterBlock& block) {
        block.imageHeader.nHeight = 5;
        block.operation.scale.nOutputWidth = 2;
        block.operation.scale.nOutputHeight = 2;
    });
    EXPECT_EQ(result.nStatus, statusInputTooShort);
}
