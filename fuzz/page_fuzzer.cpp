// Small arbitrary pictures through korvaconv page's reader and the driver's page
// conversion. The first two bytes choose the settings; the rest is the picture file.
#include "tools/imagefile/RgbImage.h"
#include "tools/korvaconv/PageCommand.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

using namespace velmo::tools;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize)
{
    if (nSize < 3 || nSize > 65536)
        return 0;
    std::string error;
    RgbImage picture = readImageBytes(std::vector<std::uint8_t>(pData + 2, pData + nSize), error);
    // Large pictures add time, not paths.
    if (picture.width == 0 || static_cast<std::int64_t>(picture.width) * picture.height > 512 * 512)
        return 0;
    PageSettings settings;
    const std::int32_t drawDpis[4] = {200, 300, 400, 600};
    const std::int32_t dithers[8] = {0, 1, 3, 4, 12, 13, -7, 99};
    settings.nResolution = pData[0] & 1 ? 300 : 200;
    settings.nDrawDpi = drawDpis[(pData[0] >> 1) & 3];
    settings.nColor = (pData[0] >> 3) & 1;
    settings.nThreshold = pData[1];
    settings.nDither = dithers[(pData[0] >> 4) & 7];
    settings.nQuality = 1 + (pData[0] >> 7) * 3;
    velmo::driver::WorkImage page;
    if (!capturePicture(picture, settings.nDrawDpi, page))
        return 0;
    static const std::string pageFile = "/tmp/velmo-page-fuzz-" + std::to_string(getpid()) + ".tif";
    convertCapturedPage(page, settings, pageFile);
    std::remove(pageFile.c_str());
    return 0;
}
