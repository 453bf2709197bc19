#ifndef VELMO_DRIVER_PAGEFORMAT_H
#define VELMO_DRIVER_PAGEFORMAT_H

#include <cstdint>

namespace velmo::driver {

// Size of one paper in the drawing resolution, and its true physical size in micrometres
// (whole millimetres would make Letter 216 mm wide instead of 215.9).
struct PaperGeometry {
    std::int32_t widthPx;
    std::int32_t heightPx;
    std::int32_t widthMicrometres;
    std::int32_t heightMicrometres;

    PaperGeometry turned() const { return {heightPx, widthPx, heightMicrometres, widthMicrometres}; }
};

// Depth, drawing resolution and paper sizes of the page bitmap.
struct PageFormat {
    char tag[4];
    std::int32_t bitsPerPixel;
    std::int32_t colorsUsed;
    std::int32_t dpiX;
    std::int32_t dpiY;
    PaperGeometry letter;
    PaperGeometry legal;
};

// The drawing resolutions the driver offers.
enum class DrawingSet { dpi200, dpi300, dpi400, dpi600 };

PageFormat pageFormatOf(DrawingSet set);
const PageFormat& pageFormat();
void setPageFormat(const PageFormat& format);

// Pixels per metre of a resolution in dots per inch, truncated as bitmap headers carry it.
constexpr std::int32_t pixelsPerMetre(std::int32_t nDpi)
{
    return static_cast<std::int32_t>(static_cast<std::int64_t>(nDpi) * 10000 / 254);
}

}

#endif
