#ifndef VELMO_TOOLS_KORVACONV_PAGECOMMAND_H
#define VELMO_TOOLS_KORVACONV_PAGECOMMAND_H

#include "driver/PagePlan.h"
#include "driver/WorkImage.h"
#include "tools/imagefile/RgbImage.h"

#include <cstdint>
#include <string>

namespace velmo::tools {

// What the driver's page conversion decides for one page, and how it ended.
struct PageOutcome {
    driver::PagePlan plan;
    std::int32_t nResult = 0;
};

struct PageSettings {
    std::int32_t nResolution = 200;
    std::int32_t nDrawDpi = 200;
    std::int32_t nColor = 0;
    std::int32_t nThreshold = 192;
    std::int32_t nDither = 1;
    std::int32_t nQuality = 1;
};

// A picture as the driver captures a page at nDrawDpi: a 24-bit bottom-up bitmap file image.
// False when the picture does not fit a work buffer.
bool capturePicture(const RgbImage& picture, std::int32_t nDrawDpi, driver::WorkImage& page);

// Runs the driver's page conversion on a captured page and appends it to the page file:
// output size from the resolution divisor, black and white or colour, then encodePage.
PageOutcome convertCapturedPage(const driver::WorkImage& page, const PageSettings& settings, const std::string& pageFile);

}

#endif
