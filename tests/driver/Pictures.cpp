#include "tests/driver/Pictures.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace velmo::driver::test {

using tools::RgbImage;

namespace {

RgbImage filled(std::int32_t nWidth, std::int32_t nHeight, std::uint8_t nLevel)
{
    RgbImage picture;
    picture.width = nWidth;
    picture.height = nHeight;
    picture.bgr.assign(static_cast<std::size_t>(nWidth) * nHeight * 3, nLevel);
    return picture;
}

void setPixel(RgbImage& picture, std::int32_t x, std::int32_t y, std::uint32_t rgb)
{
    if (x < 0 || y < 0 || x >= picture.width || y >= picture.height)
        return;
    std::uint8_t* p = picture.pixel(x, y);
    p[0] = static_cast<std::uint8_t>(rgb);
    p[1] = static_cast<std::uint8_t>(rgb >> 8);
    p[2] = static_cast<std::uint8_t>(rgb >> 16);
}

// The rectangle [left, right) x [top, bottom), clipped to the picture.
void fill(RgbImage& picture, std::int32_t nLeft, std::int32_t nTop, std::int32_t nRight, std::int32_t nBottom,
          std::uint32_t rgb)
{
    for (std::int32_t y = std::max(nTop, 0); y < std::min(nBottom, picture.height); ++y) {
        for (std::int32_t x = std::max(nLeft, 0); x < std::min(nRight, picture.width); ++x)
            setPixel(picture, x, y, rgb);
    }
}

constexpr std::uint32_t black = 0x000000;

}

RgbImage bilevelChart(std::int32_t nWidth, std::int32_t nHeight)
{
    RgbImage chart = filled(nWidth, nHeight, 255);
    // Positions in thousandths of each side.
    auto x = [&](int nPermille) { return static_cast<std::int32_t>(static_cast<std::int64_t>(nWidth) * nPermille / 1000); };
    auto y = [&](int nPermille) { return static_cast<std::int32_t>(static_cast<std::int64_t>(nHeight) * nPermille / 1000); };

    // A frame of two pixels, two pixels in from the edge, and a solid mark at the top left.
    fill(chart, 2, 2, nWidth - 2, 4, black);
    fill(chart, 2, nHeight - 4, nWidth - 2, nHeight - 2, black);
    fill(chart, 2, 2, 4, nHeight - 2, black);
    fill(chart, nWidth - 4, 2, nWidth - 2, nHeight - 2, black);
    fill(chart, x(50), y(40), x(150), y(80), black);

    // Rules 1 to 5 pixels thick, across and down, 10 pixels apart.
    for (int nThickness = 1; nThickness <= 5; ++nThickness) {
        const std::int32_t nOffset = (nThickness - 1) * 10;
        fill(chart, x(200), y(50) + nOffset, x(900), y(50) + nOffset + nThickness, black);
        fill(chart, x(900) + nOffset, y(100), x(900) + nOffset + nThickness, y(300), black);
    }

    // One-pixel squares in a field, as fine as a page gets.
    for (std::int32_t py = y(120); py < y(200); ++py) {
        for (std::int32_t px = x(60); px < x(300); ++px) {
            if ((px + py) % 2 == 0)
                setPixel(chart, px, py, black);
        }
    }

    // Lines of words of varying length.
    const std::int32_t nLineHeight = std::max(y(12), 3);
    for (int nLine = 0; nLine < 20; ++nLine) {
        const std::int32_t nTop = y(230) + nLine * 2 * nLineHeight;
        std::int32_t nLeft = x(60);
        for (int nWord = 0; nWord < 12; ++nWord) {
            const std::int32_t nWordWidth = x(15 + (nLine * 7 + nWord * 5) % 9 * 8);
            if (nLeft + nWordWidth > x(850))
                break;
            fill(chart, nLeft, nTop, nLeft + nWordWidth, nTop + nLineHeight, black);
            nLeft += nWordWidth + x(12);
        }
    }

    // A disc and a diagonal line.
    const double cx = x(700);
    const double cy = y(800);
    const double radius = std::min(nWidth, nHeight) * 0.12;
    for (std::int32_t py = static_cast<std::int32_t>(cy - radius); py <= cy + radius; ++py) {
        for (std::int32_t px = static_cast<std::int32_t>(cx - radius); px <= cx + radius; ++px) {
            if ((px - cx) * (px - cx) + (py - cy) * (py - cy) <= radius * radius)
                setPixel(chart, px, py, black);
        }
    }
    const std::int32_t nSteps = std::max(x(400), y(250));
    for (std::int32_t i = 0; i <= nSteps; ++i)
        setPixel(chart, x(80) + x(400) * i / nSteps, y(700) + y(250) * i / nSteps, black);
    return chart;
}

RgbImage enlarged(const RgbImage& picture, std::int32_t nWidth, std::int32_t nHeight)
{
    RgbImage result = filled(nWidth, nHeight, 0);
    for (std::int32_t y = 0; y < nHeight; ++y) {
        const std::int32_t nSourceY = static_cast<std::int32_t>((2 * static_cast<std::int64_t>(y) + 1) * picture.height / (2 * nHeight));
        for (std::int32_t x = 0; x < nWidth; ++x) {
            const std::int32_t nSourceX = static_cast<std::int32_t>((2 * static_cast<std::int64_t>(x) + 1) * picture.width / (2 * nWidth));
            std::memcpy(result.pixel(x, y), &picture.bgr[(static_cast<std::size_t>(nSourceY) * picture.width + nSourceX) * 3], 3);
        }
    }
    return result;
}

RgbImage greyRamp(std::int32_t nWidth, std::int32_t nHeight)
{
    RgbImage ramp = filled(nWidth, nHeight, 255);
    for (int i = 0; i < rampSteps; ++i) {
        const std::uint32_t nLevel = static_cast<std::uint32_t>(i * 17);
        fill(ramp, nWidth * i / rampSteps, 0, nWidth * (i + 1) / rampSteps, nHeight, nLevel << 16 | nLevel << 8 | nLevel);
    }
    return ramp;
}

RgbImage photograph(std::int32_t nWidth, std::int32_t nHeight)
{
    RgbImage photo = filled(nWidth, nHeight, 0);
    const std::int32_t nPatchTop = nHeight * 8 / 10;
    for (std::int32_t y = 0; y < nPatchTop; ++y) {
        for (std::int32_t x = 0; x < nWidth; ++x) {
            const double u = static_cast<double>(x) / nWidth;
            const double v = static_cast<double>(y) / nPatchTop;
            const double dx = u - 0.65;
            const double dy = v - 0.35;
            const double glow = std::exp(-(dx * dx + dy * dy) / 0.03);
            const double texture = 12 * std::sin(x * 0.21) * std::sin(y * 0.17);
            std::uint8_t* p = photo.pixel(x, y);
            p[2] = static_cast<std::uint8_t>(std::clamp(40 + 170 * v + 60 * glow + texture, 0.0, 255.0));
            p[1] = static_cast<std::uint8_t>(std::clamp(70 + 110 * u + 80 * glow - texture, 0.0, 255.0));
            p[0] = static_cast<std::uint8_t>(std::clamp(210 - 160 * v + 30 * glow + texture, 0.0, 255.0));
        }
    }
    const std::uint32_t patches[] = {0xFF0000, 0x00FF00, 0x0000FF};
    for (int i = 0; i < 3; ++i)
        fill(photo, nWidth * i / 3, nPatchTop, nWidth * (i + 1) / 3, nHeight, patches[i]);
    return photo;
}

namespace {

constexpr int numberBits = 16;
constexpr std::int32_t cellSide = 24;
constexpr std::int32_t cellTop = 8;
constexpr std::int32_t cellLeft = 8;

}

RgbImage numberedPicture(int nNumber)
{
    RgbImage picture = filled(cellLeft * 2 + numberBits * cellSide, 80, 255);
    for (int nBit = 0; nBit < numberBits; ++nBit) {
        if (nNumber >> nBit & 1) {
            const std::int32_t nLeft = cellLeft + nBit * cellSide;
            fill(picture, nLeft + 2, cellTop + 2, nLeft + cellSide - 2, cellTop + cellSide - 2, black);
        }
    }
    fill(picture, cellLeft, 48, cellLeft + nNumber % (numberBits * cellSide), 60, black);
    return picture;
}

int numberOnPage(const RgbImage& page)
{
    if (page.width < cellLeft * 2 + numberBits * cellSide || page.height < 80)
        return -1;
    int nNumber = 0;
    for (int nBit = 0; nBit < numberBits; ++nBit) {
        const std::uint8_t* pCentre = page.pixel(cellLeft + nBit * cellSide + cellSide / 2, cellTop + cellSide / 2);
        if (pCentre[0] < 128)
            nNumber |= 1 << nBit;
    }
    return nNumber;
}

RgbImage onPage(const RgbImage& picture, std::int32_t nWidth, std::int32_t nHeight)
{
    RgbImage page = filled(nWidth, nHeight, 255);
    for (std::int32_t y = 0; y < std::min(picture.height, nHeight); ++y)
        std::memcpy(page.pixel(0, y), picture.pixel(0, y), static_cast<std::size_t>(std::min(picture.width, nWidth)) * 3);
    return page;
}

}
