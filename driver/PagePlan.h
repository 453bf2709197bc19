#ifndef VELMO_DRIVER_PAGEPLAN_H
#define VELMO_DRIVER_PAGEPLAN_H

#include "driver/WorkImage.h"

#include <cstdint>

namespace velmo::driver {

// What becomes of a captured page: its size at the output resolution, and whether it is
// reduced to black and white.
struct PagePlan {
    std::int32_t nWidth = 0;
    std::int32_t nHeight = 0;
    bool bBilevel = true;
    // Distinct colours counted (0 when colour pages are off and nothing was counted).
    std::int32_t nColours = 0;
};

// The output size is the page's at the output resolution; with colour on (nColor not 0) a page stays in colour unless it has fewer than
// nThreshold distinct colours.
PagePlan planPage(const WorkImage& page, std::int32_t nResolution, std::int32_t nDrawDpi, std::int32_t nColor,
                  std::int32_t nThreshold);

}

#endif
