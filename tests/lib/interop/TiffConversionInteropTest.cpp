// TIFF files written by convertToTiff, read back by libtiff: tiffinfo finds nothing to
// warn about, and tiffcp decodes them to exactly the source pixels. Inputs come from
// libtiff too, in every coding it writes.
#include "lib/BilevelPage.h"
#include "lib/graphics.Conversion.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace velmo::tests;
using velmo::lib::graphics::convertToTiff;

namespace {

class TiffConversionInterop : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* pszTool : {"tiffcp", "tiffinfo"}) {
            if (!haveTool(pszTool))
                GTEST_SKIP() << pszTool << " is not installed";
        }
        page = loadTextPage().window(0, 100, 1728, 300);
        source = scratchPath("conversion-source.tif");
        writeTiff(source, uncompressedOf(page));
    }

    std::string libtiffCoded(const std::string& name, const std::string& options)
    {
        std::string path = scratchPath(name);
        EXPECT_TRUE(runCommand("tiffcp " + options + " " + source + " " + path)) << options;
        return path;
    }

    std::string freshOutput(const std::string& name)
    {
        std::string path = scratchPath(name);
        std::remove(path.c_str());
        return path;
    }

    // Page nPage of a file as libtiff decodes it.
    static BilevelPage pixelsOf(const std::string& path, int nPage = 0)
    {
        std::string plain = path + ".plain.tif";
        std::remove(plain.c_str());
        EXPECT_TRUE(runCommand("tiffcp -c none " + path + "," + std::to_string(nPage) + " " + plain)) << path;
        return pageOfUncompressed(readTiff(plain));
    }

    static bool tiffinfoIsContent(const std::string& path)
    {
        return runCommand("test -z \"$(tiffinfo -D " + path + " 2>&1 >/dev/null)\"");
    }

    static int pageCount(const std::string& path)
    {
        std::string listing = path + ".pages";
        runCommand("(tiffinfo " + path + " | grep -c 'TIFF Directory' > " + listing + ")");
        std::ifstream in(listing);
        int nCount = 0;
        in >> nCount;
        return nCount;
    }

    BilevelPage page;
    std::string source;
};

}

TEST_F(TiffConversionInterop, LibtiffInputsComeOutWithTheirPixelsInEveryCompression)
{
    const std::pair<const char*, const char*> inputs[] = {
        {"none", "-c none"}, {"g3", "-c g3:1d"}, {"g3-eol-aligned", "-c g3:1d:fill"},
        {"g4", "-c g4"}, {"g4-strips", "-c g4 -r 64"}, {"g4-lsb", "-c g4 -f lsb2msb"},
    };
    for (const auto& [pszName, pszOptions] : inputs) {
        std::string input = libtiffCoded(std::string("conversion-in-") + pszName + ".tif", pszOptions);
        for (std::int32_t nCompression : {0, 1, 2, 3, 4}) {
            std::string output = freshOutput(std::string("conversion-out-") + pszName + "-" + std::to_string(nCompression) + ".tif");
            ASSERT_EQ(convertToTiff(input.c_str(), "", output.c_str(), 0, 0, 0, 0, nCompression, 0, 0), 0)
                << pszName << " to " << nCompression;
            EXPECT_TRUE(tiffinfoIsContent(output)) << pszName << " to " << nCompression;
            EXPECT_TRUE(pixelsOf(output) == page) << pszName << " to " << nCompression;
        }
    }
}

TEST_F(TiffConversionInterop, CopyKeepsTheCodedBytes)
{
    std::string input = libtiffCoded("conversion-copy-in.tif", "-c g4");
    std::string output = freshOutput("conversion-copy-out.tif");
    ASSERT_EQ(convertToTiff(input.c_str(), nullptr, output.c_str(), 0, 0, 0, 0, 0, 0, 0), 0);
    TiffImage in = readTiff(input);
    TiffImage out = readTiff(output);
    EXPECT_EQ(out.data, in.data);
    std::vector<unsigned char> bytes = readFileBytes(output);
    std::uint32_t nIfd = bytes[4] | bytes[5] << 8 | bytes[6] << 16 | static_cast<std::uint32_t>(bytes[7]) << 24;
    EXPECT_EQ(nIfd % 4, 2u);
}

TEST_F(TiffConversionInterop, AppendsLeaveEarlierPagesUntouched)
{
    std::string input = libtiffCoded("conversion-append-in.tif", "-c g4");
    std::string output = freshOutput("conversion-append-out.tif");
    for (int i = 0; i < 3; ++i)
        ASSERT_EQ(convertToTiff(input.c_str(), "", output.c_str(), 0, 0, 0, 0, 4, 0, 0), 0);
    std::vector<unsigned char> before = readFileBytes(output);
    ASSERT_EQ(convertToTiff(input.c_str(), "", output.c_str(), 0, 0, 0, 0, 4, 0, 0), 0);
    std::vector<unsigned char> after = readFileBytes(output);
    EXPECT_EQ(pageCount(output), 4);
    EXPECT_TRUE(tiffinfoIsContent(output));
    ASSERT_GT(after.size(), before.size());
    // Only the last next-IFD field (the final 4 bytes before the append) changes.
    std::size_t nChanged = 0;
    for (std::size_t i = 0; i < before.size(); ++i)
        nChanged += before[i] != after[i];
    EXPECT_LE(nChanged, 4u);
    EXPECT_TRUE(pixelsOf(output, 3) == page);
}

TEST_F(TiffConversionInterop, PageListsAndFilters)
{
    std::string pages3 = freshOutput("conversion-three.tif");
    BilevelPage inverted = page.inverted();
    std::string invertedSource = scratchPath("conversion-inverted.tif");
    writeTiff(invertedSource, uncompressedOf(inverted));
    for (const std::string& input : {source, invertedSource, source})
        ASSERT_EQ(convertToTiff(input.c_str(), "", pages3.c_str(), 0, 0, 0, 0, 4, 0, 0), 0);

    std::string selected = freshOutput("conversion-selected.tif");
    ASSERT_EQ(convertToTiff(pages3.c_str(), "1,2", selected.c_str(), 0, 0, 0, 0, 0, 0, 0), 0);
    EXPECT_EQ(pageCount(selected), 2);
    EXPECT_TRUE(pixelsOf(selected, 0) == inverted);
    std::string range = freshOutput("conversion-range.tif");
    ASSERT_EQ(convertToTiff(pages3.c_str(), "2-5", range.c_str(), 0, 0, 0, 0, 0, 0, 0), 0);
    EXPECT_EQ(pageCount(range), 1);

    // Resolution, doubled lines and a centred pad to a wider, taller page.
    std::string filtered = freshOutput("conversion-filtered.tif");
    ASSERT_EQ(convertToTiff(source.c_str(), "", filtered.c_str(), 1732, 700, 204, 98, 4, 1, 0), 0);
    EXPECT_TRUE(tiffinfoIsContent(filtered));
    BilevelPage result = pixelsOf(filtered);
    ASSERT_EQ(result.nWidth, 1732);
    ASSERT_EQ(result.nHeight, 700);
    for (std::int32_t y = 0; y < 600; ++y) {
        for (std::int32_t x = 0; x < 1728; x += 7)
            ASSERT_EQ(result.isBlack(x + 2, y + 50), page.isBlack(x, y / 2)) << x << "," << y;
    }
    EXPECT_TRUE(result.isBlack(0, 300));   // padding is black
    EXPECT_TRUE(result.isBlack(100, 10));
    EXPECT_TRUE(runCommand("tiffinfo " + filtered + " | grep -q 'Resolution: 204, 196'"));
}

TEST_F(TiffConversionInterop, StripsOutOfOrderAreCopiedRight)
{
    // Two uncompressed strips stored in reverse order with a gap between them.
    TiffImage image = uncompressedOf(page);
    std::size_t nHalf = image.data.size() / 2 / 216 * 216;
    std::vector<unsigned char> file = {'I', 'I', 42, 0, 0, 0, 0, 0};
    std::size_t nSecond = file.size();
    file.insert(file.end(), image.data.begin() + static_cast<std::ptrdiff_t>(nHalf), image.data.end());
    file.insert(file.end(), 100, 0xAB);
    std::size_t nFirst = file.size();
    file.insert(file.end(), image.data.begin(), image.data.begin() + static_cast<std::ptrdiff_t>(nHalf));
    auto put = [&](std::uint32_t nValue, int nBytes) {
        for (int i = 0; i < nBytes; ++i)
            file.push_back(static_cast<unsigned char>(nValue >> (8 * i)));
    };
    std::size_t nArrays = file.size();
    put(static_cast<std::uint32_t>(nFirst), 4);
    put(static_cast<std::uint32_t>(nSecond), 4);
    put(static_cast<std::uint32_t>(nHalf), 4);
    put(static_cast<std::uint32_t>(image.data.size() - nHalf), 4);
    std::size_t nIfd = file.size();
    file[4] = static_cast<unsigned char>(nIfd);
    file[5] = static_cast<unsigned char>(nIfd >> 8);
    file[6] = static_cast<unsigned char>(nIfd >> 16);
    const std::uint32_t entries[][4] = {
        {256, 4, 1, 1728}, {257, 4, 1, 300}, {258, 3, 1, 1}, {259, 3, 1, 1}, {262, 3, 1, 0},
        {273, 4, 2, static_cast<std::uint32_t>(nArrays)}, {278, 4, 1, static_cast<std::uint32_t>(nHalf / 216)},
        {279, 4, 2, static_cast<std::uint32_t>(nArrays + 8)},
    };
    put(8, 2);
    for (const auto& entry : entries) {
        put(entry[0], 2);
        put(entry[1], 2);
        put(entry[2], 4);
        put(entry[3], 4);
    }
    put(0, 4);
    std::string input = scratchPath("conversion-scattered.tif");
    std::ofstream(input, std::ios::binary).write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));

    std::string output = freshOutput("conversion-gathered.tif");
    ASSERT_EQ(convertToTiff(input.c_str(), "", output.c_str(), 0, 0, 0, 0, 0, 0, 0), 0);
    EXPECT_TRUE(tiffinfoIsContent(output));
    EXPECT_TRUE(pixelsOf(output) == page);
}
