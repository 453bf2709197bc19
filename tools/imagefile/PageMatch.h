#ifndef VELMO_TOOLS_IMAGEFILE_PAGEMATCH_H
#define VELMO_TOOLS_IMAGEFILE_PAGEMATCH_H

#include "tools/imagefile/RgbImage.h"

#include <cstdint>
#include <string>

namespace velmo::tools {

// Grey levels of a picture, rows top-down, one byte per pixel: (299 R + 587 G + 114 B) / 1000.
struct GreyImage {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<std::uint8_t> levels;

    std::uint8_t at(std::int32_t x, std::int32_t y) const { return levels[static_cast<std::size_t>(y) * width + x]; }
};

GreyImage greyOf(const RgbImage& image);

// The picture averaged down (or sampled up) to another size: each target pixel the mean of
// the source area it covers, channel by channel.
RgbImage resampled(const RgbImage& image, std::int32_t nWidth, std::int32_t nHeight);

// Darker than half: a pixel that counts as ink.
constexpr std::uint8_t inkLevel = 128;

// How closely a printed page shows what was drawn for it. The drawn picture may have been
// drawn at a higher resolution than the page has: it is averaged down to the page's size
// first, as the driver scales it.
struct PageMatch {
    std::int64_t nMismatched = 0;    // pixels ink in one and paper in the other
    double drawnInk = 0;             // share of the picture's pixels that are ink (0 to 1)
    double printedInk = 0;           // the same of the printed page
    double meanTileDifference = 0;   // mean over tiles of |mean grey printed - mean grey drawn|
    double worstTileDifference = 0;  // the largest of those, 0 to 255
    double psnr = 0;                 // dB, all three channels; 99 for equal pictures

    // Fit for a black-and-white page: tone and ink as drawn (an inverted page fails both).
    bool isFaithfulBilevel() const;
    // Fit for a colour page: close in every channel.
    bool isFaithfulColour() const;
    std::string describe() const;
};

// Compares in tiles of nTile x nTile pixels of the page (the last ones of a row or column
// may be smaller). Whether the page has the right size is the caller's to check.
PageMatch matchPage(const RgbImage& drawn, const RgbImage& printed, std::int32_t nTile);

}

#endif
