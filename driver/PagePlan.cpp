#include "driver/PagePlan.h"

#include "driver/PageBitmap.h"

namespace velmo::driver {

PagePlan planPage(const WorkImage& page, std::int32_t nResolution, std::int32_t nDrawDpi, std::int32_t nColor,
                  std::int32_t nThreshold)
{
    PagePlan plan;
    if (page.getLength() < pagebitmap::kPagePixelOffset)
        return plan;
    codec::DibHeader header = pagebitmap::readInfoHeader(page.getStart());
    // Scaled by the exact ratio (3:1, 3:2, 4:3), so that every page has the configured
    // resolution; a page drawn at or below it keeps its size.
    const bool bScaled = nResolution > 0 && nDrawDpi > nResolution;
    auto outputLength = [&](std::int32_t nLength) {
        return bScaled ? static_cast<std::int32_t>(static_cast<std::int64_t>(nLength) * nResolution / nDrawDpi) : nLength;
    };
    plan.nWidth = outputLength(header.nWidth);
    plan.nHeight = outputLength(header.nHeight);
    if (nColor != 0) {
        plan.nColours = countDistinctColours(page.getStart(), page.getLength());
        plan.bBilevel = plan.nColours < nThreshold;
    }
    return plan;
}

}
