// Pages drawn by the print host arrive at the page conversion as complete bitmap images;
// the job bracket keeps the job's number, name and page count.
#include "tests/driver/DriverProbe.h"
#include "tests/util/ScratchDirectory.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <functional>
#include <iterator>
#include <vector>

namespace velmo::driver::test {

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes readBytes(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(file), {});
}

void writeBytes(const std::string& path, const std::string& header, const Bytes& data)
{
    std::ofstream file(path, std::ios::binary);
    file << header;
    file.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
}

std::uint32_t u32(const Bytes& bytes, std::size_t nAt)
{
    return bytes[nAt] | bytes[nAt + 1] << 8 | bytes[nAt + 2] << 16 | static_cast<std::uint32_t>(bytes[nAt + 3]) << 24;
}

std::uint32_t u16(const Bytes& bytes, std::size_t nAt)
{
    return bytes[nAt] | bytes[nAt + 1] << 8;
}

// One test page: an image file and the colour (0xRRGGBB) it has at each of its pixels.
struct TestImage {
    std::string fileName;
    int width;
    int height;
    std::function<std::uint32_t(int x, int y)> rgb;
};

const TestImage testImages[] = {
    {"colour.ppm", 40, 30, [](int x, int y) { return static_cast<std::uint32_t>(x * 6 << 16 | y * 8 << 8 | 100); }},
    // Wider than the page: clipped at its right edge.
    {"wide.pgm", 2000, 20, [](int x, int) { return static_cast<std::uint32_t>((x % 256) * 0x010101); }},
    {"checker.pbm", 17, 9, [](int x, int y) { return (x + y) % 2 ? 0x000000u : 0xFFFFFFu; }},
};

void writeTestImage(const std::string& directory, const TestImage& image)
{
    Bytes data;
    std::string header;
    if (image.fileName.find(".pbm") != std::string::npos) {
        header = "P4\n" + std::to_string(image.width) + " " + std::to_string(image.height) + "\n";
        const int nRowBytes = (image.width + 7) / 8;
        data.assign(static_cast<std::size_t>(nRowBytes) * image.height, 0);
        for (int y = 0; y < image.height; ++y)
            for (int x = 0; x < image.width; ++x)
                if (image.rgb(x, y) == 0)
                    data[y * nRowBytes + x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
    } else {
        const bool bColour = image.fileName.find(".ppm") != std::string::npos;
        header = std::string(bColour ? "P6\n" : "P5\n# a comment\n") + std::to_string(image.width) + " " +
                 std::to_string(image.height) + "\n255\n";
        for (int y = 0; y < image.height; ++y) {
            for (int x = 0; x < image.width; ++x) {
                const std::uint32_t rgb = image.rgb(x, y);
                data.push_back(static_cast<std::uint8_t>(rgb >> 16));
                if (bColour) {
                    data.push_back(static_cast<std::uint8_t>(rgb >> 8));
                    data.push_back(static_cast<std::uint8_t>(rgb));
                }
            }
        }
    }
    writeBytes(directory + "\\" + image.fileName, header, data);
}

void expectPageImage(const Bytes& page, const TestImage& image)
{
    constexpr int nWidth = 1700;
    constexpr int nHeight = 2200;
    constexpr std::size_t nStride = nWidth * 3;
    ASSERT_EQ(page.size(), 1078 + nStride * nHeight);
    EXPECT_EQ(page[0], 'B');
    EXPECT_EQ(page[1], 'M');
    EXPECT_EQ(u32(page, 2), 0u);
    EXPECT_EQ(u32(page, 10), 1078u);
    EXPECT_EQ(u32(page, 14), 40u);
    EXPECT_EQ(u32(page, 18), static_cast<std::uint32_t>(nWidth));
    EXPECT_EQ(u32(page, 22), static_cast<std::uint32_t>(nHeight));
    EXPECT_EQ(u16(page, 26), 1u);
    EXPECT_EQ(u16(page, 28), 24u);
    EXPECT_EQ(u32(page, 30), 0u);
    EXPECT_EQ(u32(page, 34), nStride * nHeight);
    EXPECT_EQ(u32(page, 38), 7874u);
    EXPECT_EQ(u32(page, 42), 7874u);
    EXPECT_EQ(u32(page, 46), 0u);
    EXPECT_EQ(u32(page, 50), 0u);
    // Colour table: grey 0x11 at entry 1, red at 16, aliceblue at 22, slateblue at 146,
    // the last grey at 253, each as blue, green, red, 0 (the order a bitmap's table is read in).
    const std::pair<int, std::uint32_t> entries[] = {
        {1, 0x111111}, {16, 0xFF0000}, {22, 0xF0F8FF}, {146, 0x655ACD}, {149, 0x00FF7F}, {253, 0x989898}, {255, 0xFFFFFF}};
    for (const auto& [nEntry, rgb] : entries) {
        const std::size_t nAt = 54 + nEntry * 4;
        EXPECT_EQ(page[nAt + 2] << 16 | page[nAt + 1] << 8 | page[nAt], static_cast<int>(rgb)) << "entry " << nEntry;
        EXPECT_EQ(page[nAt + 3], 0) << "entry " << nEntry;
    }
    // The image at the top left, white everywhere else; rows are stored bottom-up.
    int nWrongPixels = 0;
    for (int y = 0; y < nHeight; ++y) {
        const std::uint8_t* pRow = &page[1078 + (nHeight - 1 - y) * nStride];
        for (int x = 0; x < nWidth; ++x) {
            const std::uint32_t expected = x < image.width && y < image.height ? image.rgb(x, y) : 0xFFFFFF;
            const std::uint32_t actual = pRow[x * 3 + 2] << 16 | pRow[x * 3 + 1] << 8 | pRow[x * 3];
            if (actual != expected && ++nWrongPixels <= 5)
                ADD_FAILURE() << image.fileName << " pixel (" << x << ", " << y << ") is " << std::hex << actual
                              << ", expected " << expected;
        }
    }
    EXPECT_EQ(nWrongPixels, 0);
}

TEST(CaptureTest, threeImagesGiveThreePageImages)
{
    util::test::ScratchDirectory directory;
    std::string arguments = "--driver \"" + probeBuildPath() + "\" --job 42 --document \"Three pages\"";
    for (const TestImage& image : testImages) {
        writeTestImage(directory.path(), image);
        arguments += " \"" + directory / image.fileName + "\"";
    }
    SetEnvironmentVariableA("KORVA_CAPTURE_DIR", directory.path().c_str());
    const DWORD nExitCode = runPrintHost(arguments);
    SetEnvironmentVariableA("KORVA_CAPTURE_DIR", nullptr);
    ASSERT_EQ(nExitCode, 0u);
    for (int nPage = 1; nPage <= 3; ++nPage) {
        SCOPED_TRACE(testing::Message() << "page " << nPage);
        expectPageImage(readBytes(directory / ("page-" + std::to_string(nPage) + ".bmp")), testImages[nPage - 1]);
    }
    EXPECT_EQ(GetFileAttributesA((directory / "page-4.bmp").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(CaptureTest, printHostFailsOnAnUnreadableImage)
{
    util::test::ScratchDirectory directory;
    util::test::writeText(directory / "broken.ppm", "P6\n40 30\n255\nshort");
    EXPECT_NE(runPrintHost("--driver \"" + probeBuildPath() + "\" \"" + directory / "broken.ppm" + "\""), 0u);
}

using StartDoc = BOOL(APIENTRY*)(SURFOBJ*, LPWSTR, DWORD);
using SurfaceCall = BOOL(APIENTRY*)(SURFOBJ*);
using EndDoc = BOOL(APIENTRY*)(SURFOBJ*, FLONG);

TEST(JobBracketTest, jobStateFollowsTheJob)
{
    util::test::ScratchDirectory directory;
    DriverProbe probe(directory.path(), "job", "[driver]\noutput=" + directory.path() + "\n");
    const DEVMODEW devmode = jobDevmode(L"Office Fax", DMPAPER_LETTER, DMORIENT_PORTRAIT);
    ProbeDevice device(probe, &devmode);
    SURFOBJ* pSurface = device.enableSurface();
    ASSERT_NE(pSurface, nullptr);
    auto pfnStartDoc = probe.ddi<StartDoc>(INDEX_DrvStartDoc);
    auto pfnSendPage = probe.ddi<SurfaceCall>(INDEX_DrvSendPage);
    const JobState* pJob = probe.job(device.handle());
    ASSERT_NE(pJob, nullptr);

    wchar_t documentName[] = L"C:\\docs\\Letter.doc";
    EXPECT_TRUE(pfnStartDoc(pSurface, documentName, 17));
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(probe.ddi<SurfaceCall>(INDEX_DrvStartPage)(pSurface));
        EXPECT_TRUE(pfnSendPage(pSurface));
    }
    EXPECT_EQ(pJob->jobId, 17);
    EXPECT_EQ(pJob->pageCount, 3);
    EXPECT_EQ(std::wstring(pJob->documentName), documentName);

    // A start without a job number changes nothing.
    wchar_t otherName[] = L"Other";
    EXPECT_TRUE(pfnStartDoc(pSurface, otherName, 0));
    EXPECT_EQ(pJob->jobId, 17);
    EXPECT_EQ(pJob->pageCount, 3);
    EXPECT_EQ(std::wstring(pJob->documentName), documentName);

    EXPECT_TRUE(probe.ddi<EndDoc>(INDEX_DrvEndDoc)(pSurface, 0));
    EXPECT_EQ(std::wstring(pJob->printerName), L"Office-Fax");

    EXPECT_TRUE(pfnStartDoc(pSurface, nullptr, 18));
    EXPECT_EQ(pJob->jobId, 18);
    EXPECT_EQ(pJob->pageCount, 0);
    EXPECT_EQ(std::wstring(pJob->documentName), L"");
}

// Two devices of one process, as an application printing on two threads has: each keeps
// its own job.
TEST(JobBracketTest, everyDeviceHasItsOwnJob)
{
    util::test::ScratchDirectory directory;
    DriverProbe probe(directory.path(), "devices", "[driver]\noutput=" + directory.path() + "\n");
    const DEVMODEW letter = jobDevmode(L"Fax", DMPAPER_LETTER, DMORIENT_PORTRAIT);
    const DEVMODEW legal = jobDevmode(L"Fax", DMPAPER_LEGAL, DMORIENT_PORTRAIT);
    ProbeDevice first(probe, &letter);
    ProbeDevice second(probe, &legal);
    SURFOBJ* pFirst = first.enableSurface();
    SURFOBJ* pSecond = second.enableSurface();
    ASSERT_NE(pFirst, nullptr);
    ASSERT_NE(pSecond, nullptr);
    EXPECT_EQ(first.gdiInfo().ulVertRes, 2200u) << "the second device's paper is not the first's";
    wchar_t firstName[] = L"First";
    wchar_t secondName[] = L"Second";
    EXPECT_TRUE(probe.ddi<StartDoc>(INDEX_DrvStartDoc)(pFirst, firstName, 1));
    EXPECT_TRUE(probe.ddi<StartDoc>(INDEX_DrvStartDoc)(pSecond, secondName, 2));
    EXPECT_TRUE(probe.ddi<SurfaceCall>(INDEX_DrvSendPage)(pFirst));
    EXPECT_TRUE(probe.ddi<SurfaceCall>(INDEX_DrvSendPage)(pFirst));
    EXPECT_TRUE(probe.ddi<SurfaceCall>(INDEX_DrvSendPage)(pSecond));
    EXPECT_EQ(probe.job(first.handle())->pageCount, 2);
    EXPECT_EQ(std::wstring(probe.job(first.handle())->documentName), L"First");
    EXPECT_EQ(probe.job(second.handle())->pageCount, 1);
    EXPECT_EQ(std::wstring(probe.job(second.handle())->documentName), L"Second");
    EXPECT_EQ(probe.job(nullptr), nullptr);
}

// With append 0 a job starts a new page file: the one the user's control file names is
// deleted, and so is the previous job's information file. With append 1 the page file stays.
TEST(JobBracketTest, newJobDeletesThePageFileOnlyWithoutAppend)
{
    for (int nAppend : {0, 1}) {
        SCOPED_TRACE(testing::Message() << "append " << nAppend);
        util::test::ScratchDirectory directory;
        const std::string pageFile = directory / "collected.tif";
        const std::string informationFile = expectedJobFileName(directory.path(), "fax", "LOG");
        util::test::writeText(expectedJobFileName(directory.path(), "fax", "INI"), "[config]\noutput=" + pageFile + "\n");
        util::test::writeText(pageFile, "II*");
        util::test::writeText(informationFile, "[info]");
        DriverProbe probe(directory.path(), "append" + std::to_string(nAppend),
                          "[printer]\nseed=fax\n[driver]\noutput=" + directory.path() + "\n[options]\nappend=" +
                              std::to_string(nAppend) + "\n");
        ProbeDevice device(probe, nullptr);
        wchar_t documentName[] = L"Doc";
        EXPECT_TRUE(probe.ddi<StartDoc>(INDEX_DrvStartDoc)(device.enableSurface(), documentName, 5));
        EXPECT_EQ(GetFileAttributesA(pageFile.c_str()) != INVALID_FILE_ATTRIBUTES, nAppend != 0);
        EXPECT_EQ(GetFileAttributesA(informationFile.c_str()), INVALID_FILE_ATTRIBUTES);
    }
}

}

}
