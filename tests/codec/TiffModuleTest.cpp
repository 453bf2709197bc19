#include "CodecTestSupport.h"
#include "TiffTestSupport.h"

#include "codec/codec.TiffModule.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace velmo::codec;
using namespace codectest;

namespace {

void setTiffArea(ParameterBlock& block, std::int32_t nBitCount)
{
    WriteTiffArea& area = block.operation.tiff;
    std::memcpy(area.format, kTiffFormatTag, sizeof area.format);
    area.nBitCount = nBitCount;
    area.nPageCount = 1;
    area.nOptions = 0;
    area.nCompression = nBitCount == 1 ? 4 : nBitCount == 8 ? 5 : 6;
    area.nLumaFactor = 16;
    area.nChromaFactor = 20;
}

}

TEST(TiffModule, LzwPageFields)
{
    TestDib image = makeNoiseImage(37, 11, 8, 5);
    image.header.nXPelsPerMeter = 7874;
    image.header.nYPelsPerMeter = 3937;
    const OperationResult result = runOperation(kWriteTiffOpcode, image, 1 << 16, [](ParameterBlock& block) { setTiffArea(block, 8); });
    ASSERT_EQ(result.nResponse, responseDone);
    EXPECT_EQ(static_cast<std::size_t>(result.block.operation.tiff.nOutputLength), result.output.size());

    auto fields = readTiffFields(result.output);
    EXPECT_EQ(fields[256], std::vector<std::uint32_t>{37});
    EXPECT_EQ(fields[257], std::vector<std::uint32_t>{11});
    EXPECT_EQ(fields[258], std::vector<std::uint32_t>{8});
    EXPECT_EQ(fields[259], std::vector<std::uint32_t>{5});
    EXPECT_EQ(fields[262], std::vector<std::uint32_t>{1}) << "no colour table: grey levels";
    EXPECT_EQ(fields[282], (std::vector<std::uint32_t>{200, 1}));
    EXPECT_EQ(fields[283], (std::vector<std::uint32_t>{100, 1}));
    EXPECT_EQ(fields[296], std::vector<std::uint32_t>{2});
    EXPECT_EQ(fields.count(320), 0u);
}

TEST(TiffModule, PaletteImageCarriesColorMap)
{
    TestDib image = makeNoiseImage(8, 8, 8, 9);
    for (int i = 0; i < 256; ++i)
        image.palette[i] = ColourEntry{static_cast<std::uint8_t>(i), 0, static_cast<std::uint8_t>(255 - i), 0};
    const OperationResult result = runOperation(kWriteTiffOpcode, image, 1 << 16, [](ParameterBlock& block) { setTiffArea(block, 8); });
    ASSERT_EQ(result.nResponse, responseDone);
    auto fields = readTiffFields(result.output);
    EXPECT_EQ(fields[262], std::vector<std::uint32_t>{3});
    ASSERT_EQ(fields[320].size(), 768u);
    EXPECT_EQ(fields[320][0], 65535u) << "red of entry 0";
    EXPECT_EQ(fields[320][256 + 7], 0u) << "green of entry 7";
    EXPECT_EQ(fields[320][512 + 1], 257u) << "blue of entry 1";
}

TEST(TiffModule, BadRequestsFailWithStatus)
{
    struct BadCase {
        const char* pszName;
        std::int32_t nBitCount;
        std::size_t nOutputSize;
        void (*change)(ParameterBlock& block);
        std::int32_t nStatus;
    };
    const BadCase cases[] = {
        {"other format", 8, 1 << 16, [](ParameterBlock& block) { block.operation.tiff.format[3] = 'X'; }, statusInvalidParameter},
        {"compression not matching depth", 8, 1 << 16, [](ParameterBlock& block) { block.operation.tiff.nCompression = 4; },
         statusInvalidParameter},
        {"depth not matching image", 8, 1 << 16, [](ParameterBlock& block) { block.operation.tiff.nBitCount = 24; },
         statusInvalidParameter},
        {"two pages", 8, 1 << 16, [](ParameterBlock& block) { block.operation.tiff.nPageCount = 2; }, statusInvalidParameter},
        {"four bits", 4, 1 << 16, [](ParameterBlock& block) { block.imageHeader.nBitCount = 4; }, statusUnsupportedDepth},
        {"output too small", 8, 100, [](ParameterBlock&) {}, statusOutputTooSmall},
        {"no output area", 8, 0, [](ParameterBlock&) {}, statusOutputTooSmall},
        {"JPEG factor zero", 24, 1 << 16, [](ParameterBlock& block) { block.operation.tiff.nChromaFactor = 0; }, statusInvalidParameter},
        {"JPEG output too small", 24, 700, [](ParameterBlock&) {}, statusOutputTooSmall},
        {"Group 4 output too small", 1, 100, [](ParameterBlock&) {}, statusOutputTooSmall},
    };
    for (const BadCase& test : cases) {
        SCOPED_TRACE(test.pszName);
        const TestDib image = makeNoiseImage(64, 64, test.nBitCount == 4 ? 8 : test.nBitCount, 1);
        const OperationResult result = runOperation(kWriteTiffOpcode, image, test.nOutputSize, [&](ParameterBlock& block) {
            setTiffArea(block, test.nBitCount);
            test.change(block);
        });
        EXPECT_EQ(result.nResponse, responseError);
        EXPECT_EQ(result.nStatus, test.nStatus);
        EXPECT_TRUE(result.output.empty());
    }
}
