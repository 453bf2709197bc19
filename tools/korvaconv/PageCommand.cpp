#include "tools/korvaconv/PageCommand.h"

#include "driver/CodecRequest.h"
#include "driver/PageBitmap.h"
#include "driver/PageEncoder.h"

#include <cstring>

namespace velmo::tools {

using namespace velmo::driver;

bool capturePicture(const RgbImage& picture, std::int32_t nDrawDpi, WorkImage& page)
{
    std::int64_t nStride = pagebitmap::rowStride(picture.width, 24);
    std::int64_t nSize = pagebitmap::kPagePixelOffset + nStride * picture.height;
    if (picture.width < 1 || picture.height < 1 || nSize > INT32_MAX - 64 || page.reserve(static_cast<std::int32_t>(nSize)) != 0)
        return false;
    unsigned char* pImage = page.getStart();
    pagebitmap::writeFileHeader(pImage, pagebitmap::kPagePixelOffset);
    codec::DibHeader header{};
    header.nSize = sizeof header;
    header.nWidth = picture.width;
    header.nHeight = picture.height;
    header.nPlanes = 1;
    header.nBitCount = 24;
    header.nXPelsPerMeter = header.nYPelsPerMeter = static_cast<std::int32_t>(nDrawDpi * 10000.0 / 254 + 0.5);
    pagebitmap::writeInfoHeader(pImage, header);
    // Rows bottom-up, in the picture's blue-green-red order.
    for (std::int32_t y = 0; y < picture.height; ++y) {
        std::memcpy(pImage + pagebitmap::kPagePixelOffset + (picture.height - 1 - y) * nStride,
                    picture.bgr.data() + static_cast<std::size_t>(y) * picture.width * 3, static_cast<std::size_t>(picture.width) * 3);
    }
    return true;
}

PageOutcome convertCapturedPage(const WorkImage& page, const PageSettings& settings, const std::string& pageFile)
{
    PageOutcome outcome;
    outcome.plan = planPage(page, settings.nResolution, settings.nDrawDpi, settings.nColor, settings.nThreshold);
    setJpegQuality(settings.nQuality);
    outcome.nResult = ensureCodecEngine();
    if (outcome.nResult == 0)
        outcome.nResult = encodePage(page, outcome.plan.nWidth, outcome.plan.nHeight, outcome.plan.bBilevel, settings.nDither,
                                     pageFile.c_str());
    return outcome;
}

}
