#include "driver/PageConversion.h"

#include "driver/CodecRequest.h"
#include "driver/DdiBoundary.h"
#include "driver/DriverConfig.h"
#include "driver/JobState.h"
#include "driver/PageBitmap.h"
#include "driver/PageEncoder.h"
#include "driver/PageFilePath.h"
#include "driver/PageFormat.h"
#include "driver/PagePlan.h"
#include "driver/WorkImage.h"

#include <cstring>

namespace velmo::driver {

namespace {

// Result of a conversion that ended in an exception (no memory, a file that vanished).
constexpr int conversionAborted = 900;

// One job runs at a time in a process, and its pages arrive on one thread.
DocumentPageFile currentDocumentPageFile;

std::int32_t copyPageImage(HGLOBAL hPageImage, WorkImage& page)
{
    const SIZE_T nSize = GlobalSize(hPageImage);
    if (nSize < static_cast<SIZE_T>(pagebitmap::kPagePixelOffset) || nSize > static_cast<SIZE_T>(INT32_MAX - 8))
        return workImageBadSize;
    const std::int32_t nStatus = page.reserve(static_cast<std::int32_t>(nSize));
    if (nStatus != workImageOk)
        return nStatus;
    const void* pImage = GlobalLock(hPageImage);
    if (!pImage)
        return workImageBadSize;
    std::memcpy(page.getStart(), pImage, nSize);
    GlobalUnlock(hPageImage);
    return page.truncate(static_cast<std::int32_t>(nSize));
}

int convert(HGLOBAL hPageImage)
{
    const DriverConfig& config = driverConfig();
    const JobState& job = jobState();
    const std::string pageFile =
        currentDocumentPageFile.forPage(job.documentName, config.outputDir, job.pageCount == 1);

    WorkImage page;
    if (const std::int32_t nStatus = copyPageImage(hPageImage, page); nStatus != workImageOk)
        return nStatus;
    if (const std::int32_t nStatus = ensureCodecEngine(); nStatus != 0)
        return nStatus;
    setJpegQuality(config.jpegQuality);

    const PagePlan plan = planPage(page, config.resolution, pageFormat().dpiX, config.color, config.threshold);
    return encodePage(page, plan.nWidth, plan.nHeight, plan.bBilevel, config.dither, pageFile.c_str());
}

}

int convertPage(HGLOBAL hPageImage)
{
    // The caller still has to free the page and clear the surface for the next one.
    return guardBoundary<int>(conversionAborted, [&] { return convert(hPageImage); });
}

}
