#include "CodecTestSupport.h"

#include "codec/codec.ReduceModule.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace velmo::codec;
using namespace codectest;

namespace {

struct DitherRow {
    const char* pszName;
    std::int32_t words[7];
};

// The operation-area words of the driver's dither settings.
const DitherRow kFloydSteinberg{"Floyd-Steinberg", {0, 0, 0, 0, 1, 0, 1}};
const DitherRow kStucki{"Stucki", {0, 0, 0, 0, 2, 0, 1}};
const DitherRow kBayer{"Bayer", {0, 0, 0, 0, 3, 0, 1}};
const DitherRow kClusteredDot{"clustered dot", {4, 0, 0, 0, 0, 0, 3}};
const DitherRow kThresholdBand{"threshold band", {0, 192, 223, 0, 0, 0, 0}};

OperationResult reduce(const TestDib& input, const DitherRow& row, std::size_t nOutputSize = 1 << 20)
{
    return runOperation(kReduceOpcode, input, nOutputSize, [&](ParameterBlock& block) {
        std::copy(std::begin(row.words), std::end(row.words), block.operation.words);
    });
}

TestDib reducedImage(const OperationResult& result)
{
    return outputImage(result, result.block.operation.reduce.outputHeader);
}

TestDib makeGrey(std::int32_t nWidth, std::int32_t nHeight, unsigned char nLevel)
{
    TestDib image(nWidth, nHeight, 24);
    for (std::int32_t y = 0; y < nHeight; ++y) {
        for (std::int32_t x = 0; x < nWidth; ++x)
            image.setPixel(x, y, nLevel, nLevel, nLevel);
    }
    return image;
}

double blackDensity(const TestDib& image)
{
    std::int64_t nBlack = 0;
    for (std::int32_t y = 0; y < image.header.nHeight; ++y) {
        for (std::int32_t x = 0; x < image.header.nWidth; ++x)
            nBlack += image.isSet(x, y);
    }
    return static_cast<double>(nBlack) / (static_cast<double>(image.header.nWidth) * image.header.nHeight);
}

}

TEST(Reduce, DitherDensityFollowsDarkness)
{
    for (const DitherRow* pRow : {&kFloydSteinberg, &kStucki, &kBayer, &kClusteredDot}) {
        for (int nLevel = 16; nLevel < 256; nLevel += 32) {
            SCOPED_TRACE(testing::Message() << pRow->pszName << " level " << nLevel);
            const OperationResult result = reduce(makeGrey(96, 96, static_cast<unsigned char>(nLevel)), *pRow);
            ASSERT_EQ(result.nResponse, responseDone);
            EXPECT_NEAR(blackDensity(reducedImage(result)), 1.0 - nLevel / 255.0, 0.03);
        }
    }
}

TEST(Reduce, ErrorDiffusionSpreadsARampEvenly)
{
    // Darkness 1 - x / 255 along each row; every 32-column stripe keeps its mean.
    TestDib ramp(256, 64, 24);
    for (std::int32_t y = 0; y < 64; ++y) {
        for (std::int32_t x = 0; x < 256; ++x)
            ramp.setPixel(x, y, static_cast<unsigned char>(x), static_cast<unsigned char>(x), static_cast<unsigned char>(x));
    }
    for (const DitherRow* pRow : {&kFloydSteinberg, &kStucki}) {
        const TestDib output = reducedImage(reduce(ramp, *pRow));
        for (std::int32_t nStripe = 0; nStripe < 8; ++nStripe) {
            std::int32_t nBlack = 0;
            for (std::int32_t y = 0; y < 64; ++y) {
                for (std::int32_t x = nStripe * 32; x < nStripe * 32 + 32; ++x)
                    nBlack += output.isSet(x, y);
            }
            const double dDarkness = 1.0 - (nStripe * 32 + 15.5) / 255.0;
            EXPECT_NEAR(nBlack / 2048.0, dDarkness, 0.04) << pRow->pszName << " stripe " << nStripe;
        }
    }
}

TEST(Reduce, ErrorDiffusionLeavesPaperWhiteClean)
{
    // Grey patches on white: their error stops at the white around them, where it would
    // otherwise leave stray dots.
    for (int nLevel : {60, 100, 140, 180, 220}) {
        TestDib page = makeGrey(64, 64, 255);
        for (std::int32_t y = 20; y < 36; ++y) {
            for (std::int32_t x = 20; x < 36; ++x)
                page.setPixel(x, y, static_cast<unsigned char>(nLevel), static_cast<unsigned char>(nLevel), static_cast<unsigned char>(nLevel));
        }
        for (const DitherRow* pRow : {&kFloydSteinberg, &kStucki}) {
            SCOPED_TRACE(testing::Message() << pRow->pszName << " level " << nLevel);
            const TestDib output = reducedImage(reduce(page, *pRow));
            std::int32_t nInside = 0;
            std::int32_t nOutside = 0;
            for (std::int32_t y = 0; y < 64; ++y) {
                for (std::int32_t x = 0; x < 64; ++x) {
                    const bool bInside = x >= 20 && x < 36 && y >= 20 && y < 36;
                    (bInside ? nInside : nOutside) += output.isSet(x, y);
                }
            }
            EXPECT_EQ(nOutside, 0);
            EXPECT_NEAR(nInside / 256.0, 1.0 - nLevel / 255.0, 0.05);
        }
    }
}

TEST(Reduce, ThresholdBandKeepsBlackTextOnWhite)
{
    TestDib page = makeNoiseImage(77, 23, 24, 11);
    for (std::int32_t y = 0; y < 23; ++y) {
        for (std::int32_t x = 0; x < 77; ++x) {
            const unsigned char nLevel = page.row(y)[x * 3] < 96 ? 0 : 255;
            page.setPixel(x, y, nLevel, nLevel, nLevel);
        }
    }
    const TestDib output = reducedImage(reduce(page, kThresholdBand));
    for (std::int32_t y = 0; y < 23; ++y) {
        for (std::int32_t x = 0; x < 77; ++x)
            ASSERT_EQ(output.isSet(x, y), page.row(y)[x * 3] == 0) << x << "," << y;
    }
    EXPECT_EQ(blackDensity(reducedImage(reduce(makeGrey(16, 16, 191), kThresholdBand))), 1.0);
    EXPECT_EQ(blackDensity(reducedImage(reduce(makeGrey(16, 16, 223), kThresholdBand))), 0.0);
    EXPECT_NEAR(blackDensity(reducedImage(reduce(makeGrey(16, 16, 207), kThresholdBand))), 0.5, 0.05);
}

TEST(Reduce, LuminanceWeighsRedGreenBlue)
{
    // Red 255 has luminance 76 (76.245 truncated), green 149, blue 29.
    TestDib colours(3, 1, 24);
    colours.setPixel(0, 0, 0, 0, 255);
    colours.setPixel(1, 0, 0, 255, 0);
    colours.setPixel(2, 0, 255, 0, 0);
    struct Cut {
        std::int32_t nLevel;
        bool bRed, bGreen, bBlue;
    };
    for (const Cut& cut : {Cut{77, true, false, true}, Cut{76, false, false, true}, Cut{150, true, true, true},
                           Cut{149, true, false, true}, Cut{29, false, false, false}}) {
        const DitherRow threshold{"cut", {0, cut.nLevel, cut.nLevel, 0, 0, 0, 0}};
        const TestDib output = reducedImage(reduce(colours, threshold));
        EXPECT_EQ(output.isSet(0, 0), cut.bRed) << cut.nLevel;
        EXPECT_EQ(output.isSet(1, 0), cut.bGreen) << cut.nLevel;
        EXPECT_EQ(output.isSet(2, 0), cut.bBlue) << cut.nLevel;
    }
}

TEST(Reduce, EightBitInputUsesItsPalette)
{
    TestDib image(2, 1, 8);
    image.palette[0] = ColourEntry{255, 255, 255, 0};
    image.row(0)[0] = 0;
    image.row(0)[1] = 1;
    const OperationResult result = reduce(image, kThresholdBand);
    ASSERT_EQ(result.nResponse, responseDone);
    const TestDib output = reducedImage(result);
    EXPECT_FALSE(output.isSet(0, 0));
    EXPECT_TRUE(output.isSet(1, 0));

    const DibHeader& header = result.block.operation.reduce.outputHeader;
    EXPECT_EQ(header.nBitCount, 1);
    EXPECT_EQ(header.nClrUsed, 2u);
    EXPECT_EQ(header.nSizeImage, 4u);
    EXPECT_EQ(result.block.colourTable[0].nRed, 255);
    EXPECT_EQ(result.block.colourTable[1].nRed, 0);
}

TEST(Reduce, BadInputFailsWithStatus)
{
    EXPECT_EQ(reduce(TestDib(8, 8, 1), kFloydSteinberg).nStatus, statusUnsupportedDepth);
    EXPECT_EQ(reduce(makeGrey(8, 8, 0), DitherRow{"inverted band", {0, 200, 100, 0, 0, 0, 0}}).nStatus,
              statusInvalidParameter);
    EXPECT_EQ(reduce(makeGrey(40, 8, 0), kFloydSteinberg, 39).nStatus, statusOutputTooSmall);
    const OperationResult fits = reduce(makeGrey(40, 8, 0), kFloydSteinberg, 64);
    EXPECT_EQ(fits.nResponse, responseDone);
    EXPECT_EQ(fits.output.size(), 64u);
}

TEST(Reduce, YieldCallbackCanInterrupt)
{
    const OperationResult result = runOperation(kReduceOpcode, makeGrey(8, 8, 0), 4096, [](ParameterBlock& block) {
        block.yield.set([](ParameterBlock*) { return 1; });
    });
    EXPECT_EQ(result.nResponse, responseError);
    EXPECT_EQ(result.nStatus, statusInterrupted);
    EXPECT_NE(result.block.nFlags & flagInterruptSeen, 0u) << "finish saw the interruption";
}
