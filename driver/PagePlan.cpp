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
    std::int32_t nDivisor = nResolution > 0 ? nDrawDpi / nResolution : 1;
    if (nDivisor < 1)
        nDivisor = 1;
    plan.nWidth = static_cast<std::int32_t>(static_cast<double>(header.nWidth) / nDivisor);
    plan.nHeight = static_cast<std::int32_t>(static_cast<double>(header.nHeight) / nDivisor);
    if (nColor != 0) {
        plan.nColours = countDistinctColours(page.getStart(), page.getLength());
        plan.bBilevel = plan.nColours < nThreshold;
    }
    return plan;
}

}
