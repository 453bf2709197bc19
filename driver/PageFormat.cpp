#include "driver/PageFormat.h"

namespace velmo::driver {

namespace {

struct DrawingSetRow {
    std::int32_t dpi;
    PaperGeometry letter;
    PaperGeometry legal;
};

constexpr DrawingSetRow drawingSets[] = {
    {200, {1700, 2200, 216, 280}, {1700, 2800, 216, 356}},
    {300, {2550, 3300, 324, 420}, {2550, 4200, 324, 534}},
    {400, {3400, 4400, 432, 560}, {3400, 5600, 432, 712}},
    {600, {5100, 6600, 648, 840}, {5100, 8400, 648, 1068}},
};

PageFormat currentFormat = pageFormatOf(DrawingSet::dpi200);

}

PageFormat pageFormatOf(DrawingSet set)
{
    const DrawingSetRow& row = drawingSets[static_cast<int>(set)];
    return PageFormat{{'D', 'I', 'B', 'D'}, 24, 0, row.dpi, row.dpi, row.letter, row.legal};
}

const PageFormat& pageFormat()
{
    return currentFormat;
}

void setPageFormat(const PageFormat& format)
{
    currentFormat = format;
}

}
