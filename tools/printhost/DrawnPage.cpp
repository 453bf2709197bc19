#include "tools/printhost/DrawnPage.h"

#include <cstring>

namespace velmo::tools::printhost {

RgbImage pixelsOf(const SURFOBJ& surface)
{
    RgbImage image;
    image.width = surface.sizlBitmap.cx;
    image.height = surface.sizlBitmap.cy;
    const std::size_t nRowBytes = static_cast<std::size_t>(image.width) * 3;
    image.bgr.resize(nRowBytes * image.height);
    for (LONG y = 0; y < image.height; ++y)
        std::memcpy(&image.bgr[y * nRowBytes],
                    static_cast<const std::uint8_t*>(surface.pvScan0) + static_cast<std::ptrdiff_t>(y) * surface.lDelta,
                    nRowBytes);
    return image;
}

}
