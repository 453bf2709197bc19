#include "core/io.File.h"
#include "core/os/Os.h"
#include "driver/CodecRequest.h"
#include "driver/PageBitmap.h"
#include "driver/PageEncoder.h"
#include "driver/PagePlan.h"
#include "driver/TiffDirectory.h"
#include "lib/graphics.LittleEndian.h"
#include "tools/imagefile/RgbImage.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

using namespace velmo;
using namespace velmo::driver;

namespace {

// A captured page: a 24-bit bottom-up bitmap file image, pixels at 1078, painted by a
// function of (x, y from the top) that gives 0xRRGGBB.
void makePage(WorkImage& page, std::int32_t nWidth, std::int32_t nHeight, const std::function<std::uint32_t(int, int)>& paint)
{
    std::int64_t nStride = pagebitmap::rowStride(nWidth, 24);
    ASSERT_EQ(page.reserve(static_cast<std::int32_t>(pagebitmap::kPagePixelOffset + nStride * nHeight)), 0);
    unsigned char* pImage = page.getStart();
    pagebitmap::writeFileHeader(pImage, pagebitmap::kPagePixelOffset);
    codec::DibHeader header{};
    header.nSize = 40;
    header.nWidth = nWidth;
    header.nHeight = nHeight;
    header.nPlanes = 1;
    header.nBitCount = 24;
    header.nXPelsPerMeter = header.nYPelsPerMeter = 23622;  // 600 dpi
    pagebitmap::writeInfoHeader(pImage, header);
    for (int y = 0; y < nHeight; ++y) {
        unsigned char* pRow = pImage + pagebitmap::kPagePixelOffset + (nHeight - 1 - y) * nStride;
        for (int x = 0; x < nWidth; ++x) {
            std::uint32_t nColour = paint(x, y);
            pRow[3 * x] = static_cast<unsigned char>(nColour);
            pRow[3 * x + 1] = static_cast<unsigned char>(nColour >> 8);
            pRow[3 * x + 2] = static_cast<unsigned char>(nColour >> 16);
        }
    }
}

std::uint32_t textLike(int x, int y)
{
    return ((x / 7 + y / 5) % 4 == 0) ? 0x000000 : 0xFFFFFF;
}

std::uint32_t twelveColours(int x, int y)
{
    return (x / 10 + y / 10) % 12 * 0x151515;
}

std::uint32_t photoLike(int x, int y)
{
    return static_cast<std::uint32_t>(x * 255 / 300) << 16 | static_cast<std::uint32_t>(y * 255 / 400) << 8
        | static_cast<std::uint32_t>((x + y) % 256);
}

std::string scratch(const char* pszName)
{
    // In the test's working folder (the build tree), on every platform.
    return std::string("pipeline-test-") + pszName;
}

std::vector<unsigned char> fileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<unsigned char>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Compression, width, length and resolutions of every page of a TIFF file.
struct PageFacts {
    std::int32_t nCompression, nWidth, nLength;
    std::uint32_t nXResolution, nYResolution;
};

std::vector<PageFacts> pagesOf(const std::string& path)
{
    std::vector<unsigned char> bytes = fileBytes(path);
    std::vector<PageFacts> pages;
    using lib::graphics::LittleEndian;
    std::int32_t nIfd = bytes.size() >= 8 ? LittleEndian::toInt32(bytes.data(), 4, 4) : 0;
    while (nIfd > 0 && static_cast<std::size_t>(nIfd) + 2 <= bytes.size()) {
        PageFacts facts{};
        std::int32_t nCount = LittleEndian::toInt32(bytes.data(), nIfd, 2);
        for (std::int32_t i = 0; i < nCount; ++i) {
            const unsigned char* pEntry = bytes.data() + nIfd + 2 + 12 * i;
            std::int32_t nTag = LittleEndian::toInt32(pEntry, 0, 2);
            std::int32_t nType = LittleEndian::toInt32(pEntry, 2, 2);
            std::int32_t nValue = LittleEndian::toInt32(pEntry, 8, nType == 3 ? 2 : 4);
            std::uint32_t nRational = nType == 5 ? static_cast<std::uint32_t>(LittleEndian::toInt32(bytes.data(), nValue, 4))
                                                     / static_cast<std::uint32_t>(LittleEndian::toInt32(bytes.data(), nValue + 4, 4))
                                                 : 0;
            switch (nTag) {
            case 256: facts.nWidth = nValue; break;
            case 257: facts.nLength = nValue; break;
            case 259: facts.nCompression = nValue; break;
            case 282: facts.nXResolution = nRational; break;
            case 283: facts.nYResolution = nRational; break;
            }
        }
        pages.push_back(facts);
        nIfd = LittleEndian::toInt32(bytes.data(), nIfd + 2 + 12 * nCount, 4);
    }
    return pages;
}

}

TEST(WorkImage, ReserveAndTruncateCodes)
{
    WorkImage image;
    EXPECT_EQ(image.reserve(0), 201);
    EXPECT_EQ(image.reserve(-5), 201);
    ASSERT_EQ(image.reserve(100), 0);
    EXPECT_GE(image.getLength(), 100);
    image.getStart()[50] = 7;
    unsigned char* pBlock = image.getStart();
    EXPECT_EQ(image.reserve(20), 0);   // smaller than the length: kept
    EXPECT_EQ(image.getStart(), pBlock);
    EXPECT_EQ(image.truncate(image.getLength() + 1), 301);
    EXPECT_EQ(image.truncate(40), 0);
    EXPECT_EQ(image.getLength(), 40);
    EXPECT_EQ(image.getStart()[50], 0);
    EXPECT_EQ(image.truncate(0), 0);
    EXPECT_EQ(image.getLength(), 0);

    // A writer that says where its writing ended has only that much zeroed again.
    ASSERT_EQ(image.reserve(200), 0);
    std::memset(image.getStart(), 9, 30);
    EXPECT_EQ(image.truncate(10, image.getStart() + 30), 0);
    EXPECT_EQ(image.getStart()[9], 9);
    EXPECT_EQ(image.getStart()[10], 0);
    EXPECT_EQ(image.getStart()[29], 0);
}

TEST(PageBitmap, DistinctColoursStopAfter300)
{
    WorkImage page;
    makePage(page, 120, 80, textLike);
    EXPECT_EQ(countDistinctColours(page.getStart(), page.getLength()), 2);
    makePage(page, 120, 80, twelveColours);
    EXPECT_EQ(countDistinctColours(page.getStart(), page.getLength()), 12);
    makePage(page, 300, 400, photoLike);
    EXPECT_EQ(countDistinctColours(page.getStart(), page.getLength()), 301);
    // A page that claims more rows than it holds is read only as far as it goes.
    codec::DibHeader header = pagebitmap::readInfoHeader(page.getStart());
    header.nHeight = 1 << 30;
    pagebitmap::writeInfoHeader(page.getStart(), header);
    EXPECT_EQ(countDistinctColours(page.getStart(), page.getLength()), 301);
}

TEST(PageEncoder, PagesAppendAsGroup4OrJpeg)
{
    ASSERT_EQ(ensureCodecEngine(), 0);
    std::string pageFile = scratch("pages.tif");
    std::remove(pageFile.c_str());
    struct Case {
        const char* pszName;
        std::uint32_t (*paint)(int, int);
        bool bBilevel;
        std::int32_t nDither;
        std::int32_t nCompression;
    };
    const Case cases[] = {
        {"text, Floyd-Steinberg", textLike, true, 1, 4},
        {"twelve colours, threshold band", twelveColours, true, 4, 4},
        {"photograph, colour", photoLike, false, 1, 6},
        {"photograph, halftone", photoLike, true, 3, 4},
    };
    for (const Case& test : cases) {
        WorkImage page;
        makePage(page, 300, 396, test.paint);
        EXPECT_EQ(encodePage(page, 100, 132, test.bBilevel, test.nDither, pageFile.c_str()), 0) << test.pszName;
        EXPECT_FALSE(core::os::fileExists((pageFile + ".x").c_str())) << test.pszName;
    }
    std::vector<PageFacts> pages = pagesOf(pageFile);
    ASSERT_EQ(pages.size(), 4u);
    for (std::size_t i = 0; i < pages.size(); ++i) {
        EXPECT_EQ(pages[i].nCompression, cases[i].nCompression) << cases[i].pszName;
        EXPECT_EQ(pages[i].nWidth, 100);
        EXPECT_EQ(pages[i].nLength, 132);
        EXPECT_EQ(pages[i].nXResolution, pages[i].nYResolution) << cases[i].pszName;
        EXPECT_EQ(pages[i].nXResolution, 200u) << cases[i].pszName;
    }
}

// A captured page carries the driver's colour table, whose entry 1 (a dark grey) is lighter
// than entry 0 (black). That table says nothing about the reduced page: its set bits are
// black, and libtiff must decode black where black was drawn and white where white was.
TEST(PageEncoder, BlackAndWhitePagesAreNotNegatives)
{
    if (std::system("command -v tiffcp >/dev/null && command -v tifftopnm >/dev/null") != 0)
        GTEST_SKIP() << "needs libtiff's tiffcp and netpbm's tifftopnm";
    ASSERT_EQ(ensureCodecEngine(), 0);
    const std::string pageFile = scratch("positive.tif");
    std::remove(pageFile.c_str());
    for (std::int32_t nDither : {1, 3, 4, 12, 13}) {
        WorkImage page;
        makePage(page, 96, 64, textLike);
        unsigned char* pTable = page.getStart() + pagebitmap::kColourTableOffset;
        std::memset(pTable + 4, 0x11, 3);
        ASSERT_EQ(encodePage(page, 96, 64, true, nDither, pageFile.c_str()), 0) << nDither;
    }
    const std::string decoded = scratch("decoded");
    for (int nPage = 0; nPage < 5; ++nPage) {
        SCOPED_TRACE(testing::Message() << "page " << nPage);
        const std::string command = "tiffcp -c none " + pageFile + "," + std::to_string(nPage) + " " + decoded +
                                    ".tif && tifftopnm -quiet " + decoded + ".tif > " + decoded + ".pbm";
        ASSERT_EQ(std::system(command.c_str()), 0);
        std::string error;
        const tools::RgbImage printed = tools::readImageFile(decoded + ".pbm", error);
        ASSERT_EQ(error, "");
        ASSERT_EQ(printed.width, 96);
        ASSERT_EQ(printed.height, 64);
        int nWrong = 0;
        for (int y = 0; y < 64; ++y) {
            for (int x = 0; x < 96; ++x)
                nWrong += (printed.pixel(x, y)[0] == 0) != (textLike(x, y) == 0x000000);
        }
        EXPECT_EQ(nWrong, 0);
    }
}

TEST(PageEncoder, FailuresLeaveThePageFileAlone)
{
    ASSERT_EQ(ensureCodecEngine(), 0);
    std::string pageFile = scratch("kept.tif");
    std::remove(pageFile.c_str());
    WorkImage page;
    makePage(page, 64, 64, textLike);
    ASSERT_EQ(encodePage(page, 64, 64, true, 0, pageFile.c_str()), 0);
    std::vector<unsigned char> before = fileBytes(pageFile);

    // A page whose header claims a depth the engine cannot scale.
    WorkImage broken;
    makePage(broken, 64, 64, textLike);
    codec::DibHeader header = pagebitmap::readInfoHeader(broken.getStart());
    header.nBitCount = 7;
    pagebitmap::writeInfoHeader(broken.getStart(), header);
    EXPECT_EQ(encodePage(broken, 64, 64, true, 0, pageFile.c_str()), 101);
    // Zero-sized headers.
    header.nBitCount = 24;
    header.nWidth = 0;
    pagebitmap::writeInfoHeader(broken.getStart(), header);
    EXPECT_NE(encodePage(broken, 10, 10, true, 0, pageFile.c_str()), 0);
    EXPECT_EQ(fileBytes(pageFile), before);
    EXPECT_FALSE(core::os::fileExists((pageFile + ".x").c_str()));
}

TEST(PageEncoder, WriteWorkImageCodes)
{
    WorkImage empty;
    EXPECT_EQ(writeWorkImage(empty, scratch("empty.bin").c_str()), 101);
    WorkImage data;
    ASSERT_EQ(data.reserve(10), 0);
    EXPECT_EQ(writeWorkImage(data, scratch("nested/dir/data.bin").c_str()), 0);
    std::string fileAsFolder = scratch("nested/dir/data.bin") + "/below.bin";
    EXPECT_EQ(writeWorkImage(data, fileAsFolder.c_str()), 102);
}

TEST(PageEncoder, JpegQualitySteps)
{
    const std::int32_t expected[][3] = {{1, 16, 20}, {2, 32, 40}, {3, 48, 60}, {4, 64, 80}, {0, 16, 20}, {9, 16, 20}};
    for (const auto& row : expected) {
        setJpegQuality(row[0]);
        EXPECT_EQ(getLumaFactor(), row[1]);
        EXPECT_EQ(getChromaFactor(), row[2]);
    }
}

TEST(PagePlan, SizeAndColourDecisions)
{
    struct Case {
        const char* pszName;
        std::uint32_t (*paint)(int, int);
        std::int32_t nResolution, nDrawDpi, nColor, nThreshold;
        std::int32_t nWidth, nHeight;
        bool bBilevel;
    };
    // Pages at a tenth of Letter size scale by the same ratios as the real ones.
    const Case cases[] = {
        {"600 dpi to 200", photoLike, 200, 600, 0, 192, 170, 220, true},
        {"400 dpi to 300", photoLike, 300, 400, 0, 192, 382, 495, true},
        {"300 dpi to 200", photoLike, 200, 300, 0, 192, 340, 440, true},
        {"600 dpi to 300", photoLike, 300, 600, 0, 192, 255, 330, true},
        {"colour off: photograph in black and white", photoLike, 200, 200, 0, 192, 510, 660, true},
        {"colour on: photograph stays colour", photoLike, 200, 200, 1, 192, 510, 660, false},
        {"colour on: twelve colours are black and white", twelveColours, 200, 200, 1, 192, 510, 660, true},
        {"threshold 302: always black and white", photoLike, 200, 200, 1, 302, 510, 660, true},
    };
    for (const Case& test : cases) {
        WorkImage page;
        makePage(page, 510, 660, test.paint);
        PagePlan plan = planPage(page, test.nResolution, test.nDrawDpi, test.nColor, test.nThreshold);
        EXPECT_EQ(plan.nWidth, test.nWidth) << test.pszName;
        EXPECT_EQ(plan.nHeight, test.nHeight) << test.pszName;
        EXPECT_EQ(plan.bBilevel, test.bBilevel) << test.pszName;
    }
}

TEST(TiffDirectory, CountsPagesOfLittleEndianFilesOnly)
{
    ASSERT_EQ(ensureCodecEngine(), 0);
    std::string twoPages = scratch("two.tif");
    std::remove(twoPages.c_str());
    WorkImage page;
    makePage(page, 64, 64, textLike);
    ASSERT_EQ(encodePage(page, 64, 64, true, 1, twoPages.c_str()), 0);
    ASSERT_EQ(encodePage(page, 64, 64, true, 1, twoPages.c_str()), 0);
    EXPECT_EQ(readTiffDirectory(twoPages.c_str()).nPageCount, 2);

    std::string notTiff = scratch("not.tif");
    std::ofstream(notTiff, std::ios::binary) << std::string(100, 'M');
    EXPECT_EQ(readTiffDirectory(notTiff.c_str()).nPageCount, 0);
    EXPECT_EQ(readTiffDirectory(scratch("missing.tif").c_str()).nPageCount, 0);
}
