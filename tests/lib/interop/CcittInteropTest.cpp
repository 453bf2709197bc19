// Pages coded by this library must decode with libtiff to exactly the source pixels, and
// pages coded by libtiff must decode with this library to exactly the source pixels, for
// every coding and both bit orders.
#include "lib/BilevelPage.h"
#include "lib/TestStreams.h"
#include "lib/graphics.BitmapDecoderStream.h"
#include "lib/graphics.BitmapEncoderStream.h"
#include "lib/graphics.Group3DecoderStream.h"
#include "lib/graphics.Group3EncoderStream.h"
#include "lib/graphics.Group4DecoderStream.h"
#include "lib/graphics.Group4EncoderStream.h"

#include <gtest/gtest.h>

#include <cstdio>

using namespace velmo;
using namespace velmo::tests;
using lib::graphics::BitmapDecoderStream;
using lib::graphics::BitmapEncoderStream;
using lib::graphics::Group3DecoderStream;
using lib::graphics::Group3EncoderStream;
using lib::graphics::Group4DecoderStream;
using lib::graphics::Group4EncoderStream;

namespace {

struct NamedPage {
    const char* pszName;
    BilevelPage page;
};

// A page of long runs (up to 5100 pixels) with text between them.
BilevelPage longRunPage(const BilevelPage& text)
{
    BilevelPage page(5100, 240);
    for (std::int32_t y = 0; y < page.nHeight; ++y) {
        for (std::int32_t x = 0; x < page.nWidth; ++x) {
            bool bBlack = y < 40 ? (x >= 100 && x < 3200)
                        : y >= 200 ? true
                        : (x < text.nWidth && text.isBlack(x, y + 200)) || (x >= 3400 && text.isBlack(x - 3400, y + 400));
            page.setBlack(x, y, bBlack);
        }
    }
    return page;
}

const std::vector<NamedPage>& pages()
{
    static const std::vector<NamedPage> s_pages = [] {
        BilevelPage text = loadTextPage();
        std::vector<NamedPage> pages;
        pages.push_back({"text 1653 wide", text});
        pages.push_back({"text 1728 wide", text.window(-37, 0, 1728, text.nHeight)});
        pages.push_back({"text 1700 wide", text.window(0, 0, 1700, text.nHeight)});
        pages.push_back({"inverted text, lines start black", text.inverted().window(0, 0, 1728, 600)});
        pages.push_back({"long runs 5100 wide", longRunPage(text)});
        return pages;
    }();
    return s_pages;
}

struct Coding {
    const char* pszName;
    std::int32_t nCompression;
    std::int32_t nT4Options;
    const char* pszTiffcp;  // libtiff's option for the same coding, or null
};

const Coding kCodings[] = {
    {"Group 4", 4, 0, "g4"},
    {"modified Huffman", 2, 0, nullptr},
    {"Group 3 1D, EOL aligned", 3, 4, "g3:1d:fill"},
    {"Group 3 1D", 3, 0, "g3:1d"},
};

std::vector<unsigned char> encode(const BilevelPage& page, const Coding& coding)
{
    VectorStream sink;
    if (coding.nCompression == 4) {
        Group4EncoderStream encoder;
        encoder.initialise(&sink, page.nWidth, page.nHeight, page.nHeight);
        writeValues(encoder, page.toRuns());
        encoder.flush();
        // Bitmap rows reach the encoder as changing elements, not runs: the same code.
        VectorStream fromRows;
        Group4EncoderStream rowEncoder;
        rowEncoder.initialise(&fromRows, page.nWidth, page.nHeight, page.nHeight);
        BitmapDecoderStream rows;
        rows.initialise(&rowEncoder, page.nWidth, false);
        rows.writeData(page.rows.data(), 0, static_cast<std::int32_t>(page.rows.size()));
        rowEncoder.flush();
        EXPECT_EQ(fromRows.bytes(), sink.bytes()) << "coded from bitmap rows";
    } else {
        Group3EncoderStream encoder;
        encoder.initialise(&sink, page.nWidth, page.nHeight, page.nHeight, coding.nCompression == 3, true);
        writeValues(encoder, page.toRuns());
        encoder.flush();
    }
    return sink.bytes();
}

// Decodes in pieces of 7 bytes, so that codes straddle the writes.
BilevelPage decode(const TiffImage& image)
{
    VectorStream sink;
    bool bReverse = image.nFillOrder == 2;
    Group4DecoderStream group4;
    Group3DecoderStream group3;
    core::io::IStream* pDecoder = &group4;
    if (image.nCompression == 4) {
        group4.initialise(&sink, image.nWidth, image.nHeight, image.nRowsPerStrip, bReverse);
    } else {
        group3.initialise(&sink, image.nWidth, image.nCompression == 2, bReverse);
        pDecoder = &group3;
    }
    const auto writeInPieces = [&](core::io::IStream& decoder) {
        for (std::size_t i = 0; i < image.data.size(); i += 7)
            decoder.writeData(image.data.data() + i, 0, static_cast<std::int32_t>(std::min<std::size_t>(7, image.data.size() - i)));
        decoder.flush();
    };
    writeInPieces(*pDecoder);
    BilevelPage page = BilevelPage::fromRuns(sink.values(), image.nWidth);
    if (image.nCompression == 4) {
        // Decoding to bitmap rows hands the lines over as changing elements: the same rows.
        VectorStream rows;
        BitmapEncoderStream bitmap;
        bitmap.initialise(&rows, image.nWidth);
        Group4DecoderStream toRows;
        toRows.initialise(&bitmap, image.nWidth, image.nHeight, image.nRowsPerStrip, bReverse);
        writeInPieces(toRows);
        EXPECT_EQ(rows.bytes(), page.rows) << "decoded to bitmap rows";
    }
    return page;
}

class CcittInterop : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!haveTool("tiffcp"))
            GTEST_SKIP() << "tiffcp (libtiff-tools) is not installed";
    }
};

TEST_F(CcittInterop, OurCodingDecodesWithLibtiffToTheSourcePixels)
{
    std::string coded = scratchPath("ours.tif"), raw = scratchPath("ours-raw.tif");
    for (const NamedPage& named : pages()) {
        for (const Coding& coding : kCodings) {
            std::vector<unsigned char> bytes = encode(named.page, coding);
            for (std::int32_t nFillOrder : {1, 2}) {
                SCOPED_TRACE(std::string(named.pszName) + ", " + coding.pszName + ", FillOrder " + std::to_string(nFillOrder));
                TiffImage image;
                image.nWidth = named.page.nWidth;
                image.nHeight = named.page.nHeight;
                image.nCompression = coding.nCompression;
                image.nT4Options = coding.nT4Options;
                image.nFillOrder = nFillOrder;
                image.data = nFillOrder == 2 ? reversedBits(bytes) : bytes;
                writeTiff(coded, image);
                ASSERT_TRUE(runCommand("tiffcp -c none " + coded + " " + raw));
                EXPECT_TRUE(pageOfUncompressed(readTiff(raw)) == named.page);
            }
        }
    }
    std::remove(coded.c_str());
    std::remove(raw.c_str());
}

TEST_F(CcittInterop, LibtiffCodingDecodesWithOursToTheSourcePixels)
{
    std::string source = scratchPath("source.tif"), coded = scratchPath("libtiff.tif");
    for (const NamedPage& named : pages()) {
        writeTiff(source, uncompressedOf(named.page));
        for (const Coding& coding : kCodings) {
            if (!coding.pszTiffcp)
                continue;
            for (const char* pszFillOrder : {"msb2lsb", "lsb2msb"}) {
                SCOPED_TRACE(std::string(named.pszName) + ", " + coding.pszName + ", " + pszFillOrder);
                ASSERT_TRUE(runCommand(std::string("tiffcp -c ") + coding.pszTiffcp + " -f " + pszFillOrder + " " + source + " " + coded));
                TiffImage image = readTiff(coded);
                ASSERT_EQ(image.nCompression, coding.nCompression);
                EXPECT_TRUE(decode(image) == named.page);
            }
        }
    }
    std::remove(source.c_str());
    std::remove(coded.c_str());
}

}
