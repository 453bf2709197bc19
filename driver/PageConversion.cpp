#include "driver/PageConversion.h"

#include "driver/CodecRequest.h"
#include "driver/DdiBoundary.h"
#include "driver/DriverConfig.h"
#include "driver/PageBitmap.h"
#include "driver/PageEncoder.h"
#include "driver/PageFilePath.h"
#include "driver/PageFormat.h"
#include "driver/PagePlan.h"
#include "driver/WorkImage.h"

#include <cstring>

namespace velmo::driver {

namespace {

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

// What the application is told of a lost page: memory, a file, or the conversion itself.
DWORD errorOf(std::int32_t nResult)
{
    switch (nResult) {
    case workImageNoHeap:
    case workImageNoMemory:
    case encodeScaleFailed:
    case encodeReduceFailed:
        return ERROR_NOT_ENOUGH_MEMORY;
    case encodeWriteFailed:
    case encodeAppendFailed:
        return ERROR_WRITE_FAULT;
    default:
        return ERROR_INVALID_DATA;
    }
}

std::int32_t convert(Job& job, HGLOBAL hPageImage)
{
    const DriverConfig& config = driverConfig();
    const PageTarget target = job.document.forPage(job.state.documentName, config.outputDir,
                                                   job.state.pageCount == 1, config.append != 0);
    JobPageFiles::Entry& file = job.pages.fileFor(target, static_cast<unsigned long>(job.state.jobId));

    WorkImage page;
    if (const std::int32_t nStatus = copyPageImage(hPageImage, page); nStatus != workImageOk)
        return nStatus;
    if (const std::int32_t nStatus = ensureCodecEngine(); nStatus != 0)
        return nStatus;
    setJpegQuality(config.jpegQuality);

    const PagePlan plan = planPage(page, config.resolution, pageFormat().dpiX, config.color, config.threshold);
    const std::int32_t nResult =
        encodePage(page, plan.nWidth, plan.nHeight, plan.bBilevel, config.dither, file.jobFile.c_str());
    if (nResult == encodeOk)
        ++file.nPages;
    return nResult;
}

}

DWORD convertPage(Job& job, HGLOBAL hPageImage)
{
    // A conversion that ends in an exception ran out of memory or lost a file on the way.
    const std::int32_t nResult = guardBoundary<std::int32_t>(encodeAppendFailed, [&] { return convert(job, hPageImage); });
    return nResult == encodeOk ? 0 : errorOf(nResult);
}

}
