// korvaconv: the imaging library's conversions from the command line.
//   korvaconv tiff INPUT OUTPUT [options]   append pages to a TIFF file (convertToTiff)
//   korvaconv pdf INPUT OUTPUT [options]    write a TIFF file as PDF (convertToPdf)
//   korvaconv page IMAGE PAGEFILE [options] run the driver's page conversion on a picture
// Exit status: 0 done, 1 the conversion failed (its result code and report on standard
// error), 2 usage error.
#include "CommandLine.h"
#include "core/String.h"
#include "lib/graphics.Conversion.h"
#include "tools/korvaconv/PageCommand.h"

#include <cstdio>
#include <functional>
#include <map>

using velmo::tools::CommandLine;
using velmo::tools::UsageError;

namespace {

const char kUsage[] =
    "usage: korvaconv COMMAND ARGUMENTS\n"
    "\n"
    "  korvaconv tiff INPUT OUTPUT [--pages LIST] [--width PX] [--height PX] [--xres DPI]\n"
    "                 [--yres DPI] [--compression N] [--fill-lines] [--force-recode]\n"
    "      Appends the pages of the TIFF file INPUT to OUTPUT (created when missing).\n"
    "      --pages LIST      pages to take, counting from 0: \"0,2-3\" (default: all)\n"
    "      --width/--height  crop or pad each page to this many pixels, centred, black\n"
    "      --xres/--yres     set the resolution in dots per inch\n"
    "      --compression N   0 keep (default), 1 none, 2 modified Huffman, 3 Group 3,\n"
    "                        4 Group 4, -1 drop the image data\n"
    "      --fill-lines      repeat every scan line once (doubles the height)\n"
    "      --force-recode    decode and code again even when nothing changes\n"
    "\n"
    "  korvaconv pdf INPUT OUTPUT [--pages LIST] [--owner PASSWORD] [--user PASSWORD]\n"
    "                [--permissions N] [--128] [--zoom Z] [--id TEXT]\n"
    "      Writes the pages of the TIFF file INPUT as the PDF file OUTPUT.\n"
    "      --owner/--user    passwords; either one encrypts the file (RC4, 40 bits)\n"
    "      --128             encrypt with a 128-bit key\n"
    "      --permissions N   the permission bits, as a signed number (default -4)\n"
    "      --zoom Z          initial view: 0 none (default), -2 fit page, -1 fit width,\n"
    "                        else a zoom factor\n"
    "      --id TEXT         the 16-character file identifier of encrypted files\n"
    "\n"
    "  korvaconv page IMAGE PAGEFILE [--resolution 200|300] [--draw-dpi 200|300|400|600]\n"
    "                 [--color 0|1] [--threshold N] [--dither N] [--quality 1-4]\n"
    "      Converts the picture IMAGE (PPM, PGM, PBM or BMP), taken as a page captured at the\n"
    "      drawing resolution, as the printer driver does, and appends it to PAGEFILE.\n"
    "      --resolution      output resolution (default 200)\n"
    "      --draw-dpi        drawing resolution of the picture (default 200)\n"
    "      --color 1         keep colour pages (JPEG) unless they have fewer than\n"
    "                        --threshold colours (default 192)\n"
    "      --dither N        reduction to black and white: 1 error diffusion (default),\n"
    "                        12 Stucki, 13 ordered, 3 halftone, 4 threshold band\n"
    "      --quality 1-4     JPEG quality step, 1 finest (default 1)\n"
    "      Prints one line per page: size, G4 or JPEG, distinct colours, result code.\n"
    "\n"
    "Exit status: 0 done, 1 the conversion failed, 2 usage error. A failed tiff or pdf\n"
    "conversion leaves no output behind: a file it made is deleted, a TIFF file it appended\n"
    "to is cut back to what it held. OUTPUT may not be INPUT, under any name.\n";

int reportResult(std::int32_t nResult, const velmo::core::String& report)
{
    if (nResult == 0)
        return 0;
    std::fprintf(stderr, "korvaconv: conversion failed with result code %d\n", static_cast<int>(nResult));
    if (!report.isEmpty())
        std::fprintf(stderr, "%s", report.getBuffer());
    return 1;
}

void requireFiles(const CommandLine& line)
{
    if (line.positional().size() != 2)
        throw UsageError("INPUT and OUTPUT are needed");
}

int runTiff(const std::vector<std::string>& words)
{
    CommandLine line(words, {"pages", "width", "height", "xres", "yres", "compression"}, {"fill-lines", "force-recode"});
    requireFiles(line);
    velmo::core::String report;
    std::int32_t nResult = velmo::lib::graphics::convertToTiff(
        line.positional()[0].c_str(), line.text("pages").c_str(), line.positional()[1].c_str(), line.integer("width", 0),
        line.integer("height", 0), line.integer("xres", 0), line.integer("yres", 0),
        line.choice("compression", 0, {-1, 0, 1, 2, 3, 4}), line.has("fill-lines") ? 1 : 0, line.has("force-recode") ? 1 : 0,
        &report);
    return reportResult(nResult, report);
}

int runPdf(const std::vector<std::string>& words)
{
    CommandLine line(words, {"pages", "owner", "user", "permissions", "zoom", "id"}, {"128"});
    requireFiles(line);
    velmo::core::String report;
    std::int32_t nResult = velmo::lib::graphics::convertToPdf(
        line.positional()[0].c_str(), line.text("pages").c_str(), line.positional()[1].c_str(), line.text("id").c_str(),
        line.text("owner").c_str(), line.text("user").c_str(), line.integer("permissions", -4), line.has("128") ? 1 : 0,
        line.number("zoom", 0), &report);
    return reportResult(nResult, report);
}

int runPage(const std::vector<std::string>& words)
{
    CommandLine line(words, {"resolution", "draw-dpi", "color", "threshold", "dither", "quality"}, {});
    if (line.positional().size() != 2)
        throw UsageError("IMAGE and PAGEFILE are needed");
    velmo::tools::PageSettings settings;
    settings.nResolution = line.choice("resolution", 200, {200, 300});
    settings.nDrawDpi = line.choice("draw-dpi", 200, {200, 300, 400, 600});
    settings.nColor = line.choice("color", 0, {0, 1});
    settings.nThreshold = line.integer("threshold", 192);
    settings.nDither = line.integer("dither", 1);
    settings.nQuality = line.choice("quality", 1, {1, 2, 3, 4});

    std::string error;
    velmo::tools::RgbImage picture = velmo::tools::readImageFile(line.positional()[0], error);
    velmo::driver::WorkImage page;
    if (picture.width == 0 || !velmo::tools::capturePicture(picture, settings.nDrawDpi, page)) {
        std::fprintf(stderr, "korvaconv: %s\n", error.empty() ? "the picture is too large" : error.c_str());
        return 1;
    }
    velmo::tools::PageOutcome outcome = velmo::tools::convertCapturedPage(page, settings, line.positional()[1]);
    const velmo::driver::PagePlan& plan = outcome.plan;
    std::printf("page 1: %dx%d %s colours %d result %d\n", static_cast<int>(plan.nWidth), static_cast<int>(plan.nHeight),
                plan.bBilevel ? "G4" : "JPEG", static_cast<int>(plan.nColours), static_cast<int>(outcome.nResult));
    return outcome.nResult == 0 ? 0 : 1;
}

}

int main(int argc, char** argv)
{
    const std::map<std::string, std::function<int(const std::vector<std::string>&)>> commands = {
        {"tiff", runTiff},
        {"pdf", runPdf},
        {"page", runPage},
    };
    std::vector<std::string> words(argv + 1, argv + argc);
    if (words.empty() || words[0] == "--help" || words[0] == "-h" || words[0] == "help") {
        std::fputs(kUsage, words.empty() ? stderr : stdout);
        return words.empty() ? 2 : 0;
    }
    try {
        auto command = commands.find(words[0]);
        if (command == commands.end())
            throw UsageError("unknown command " + words[0]);
        return command->second(std::vector<std::string>(words.begin() + 1, words.end()));
    } catch (const UsageError& error) {
        std::fprintf(stderr, "korvaconv: %s\n\n%s", error.what(), kUsage);
        return 2;
    }
}
