// Files the write-TIFF module produces, read by libtiff's tools (native build only).
#ifndef _WIN32

#include "CodecTestSupport.h"
#include "TiffTestSupport.h"

#include "codec/codec.TiffModule.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <sstream>

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

// tiffinfo reads the file without a complaint (but libtiff's notice that old-style JPEG
// is deprecated), and libtiff decodes it into one uncompressed strip: tiffcp keeps the
// samples as they are, tiff2rgba turns an old-style JPEG page into RGBA.
std::vector<unsigned char> decodeWithLibtiff(const std::vector<unsigned char>& file, const std::string& name, bool bOldStyleJpeg = false)
{
    const std::string path = writeTempFile(name + ".tif", file);
    std::string report;
    EXPECT_EQ(runCommand("{ tiffinfo -D " + path + " 2>&1" + (bOldStyleJpeg ? " | grep -v 'old-style JPEG compression mode'" : "") + "; }", &report), 0);
    EXPECT_EQ(report.find("rror"), std::string::npos) << report;
    EXPECT_EQ(report.find("arning"), std::string::npos) << report;
    const std::string plainPath = scratchPath(name + "-plain.tif");
    const std::string tool = bOldStyleJpeg ? "tiff2rgba" : "tiffcp";
    EXPECT_EQ(runCommand(tool + " -c none -r 100000 " + path + " " + plainPath, &report), 0) << report;
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

struct Rgb {
    std::int32_t nWidth = 0;
    std::int32_t nHeight = 0;
    std::vector<unsigned char> samples;
};

Rgb readPpm(const std::vector<unsigned char>& file)
{
    Rgb image;
    std::string text(file.begin(), file.begin() + std::min<std::size_t>(file.size(), 64));
    std::istringstream header(text);
    std::string magic;
    int nMaximum = 0;
    header >> magic >> image.nWidth >> image.nHeight >> nMaximum;
    const std::size_t nSize = static_cast<std::size_t>(image.nWidth) * image.nHeight * 3;
    const std::size_t nDataStart = static_cast<std::size_t>(header.tellg()) + 1;
    if (magic == "P6" && nMaximum == 255 && nDataStart + nSize <= file.size())
        image.samples.assign(file.begin() + nDataStart, file.begin() + nDataStart + nSize);
    return image;
}

// Decoded samples are RGB or RGBA (nStep 3 or 4), rows top-down.
double psnr(const TestDib& source, const std::vector<unsigned char>& decoded, int nStep)
{
    double dSquares = 0;
    for (std::int32_t y = 0; y < source.header.nHeight; ++y) {
        for (std::int32_t x = 0; x < source.header.nWidth; ++x) {
            for (int c = 0; c < 3; ++c) {
                const double d = source.row(y)[3 * x + 2 - c] - decoded[(static_cast<std::size_t>(y) * source.header.nWidth + x) * nStep + c];
                dSquares += d * d;
            }
        }
    }
    const double dMeanSquare = dSquares / (3.0 * source.header.nWidth * source.header.nHeight);
    return 10 * std::log10(255.0 * 255.0 / dMeanSquare);
}

// The JPEG stream the page's fields point at, decoded by djpeg.
Rgb decodeJpegPage(const std::vector<unsigned char>& file, const std::string& name)
{
    auto fields = readTiffFields(file);
    const std::uint32_t nBegin = fields[513].at(0);
    const std::uint32_t nLength = fields[514].at(0);
    if (nBegin + static_cast<std::size_t>(nLength) > file.size())
        return {};
    const std::string path = writeTempFile(name + ".jpg", std::vector<unsigned char>(file.begin() + nBegin, file.begin() + nBegin + nLength));
    const std::string ppmPath = scratchPath(name + ".ppm");
    std::string report;
    EXPECT_EQ(runCommand("djpeg -ppm -outfile " + ppmPath + " " + path, &report), 0) << report;
    EXPECT_EQ(report, "");
    return readPpm(readWholeFile(ppmPath));
}

}

TEST(TiffInterop, OldStyleJpegDecodesWithQualityFallingWithTheFactor)
{
    const TestDib photo = makePhotoImage(203, 158);
    const std::int32_t factors[][2] = {{16, 20}, {32, 40}, {48, 60}, {64, 80}};
    double dPrevious = 1000;
    for (const auto& factor : factors) {
        SCOPED_TRACE(factor[0]);
        const std::vector<unsigned char> file = writeTiff(photo, factor[0], factor[1]);
        const Rgb decoded = decodeJpegPage(file, "jpeg" + std::to_string(factor[0]));
        ASSERT_EQ(decoded.nWidth, 203);
        ASSERT_EQ(decoded.nHeight, 158);
        ASSERT_EQ(decoded.samples.size(), 203u * 158 * 3);
        const double dPsnr = psnr(photo, decoded.samples, 3);
        const std::vector<unsigned char> libtiffRgba = decodeWithLibtiff(file, "jpeg-libtiff", true);
        ASSERT_EQ(libtiffRgba.size(), 203u * 158 * 4);
        EXPECT_NEAR(psnr(photo, libtiffRgba, 4), dPsnr, 1.0) << "libtiff decodes the page through its fields";
        if (factor[0] == 16) {
            EXPECT_GE(dPsnr, 30.0);
        }
        EXPECT_LT(dPsnr, dPrevious);
        dPrevious = dPsnr;
    }
}

TEST(TiffInterop, JpegQualityMatchesCjpegAtTheSameTables)
{
    // Factor 16 halves the Annex K tables, as cjpeg -quality 75 does.
    const TestDib photo = makePhotoImage(320, 240);
    std::vector<unsigned char> ppm;
    const std::string header = "P6\n320 240\n255\n";
    ppm.assign(header.begin(), header.end());
    for (std::int32_t y = 0; y < 240; ++y) {
        for (std::int32_t x = 0; x < 320; ++x) {
            for (int c = 2; c >= 0; --c)
                ppm.push_back(photo.row(y)[3 * x + c]);
        }
    }
    const std::string sourcePath = writeTempFile("cjpeg-source.ppm", ppm);
    const std::string jpegPath = scratchPath("cjpeg.jpg");
    ASSERT_EQ(runCommand("cjpeg -quality 75 -outfile " + jpegPath + " " + sourcePath), 0);
    const std::string decodedPath = scratchPath("cjpeg-decoded.ppm");
    ASSERT_EQ(runCommand("djpeg -ppm -outfile " + decodedPath + " " + jpegPath), 0);
    const double dCjpeg = psnr(photo, readPpm(readWholeFile(decodedPath)).samples, 3);

    const Rgb ours = decodeJpegPage(writeTiff(photo, 16, 16), "jpeg-quality75");
    ASSERT_EQ(ours.samples.size(), 320u * 240 * 3);
    EXPECT_GE(psnr(photo, ours.samples, 3), dCjpeg - 0.3) << "cjpeg: " << dCjpeg << " dB";
}

TEST(TiffInterop, OldStyleJpegFieldsPointIntoTheStream)
{
    const std::vector<unsigned char> file = writeTiff(makePhotoImage(40, 24), 32, 64);
    auto fields = readTiffFields(file);
    EXPECT_EQ(fields[259], std::vector<std::uint32_t>{6});
    EXPECT_EQ(fields[262], std::vector<std::uint32_t>{6});
    EXPECT_EQ(fields[530], (std::vector<std::uint32_t>{2, 2}));
    const std::uint32_t nBegin = fields[513].at(0);
    const std::uint32_t nEnd = nBegin + fields[514].at(0);
    const std::uint32_t nStrip = fields[273].at(0);
    const std::uint32_t nStripEnd = nStrip + fields[279].at(0);
    ASSERT_LE(nEnd, file.size());
    EXPECT_EQ(file[nBegin], 0xFF);
    EXPECT_EQ(file[nBegin + 1], 0xD8);
    EXPECT_EQ(file[nEnd - 2], 0xFF);
    EXPECT_EQ(file[nEnd - 1], 0xD9);
    EXPECT_EQ(nStripEnd, nEnd - 2) << "the strip is the scan, up to the end marker";
    EXPECT_EQ(file[nStrip - 14], 0xFF) << "the strip follows the start-of-scan header";
    EXPECT_EQ(file[nStrip - 13], 0xDA);
    // Luminance table 16 x 32 / 32, chrominance 17 x 64 / 32 at the DC position.
    ASSERT_EQ(fields[519].size(), 3u);
    EXPECT_EQ(file[fields[519][0]], 16);
    EXPECT_EQ(file[fields[519][1]], 34);
    EXPECT_EQ(fields[519][1], fields[519][2]);
    // Counts of code lengths of the luminance DC table, then its first symbol.
    EXPECT_EQ(file[fields[520][0] + 1], 1);
    EXPECT_EQ(file[fields[520][0] + 16], 0);
    EXPECT_GT(fields[521][1], fields[521][0]);
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

TEST(TiffInterop, Group4IsPixelExact)
{
    TestDib noise = makeNoiseImage(301, 97, 1, 8);
    TestDib text(1728, 64, 1);
    for (std::int32_t y = 10; y < 50; ++y) {
        for (std::int32_t x = 100; x < 1600; x += 13)
            text.row(y)[x / 8] |= static_cast<unsigned char>(0xC0 >> (x % 8));
    }
    TestDib inverted = makeNoiseImage(64, 16, 1, 9);
    inverted.palette[1] = ColourEntry{255, 255, 255, 0};
    struct Group4Case {
        const char* pszName;
        const TestDib& image;
        bool bInverted;
    };
    const Group4Case cases[] = {{"noise", noise, false}, {"text-like strokes", text, false}, {"white is one", inverted, true}};
    int nCase = 0;
    for (const Group4Case& test : cases) {
        SCOPED_TRACE(test.pszName);
        const std::vector<unsigned char> file = writeTiff(test.image);
        auto fields = readTiffFields(file);
        EXPECT_EQ(fields[259], std::vector<std::uint32_t>{4});
        EXPECT_EQ(fields[262], std::vector<std::uint32_t>{0});
        std::vector<unsigned char> expected = tiffRows(test.image);
        const std::int32_t nWidth = test.image.header.nWidth;
        const std::size_t nRowBytes = (static_cast<std::size_t>(nWidth) + 7) / 8;
        for (std::size_t i = 0; i < expected.size(); ++i) {
            if (test.bInverted)
                expected[i] = static_cast<unsigned char>(~expected[i]);
            // Bits past the width are not part of the picture; libtiff writes them as zero.
            if (nWidth % 8 && i % nRowBytes == nRowBytes - 1)
                expected[i] &= static_cast<unsigned char>(0xFF00 >> (nWidth % 8));
        }
        EXPECT_EQ(decodeWithLibtiff(file, "g4-" + std::to_string(nCase++)), expected);
    }
}

#endif
