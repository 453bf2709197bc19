// Files the write-TIFF module produces, read by libtiff's tools (native build only).
#ifndef _WIN32

#include "CodecTestSupport.h"
#include "TiffTestSupport.h"

#include "codec/codec.TiffModule.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace velmo::codec;
using namespace codectest;

namespace {

std::vector<unsigned char> writeTiff(const TestDib& image, std::int32_t nLumaFactor = 16, std::int32_t nChromaFactor = 20)
{
    const OperationResult result = runOperation(kWriteTiffOpcode, image, image.bits.size() * 2 + 65536, [&](ParameterBlock& block) {
        WriteTiffArea& area = block.operation.tiff;
        std::memcpy(area.format, kTiffFormatTag, sizeof area.format);
        area.nBitCount = image.header.nBitCount;
        area.nPageCount = 1;
        area.nCompression = image.header.nBitCount == 1 ? 4 : image.header.nBitCount == 8 ? 5 : 6;
        area.nLumaFactor = nLumaFactor;
        area.nChromaFactor = nChromaFactor;
    });
    EXPECT_EQ(result.nResponse, responseDone) << result.nStatus;
    return result.output;
}

// tiffinfo reads the file without a complaint, and tiffcp decodes it into one
// uncompressed strip.
std::vector<unsigned char> decodeWithLibtiff(const std::vector<unsigned char>& file, const std::string& name)
{
    const std::string path = writeTempFile(name + ".tif", file);
    std::string report;
    EXPECT_EQ(runCommand("tiffinfo -D " + path, &report), 0) << report;
    EXPECT_EQ(report.find("rror"), std::string::npos) << report;
    EXPECT_EQ(report.find("arning"), std::string::npos) << report;
    const std::string plainPath = testing::TempDir() + name + "-plain.tif";
    EXPECT_EQ(runCommand("tiffcp -c none -r 100000 " + path + " " + plainPath, &report), 0) << report;
    return readSingleStrip(readWholeFile(plainPath));
}

// Rows top-down without padding, as TIFF holds them.
std::vector<unsigned char> tiffRows(const TestDib& image)
{
    const std::size_t nRowBytes = (static_cast<std::size_t>(image.header.nWidth) * image.header.nBitCount + 7) / 8;
    std::vector<unsigned char> rows;
    for (std::int32_t y = 0; y < image.header.nHeight; ++y)
        rows.insert(rows.end(), image.row(y), image.row(y) + nRowBytes);
    return rows;
}

}

TEST(TiffInterop, LzwIsPixelExact)
{
    struct LzwCase {
        const char* pszName;
        TestDib image;
    };
    TestDib flat(1203, 40, 8);
    std::fill(flat.bits.begin(), flat.bits.end(), 77);
    TestDib ramp(256, 300, 8);
    for (std::int32_t y = 0; y < 300; ++y) {
        for (std::int32_t x = 0; x < 256; ++x)
            ramp.row(y)[x] = static_cast<unsigned char>((x + y / 16) & 0xFF);
    }
    TestDib palette = makeNoiseImage(61, 17, 8, 4);
    palette.palette[3] = ColourEntry{1, 2, 3, 0};
    LzwCase cases[] = {
        {"noise, many table resets", makeNoiseImage(1999, 301, 8, 2)},
        {"one grey, the longest strings", flat},
        {"ramp", ramp},
        {"palette", palette},
        {"one pixel", makeNoiseImage(1, 1, 8, 3)},
    };
    int nCase = 0;
    for (const LzwCase& test : cases) {
        SCOPED_TRACE(test.pszName);
        const std::vector<unsigned char> file = writeTiff(test.image);
        EXPECT_EQ(decodeWithLibtiff(file, "lzw" + std::to_string(nCase++)), tiffRows(test.image));
    }
}

#endif
