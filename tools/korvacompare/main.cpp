// korvacompare: says whether a printed page shows what was drawn for it.
//   korvacompare DRAWN PRINTED [--tile N]
// Exit status: 0 the page matches, 1 it differs, 2 usage or read error.
#include "tools/imagefile/PageMatch.h"
#include "tools/imagefile/RgbImage.h"
#include "tools/korvaconv/CommandLine.h"

#include <cstdio>
#include <stdexcept>

using velmo::tools::CommandLine;
using velmo::tools::RgbImage;
using velmo::tools::UsageError;

namespace {

const char usage[] =
    "usage: korvacompare DRAWN PRINTED [--tile N]\n"
    "\n"
    "Compares the printed page PRINTED with the page DRAWN as it was drawn (PPM, PGM, PBM or\n"
    "BMP; DRAWN may have a higher resolution and is averaged down to the size of PRINTED) and\n"
    "prints one line: the kind of page (black and white when every pixel of PRINTED is black\n"
    "or white, else colour), whether it matches, and the figures.\n"
    "  --tile N   side in printed pixels of the squares whose tone is compared (default 16)\n"
    "\n"
    "Exit status: 0 the page matches, 1 it differs, 2 usage or read error.\n";

// A picture that cannot be read: like a usage error, it says nothing about the page.
class ReadError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

RgbImage readPicture(const std::string& path)
{
    std::string error;
    RgbImage picture = velmo::tools::readImageFile(path, error);
    if (picture.width == 0)
        throw ReadError(error.empty() ? "no pixels in " + path : error);
    return picture;
}

bool isBlackAndWhite(const RgbImage& page)
{
    for (std::size_t i = 0; i < page.bgr.size(); i += 3) {
        const std::uint8_t nLevel = page.bgr[i];
        if ((nLevel != 0 && nLevel != 255) || page.bgr[i + 1] != nLevel || page.bgr[i + 2] != nLevel)
            return false;
    }
    return true;
}

int compare(const std::vector<std::string>& words)
{
    const CommandLine line(words, {"tile"}, {});
    if (line.positional().size() != 2)
        throw UsageError("DRAWN and PRINTED are needed");
    const std::int32_t nTile = line.integer("tile", 16);
    if (nTile < 1)
        throw UsageError("--tile must be at least 1");
    const RgbImage drawn = readPicture(line.positional()[0]);
    const RgbImage printed = readPicture(line.positional()[1]);

    const velmo::tools::PageMatch match = velmo::tools::matchPage(drawn, printed, nTile);
    const bool bBlackAndWhite = isBlackAndWhite(printed);
    const bool bFaithful = bBlackAndWhite ? match.isFaithfulBilevel() : match.isFaithfulColour();
    std::printf("%s, %s: %s\n", bBlackAndWhite ? "black and white" : "colour",
                bFaithful ? "matches what was drawn" : "DIFFERS from what was drawn", match.describe().c_str());
    return bFaithful ? 0 : 1;
}

}

int main(int argc, char** argv)
{
    const std::vector<std::string> words(argv + 1, argv + argc);
    if (words.size() == 1 && (words[0] == "--help" || words[0] == "-h")) {
        std::fputs(usage, stdout);
        return 0;
    }
    try {
        return compare(words);
    } catch (const UsageError& error) {
        std::fprintf(stderr, "korvacompare: %s\n\n%s", error.what(), usage);
        return 2;
    } catch (const ReadError& error) {
        std::fprintf(stderr, "korvacompare: %s\n", error.what());
        return 2;
    }
}
