#include "driver/PageFormat.h"

namespace velmo::driver {

namespace {

struct DrawingSetRow {
    std::int32_t dpi;
    PaperGeometry letter;
    PaperGeometry legal;
};

// Letter is 8.5 x 11 inches, Legal 8.5 x 14, whatever the resolution they are drawn at.
constexpr std::int32_t letterWidthUm = 215900;
constexpr std::int32_t letterHeightUm = 279400;
constexpr std::int32_t legalHeightUm = 355600;

constexpr DrawingSetRow drawingSets[] = {
    {200, {1700, 2200, letterWidthUm, letterHeightUm}, {1700, 2800, letterWidthUm, legalHeightUm}},
    {300, {2550, 3300, letterWidthUm, letterHeightUm}, {2550, 4200, letterWidthUm, legalHeightUm}},
    {400, {3400, 4400, letterWidthUm, letterHeightUm}, {3400, 5600, letterWidthUm, legalHeightUm}},
    {600, {5100, 6600, letterWidthUm, letterHeightUm}, {5100, 8400, letterWidthUm, legalHeightUm}},
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
