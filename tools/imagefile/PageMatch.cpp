#include "tools/imagefile/PageMatch.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace velmo::tools {

namespace {

// The tone of a faithful black-and-white page follows the picture's within a level or two
// over the page and within a few dozen in any one tile, where dithering or scaling moves an
// edge; a page shifted by a few pixels, missing a patch or inverted goes beyond that. A
// faithful JPEG page stays near 40 dB; a shifted one falls to about 31.
constexpr double maxMeanTileDifference = 2;
constexpr double maxWorstTileDifference = 40;
constexpr double minColourPsnr = 35;

// The source pixels [first, last] that target pixel t covers, with the overlap of each.
struct Span {
    std::int32_t nFirst;
    std::vector<double> weights;
};

std::vector<Span> spansOf(std::int32_t nSource, std::int32_t nTarget)
{
    std::vector<Span> spans(static_cast<std::size_t>(nTarget));
    const double scale = static_cast<double>(nSource) / nTarget;
    for (std::int32_t t = 0; t < nTarget; ++t) {
        const double begin = t * scale;
        const double end = begin + scale;
        Span& span = spans[static_cast<std::size_t>(t)];
        span.nFirst = std::min(static_cast<std::int32_t>(begin), nSource - 1);
        for (std::int32_t s = span.nFirst; s < nSource && s < end; ++s)
            span.weights.push_back((std::min<double>(s + 1, end) - std::max<double>(s, begin)) / scale);
    }
    return spans;
}

}

GreyImage greyOf(const RgbImage& image)
{
    GreyImage grey;
    grey.width = image.width;
    grey.height = image.height;
    grey.levels.resize(static_cast<std::size_t>(image.width) * image.height);
    for (std::size_t i = 0; i < grey.levels.size(); ++i) {
        const std::uint8_t* p = &image.bgr[i * 3];
        grey.levels[i] = static_cast<std::uint8_t>((299 * p[2] + 587 * p[1] + 114 * p[0]) / 1000);
    }
    return grey;
}

RgbImage resampled(const RgbImage& image, std::int32_t nWidth, std::int32_t nHeight)
{
    if (image.width == nWidth && image.height == nHeight)
        return image;
    const std::vector<Span> columns = spansOf(image.width, nWidth);
    const std::vector<Span> rows = spansOf(image.height, nHeight);
    RgbImage target;
    target.width = nWidth;
    target.height = nHeight;
    target.bgr.resize(static_cast<std::size_t>(nWidth) * nHeight * 3);
    // Columns first, into one row of sums per source row that a target row covers.
    std::vector<double> rowSums(static_cast<std::size_t>(nWidth) * 3);
    for (std::int32_t y = 0; y < nHeight; ++y) {
        std::fill(rowSums.begin(), rowSums.end(), 0.0);
        const Span& rowSpan = rows[static_cast<std::size_t>(y)];
        for (std::size_t k = 0; k < rowSpan.weights.size(); ++k) {
            const std::uint8_t* pRow = &image.bgr[static_cast<std::size_t>(rowSpan.nFirst + k) * image.width * 3];
            for (std::int32_t x = 0; x < nWidth; ++x) {
                const Span& columnSpan = columns[static_cast<std::size_t>(x)];
                for (std::size_t j = 0; j < columnSpan.weights.size(); ++j) {
                    const double weight = rowSpan.weights[k] * columnSpan.weights[j];
                    const std::uint8_t* p = pRow + (columnSpan.nFirst + j) * 3;
                    for (int c = 0; c < 3; ++c)
                        rowSums[static_cast<std::size_t>(x) * 3 + c] += weight * p[c];
                }
            }
        }
        for (std::size_t i = 0; i < rowSums.size(); ++i)
            target.bgr[static_cast<std::size_t>(y) * nWidth * 3 + i] = static_cast<std::uint8_t>(std::lround(rowSums[i]));
    }
    return target;
}

PageMatch matchPage(const RgbImage& drawn, const RgbImage& printed, std::int32_t nTile)
{
    PageMatch match;
    if (printed.width < 1 || printed.height < 1 || drawn.width < 1 || drawn.height < 1 || nTile < 1)
        return match;
    const RgbImage scaled = resampled(drawn, printed.width, printed.height);
    const GreyImage drawnGrey = greyOf(scaled);
    const GreyImage printedGrey = greyOf(printed);

    std::int64_t nPrintedInk = 0;
    for (std::size_t i = 0; i < drawnGrey.levels.size(); ++i) {
        const bool bDrawnInk = drawnGrey.levels[i] < inkLevel;
        const bool bPrintedInk = printedGrey.levels[i] < inkLevel;
        nPrintedInk += bPrintedInk;
        match.nMismatched += bDrawnInk != bPrintedInk;
    }
    // The ink of the picture as drawn, at its own resolution.
    std::int64_t nOriginalInk = 0;
    for (std::uint8_t nLevel : greyOf(drawn).levels)
        nOriginalInk += nLevel < inkLevel;
    match.drawnInk = static_cast<double>(nOriginalInk) / (static_cast<double>(drawn.width) * drawn.height);
    match.printedInk = static_cast<double>(nPrintedInk) / static_cast<double>(printedGrey.levels.size());

    double totalDifference = 0;
    std::int64_t nTiles = 0;
    for (std::int32_t top = 0; top < printed.height; top += nTile) {
        for (std::int32_t left = 0; left < printed.width; left += nTile) {
            std::int64_t nDrawnSum = 0;
            std::int64_t nPrintedSum = 0;
            const std::int32_t nBottom = std::min(top + nTile, printed.height);
            const std::int32_t nRight = std::min(left + nTile, printed.width);
            for (std::int32_t y = top; y < nBottom; ++y) {
                for (std::int32_t x = left; x < nRight; ++x) {
                    nDrawnSum += drawnGrey.at(x, y);
                    nPrintedSum += printedGrey.at(x, y);
                }
            }
            const double difference =
                std::fabs(static_cast<double>(nPrintedSum - nDrawnSum)) / ((nBottom - top) * (nRight - left));
            totalDifference += difference;
            match.worstTileDifference = std::max(match.worstTileDifference, difference);
            ++nTiles;
        }
    }
    match.meanTileDifference = totalDifference / static_cast<double>(nTiles);

    double squaredError = 0;
    for (std::size_t i = 0; i < printed.bgr.size(); ++i) {
        const double difference = static_cast<double>(printed.bgr[i]) - scaled.bgr[i];
        squaredError += difference * difference;
    }
    const double meanSquaredError = squaredError / static_cast<double>(printed.bgr.size());
    match.psnr = meanSquaredError > 0 ? 10 * std::log10(255.0 * 255.0 / meanSquaredError) : 99;
    return match;
}

bool PageMatch::isFaithfulBilevel() const
{
    return meanTileDifference <= maxMeanTileDifference && worstTileDifference <= maxWorstTileDifference;
}

bool PageMatch::isFaithfulColour() const
{
    return psnr >= minColourPsnr;
}

std::string PageMatch::describe() const
{
    char text[200];
    std::snprintf(text, sizeof text,
                  "%lld pixels differ, ink %.2f%% drawn / %.2f%% printed, tile tone difference %.1f mean / %.1f worst, "
                  "PSNR %.1f dB",
                  static_cast<long long>(nMismatched), drawnInk * 100, printedInk * 100, meanTileDifference,
                  worstTileDifference, psnr);
    return text;
}

}
