// What the user gets: pictures printed through the print host and the hosted driver, one
// device pixel per picture pixel, then the page file decoded by libtiff and the test-print
// PDF rendered by MuPDF and by Ghostscript, each held against the picture that was drawn.
#include "tests/driver/HostShell.h"
#include "tests/driver/PageDecoding.h"
#include "tests/driver/Pictures.h"
#include "tests/driver/PrintJob.h"
#include "tools/imagefile/PageMatch.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>

namespace velmo::driver::test {

namespace {

using tools::PageMatch;
using tools::RgbImage;

enum class Paper { letter, legal };
enum class Orientation { portrait, landscape };

struct Sheet {
    Paper paper = Paper::letter;
    Orientation orientation = Orientation::portrait;
};

// The page's size in pixels at a resolution: Letter is 8.5 x 11 inches, Legal 8.5 x 14.
std::pair<std::int32_t, std::int32_t> pageSize(const Sheet& sheet, int nDpi)
{
    const std::int32_t nWidth = nDpi * 17 / 2;
    const std::int32_t nHeight = nDpi * (sheet.paper == Paper::letter ? 11 : 14);
    return sheet.orientation == Orientation::portrait ? std::make_pair(nWidth, nHeight)
                                                      : std::make_pair(nHeight, nWidth);
}

// The resolution the driver draws at for an output resolution and drawScale.
int drawingDpi(int nResolution, int nDrawScale)
{
    switch (nDrawScale) {
    case 1:
    case 3:
        return 300;
    case 4:
        return 400;
    case 2:
    case 5:
    case 6:
        return 600;
    default:
        return nResolution;
    }
}

// The pages of one job as the independent tools see them.
struct PrintedJob {
    std::vector<TiffPage> directories;
    std::vector<RgbImage> fromTiff;
    std::vector<RgbImage> fromMupdf;
    std::vector<RgbImage> fromGhostscript;
};

enum class Renders { pageFileOnly, pageFileAndPdf };

// Prints the pictures as the pages of one job in test-print mode and has the host's tools
// decode the page file and render the PDF at the output resolution.
PrintedJob printPictures(JobSettings settings, const Sheet& sheet, const std::vector<RgbImage>& pictures,
                         Renders renders)
{
    PrintedJob printed;
    util::test::ScratchDirectory results;
    settings.testPdf = results / "printed.pdf";
    settings.testImage = results / "printed.tif";
    JobDirectory job(settings);
    std::string arguments = std::string("--paper ") + (sheet.paper == Paper::letter ? "letter" : "legal") +
                            " --orientation " + (sheet.orientation == Orientation::portrait ? "portrait" : "landscape");
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        const std::string path = results / ("picture-" + std::to_string(i + 1) + ".ppm");
        EXPECT_TRUE(tools::writePpmFile(path, pictures[i])) << path;
        arguments += " \"" + path + "\"";
    }
    EXPECT_EQ(job.print(arguments), 0u);
    printed.directories = readTiffPages(results / "printed.tif");

    printed.fromTiff = decodeTiffPages(results / "printed.tif");
    if (renders == Renders::pageFileAndPdf) {
        const std::string dpi = std::to_string(settings.resolution);
        std::string output;
        const std::optional<int> status = HostShell::run(
            "set -e; mutool draw -q -c rgb -r " + dpi + " -F pnm -o mupdf-%d.pnm printed.pdf"
            "; gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=ppmraw -r" + dpi + " -sOutputFile=gs-%d.ppm printed.pdf",
            results.path(), output);
        EXPECT_TRUE(status.has_value());
        EXPECT_EQ(status.value_or(-1), 0) << output;
        printed.fromMupdf = readNumberedPictures(results.path(), "mupdf-", ".pnm");
        printed.fromGhostscript = readNumberedPictures(results.path(), "gs-", ".ppm");
    }
    return printed;
}

// Every rendering of every page, named for the messages.
std::vector<std::pair<std::string, const RgbImage*>> renderingsOf(const PrintedJob& printed, std::size_t nPage)
{
    std::vector<std::pair<std::string, const RgbImage*>> renderings;
    const std::pair<const char*, const std::vector<RgbImage>*> sources[] = {
        {"page file (libtiff)", &printed.fromTiff},
        {"PDF (MuPDF)", &printed.fromMupdf},
        {"PDF (Ghostscript)", &printed.fromGhostscript}};
    for (const auto& [name, pages] : sources) {
        if (nPage < pages->size())
            renderings.emplace_back(name, &(*pages)[nPage]);
    }
    return renderings;
}

constexpr std::uint32_t group4 = 4;
constexpr std::uint32_t oldStyleJpeg = 6;

void expectPageFacts(const PrintedJob& printed, std::size_t nPages, std::int32_t nWidth, std::int32_t nHeight,
                     int nResolution, std::uint32_t nCompression)
{
    ASSERT_EQ(printed.directories.size(), nPages);
    for (const TiffPage& page : printed.directories) {
        EXPECT_EQ(page.width, static_cast<std::uint32_t>(nWidth));
        EXPECT_EQ(page.height, static_cast<std::uint32_t>(nHeight));
        EXPECT_EQ(page.xResolution, nResolution);
        EXPECT_EQ(page.yResolution, nResolution);
        EXPECT_EQ(page.compression, nCompression);
    }
}

}

// A black-and-white picture drawn at the output resolution, or enlarged to 2x2 and 3x3
// blocks and drawn at 400 and 600 dpi, comes back pixel for pixel from the page file and
// from both renderings of the PDF, on either paper and in either orientation.
TEST(PrintedContent, blackAndWhitePagesEqualThePicture)
{
    if (!HostShell::isAvailable())
        GTEST_SKIP() << "needs the Linux host beneath Wine";
    struct Case {
        Sheet sheet;
        int nResolution;
        int nDrawScale;
    };
    const Case cases[] = {
        {{Paper::letter, Orientation::portrait}, 200, 0},  {{Paper::letter, Orientation::landscape}, 200, 0},
        {{Paper::legal, Orientation::portrait}, 200, 0},   {{Paper::legal, Orientation::landscape}, 200, 0},
        {{Paper::letter, Orientation::portrait}, 300, 0},  {{Paper::letter, Orientation::portrait}, 200, 4},
        {{Paper::legal, Orientation::landscape}, 200, 2},
    };
    for (const Case& test : cases) {
        const auto [nWidth, nHeight] = pageSize(test.sheet, test.nResolution);
        const auto [nDrawWidth, nDrawHeight] = pageSize(test.sheet, drawingDpi(test.nResolution, test.nDrawScale));
        SCOPED_TRACE(testing::Message() << nWidth << " x " << nHeight << " at " << test.nResolution
                                        << " dpi, drawn at " << nDrawWidth << " x " << nDrawHeight);
        const RgbImage picture = bilevelChart(nWidth, nHeight);
        JobSettings settings;
        settings.resolution = test.nResolution;
        settings.drawScale = test.nDrawScale;
        const PrintedJob printed = printPictures(settings, test.sheet, {enlarged(picture, nDrawWidth, nDrawHeight)},
                                                 Renders::pageFileAndPdf);
        expectPageFacts(printed, 1, nWidth, nHeight, test.nResolution, group4);
        const auto renderings = renderingsOf(printed, 0);
        EXPECT_EQ(renderings.size(), 3u);
        for (const auto& [name, pPage] : renderings) {
            ASSERT_EQ(pPage->width, nWidth) << name;
            ASSERT_EQ(pPage->height, nHeight) << name;
            const PageMatch match = matchPage(picture, *pPage, 8);
            EXPECT_EQ(match.nMismatched, 0) << name << ": " << match.describe();
            std::printf("[ figures  ] %d x %d at %d dpi, drawn at %d x %d, %s: %s\n", nWidth, nHeight,
                        test.nResolution, nDrawWidth, nDrawHeight, name.c_str(), match.describe().c_str());
        }
    }
}

// Whatever the drawing resolution, the page has the configured output resolution's size and
// resolution, and the picture's ink: whole factors and the uneven ones (300 over 200 dpi,
// 400 over 300) alike.
TEST(PrintedContent, everyDrawingScaleGivesTheOutputResolution)
{
    if (!HostShell::isAvailable())
        GTEST_SKIP() << "needs the Linux host beneath Wine";
    const Sheet letter;
    for (int nResolution : {200, 300}) {
        const auto [nWidth, nHeight] = pageSize(letter, nResolution);
        const RgbImage picture = bilevelChart(nWidth, nHeight);
        for (int nDrawScale = 0; nDrawScale <= 6; ++nDrawScale) {
            const auto [nDrawWidth, nDrawHeight] = pageSize(letter, drawingDpi(nResolution, nDrawScale));
            SCOPED_TRACE(testing::Message() << "resolution " << nResolution << ", drawScale " << nDrawScale);
            JobSettings settings;
            settings.resolution = nResolution;
            settings.drawScale = nDrawScale;
            const PrintedJob printed = printPictures(settings, letter, {enlarged(picture, nDrawWidth, nDrawHeight)},
                                                     Renders::pageFileOnly);
            expectPageFacts(printed, 1, nWidth, nHeight, nResolution, group4);
            ASSERT_EQ(printed.fromTiff.size(), 1u);
            const PageMatch match = matchPage(picture, printed.fromTiff[0], 8);
            EXPECT_NEAR(match.printedInk, match.drawnInk, 0.005) << match.describe();
            EXPECT_TRUE(match.isFaithfulBilevel()) << match.describe();
            std::printf("[ figures  ] resolution %d, drawScale %d: %s\n", nResolution, nDrawScale,
                        match.describe().c_str());
        }
    }
}

// Text as an application draws it, anti-aliased (a PDF rendered by poppler at the drawing
// resolution): the printed page keeps its ink and the tone of every small area.
TEST(PrintedContent, antiAliasedTextKeepsInkAndTone)
{
    if (!HostShell::isAvailable())
        GTEST_SKIP() << "needs the Linux host beneath Wine";
    util::test::ScratchDirectory source;
    std::string output;
    // Several sizes of a serif and a sans-serif face, Letter paper.
    const std::optional<int> status = HostShell::run(
        "set -e; gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=pdfwrite -sPAPERSIZE=letter -dFIXEDMEDIA "
        "-sOutputFile=text.pdf -c '"
        "/Times-Roman findfont 11 scalefont setfont "
        "0 1 39 { dup 72 exch 14 mul 720 exch sub moveto pop "
        "(Printed pages must show what was drawn: every letter, every line.) show } for "
        "/Helvetica-Bold findfont 28 scalefont setfont 72 100 moveto (Fax cover sheet 0123456789) show "
        "/Helvetica findfont 7 scalefont setfont 72 80 moveto (Small print, seven points, still legible.) show "
        "showpage'; pdftoppm -r 200 text.pdf text",
        source.path(), output);
    ASSERT_TRUE(status.has_value());
    ASSERT_EQ(*status, 0) << output;
    std::string error;
    const RgbImage picture = tools::readImageFile(source / "text-1.ppm", error);
    ASSERT_EQ(error, "");
    ASSERT_EQ(picture.width, 1700);
    ASSERT_EQ(picture.height, 2200);

    const PrintedJob printed = printPictures(JobSettings{}, Sheet{}, {picture}, Renders::pageFileAndPdf);
    expectPageFacts(printed, 1, 1700, 2200, 200, group4);
    const auto renderings = renderingsOf(printed, 0);
    EXPECT_EQ(renderings.size(), 3u);
    for (const auto& [name, pPage] : renderings) {
        const PageMatch match = matchPage(picture, *pPage, 8);
        EXPECT_NEAR(match.printedInk / match.drawnInk, 1.0, 0.05) << name << ": " << match.describe();
        EXPECT_TRUE(match.isFaithfulBilevel()) << name << ": " << match.describe();
        std::printf("[ figures  ] anti-aliased text, %s: %s\n", name.c_str(), match.describe().c_str());
    }
}

// A grey ramp through every dither setting: each band's share of white follows its grey
// level (none inverted), and each setting dithers in its own way.
TEST(PrintedContent, greyRampFollowsEveryDitherSetting)
{
    if (!HostShell::isAvailable())
        GTEST_SKIP() << "needs the Linux host beneath Wine";
    const RgbImage ramp = greyRamp(1700, 2200);
    struct Case {
        int nDither;
        const char* pszName;
        double tolerance;  // of a band's mean from its grey level, 0 to 255
    };
    const Case cases[] = {{1, "Floyd-Steinberg", 4}, {12, "Stucki", 4}, {13, "Bayer", 6}, {3, "clustered dot", 12},
                          {4, "threshold band", -1}};
    std::map<int, RgbImage> pages;
    for (const Case& test : cases) {
        SCOPED_TRACE(test.pszName);
        JobSettings settings;
        settings.dither = test.nDither;
        const PrintedJob printed = printPictures(settings, Sheet{}, {ramp}, Renders::pageFileOnly);
        expectPageFacts(printed, 1, 1700, 2200, 200, group4);
        ASSERT_EQ(printed.fromTiff.size(), 1u);
        const tools::GreyImage page = tools::greyOf(printed.fromTiff[0]);
        std::string means;
        double previous = -1;
        for (int i = 0; i < rampSteps; ++i) {
            // The middle of each band, away from its edges.
            const std::int32_t nLeft = 1700 * i / rampSteps + 16;
            const std::int32_t nRight = 1700 * (i + 1) / rampSteps - 16;
            double sum = 0;
            for (std::int32_t y = 200; y < 2000; ++y) {
                for (std::int32_t x = nLeft; x < nRight; ++x)
                    sum += page.at(x, y);
            }
            const double mean = sum / (1800.0 * (nRight - nLeft));
            const double level = i * 17.0;
            means += " " + std::to_string(static_cast<int>(std::lround(mean)));
            EXPECT_GE(mean, previous) << "band " << i << " is darker than the one before";
            previous = mean;
            if (test.tolerance >= 0) {
                EXPECT_NEAR(mean, level, test.tolerance) << "band " << i;
            } else if (level < 192 || level >= 223) {
                EXPECT_EQ(mean, level < 192 ? 0.0 : 255.0) << "band " << i;
            }
        }
        std::printf("[ figures  ] grey ramp, %s: band means%s\n", test.pszName, means.c_str());
        pages[test.nDither] = printed.fromTiff[0];
    }
    for (auto first = pages.begin(); first != pages.end(); ++first) {
        for (auto second = std::next(first); second != pages.end(); ++second)
            EXPECT_NE(first->second.bgr, second->second.bgr) << "dither " << first->first << " and " << second->first;
    }
}

// With colour on, a photograph stays in colour as a JPEG page close to the picture, and
// red, green and blue stay where they were drawn.
TEST(PrintedContent, colourPhotographStaysTrue)
{
    if (!HostShell::isAvailable())
        GTEST_SKIP() << "needs the Linux host beneath Wine";
    const RgbImage photo = photograph(1700, 2200);
    JobSettings settings;
    settings.color = 1;
    const PrintedJob printed = printPictures(settings, Sheet{}, {photo}, Renders::pageFileAndPdf);
    expectPageFacts(printed, 1, 1700, 2200, 200, oldStyleJpeg);
    const auto renderings = renderingsOf(printed, 0);
    EXPECT_EQ(renderings.size(), 3u);
    for (const auto& [name, pPage] : renderings) {
        ASSERT_EQ(pPage->width, 1700) << name;
        ASSERT_EQ(pPage->height, 2200) << name;
        const RgbImage& page = *pPage;
        const PageMatch match = matchPage(photo, page, 8);
        EXPECT_TRUE(match.isFaithfulColour()) << name << ": " << match.describe();
        // The middle of each patch: its own primary, nothing of the others.
        for (int nPatch = 0; nPatch < 3; ++nPatch) {
            const std::uint8_t* p = page.pixel(1700 * nPatch / 3 + 283, 2100);
            const int rgb[3] = {p[2], p[1], p[0]};
            for (int c = 0; c < 3; ++c) {
                if (c == nPatch)
                    EXPECT_GE(rgb[c], 230) << name << ", patch " << nPatch << ", channel " << c;
                else
                    EXPECT_LE(rgb[c], 25) << name << ", patch " << nPatch << ", channel " << c;
            }
        }
        std::printf("[ figures  ] colour photograph, %s: %s\n", name.c_str(), match.describe().c_str());
    }
}

}
