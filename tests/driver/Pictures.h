#ifndef VELMO_TESTS_DRIVER_PICTURES_H
#define VELMO_TESTS_DRIVER_PICTURES_H

#include "tools/imagefile/RgbImage.h"

#include <cstdint>

// Pictures that the content tests print, one device pixel per picture pixel, so that the
// printed page can be held against them. Each is laid out in fractions of its size, so
// that every paper and orientation gets the same drawing.
namespace velmo::driver::test {

// A black-and-white chart: a frame, rules of 1 to 5 pixels across and down, a field of
// one-pixel squares, lines of "words", a disc, a diagonal and a mark in one corner only
// (so that a page turned or mirrored shows).
tools::RgbImage bilevelChart(std::int32_t nWidth, std::int32_t nHeight);

// The picture resampled to another size by nearest neighbour: each pixel becomes a whole
// block when the factor is whole.
tools::RgbImage enlarged(const tools::RgbImage& picture, std::int32_t nWidth, std::int32_t nHeight);

// Sixteen upright bands of grey from black (0) to white (255) in steps of 17.
constexpr int rampSteps = 16;
tools::RgbImage greyRamp(std::int32_t nWidth, std::int32_t nHeight);

// A smooth colour photograph with fine texture (thousands of colours) and, along its
// bottom, patches of pure red, green and blue, each a third of the width.
tools::RgbImage photograph(std::int32_t nWidth, std::int32_t nHeight);

// A small black-and-white picture that says its number (below 65536): sixteen cells in a
// row, black for each set bit, and a bar whose length follows the number.
tools::RgbImage numberedPicture(int nNumber);
// The number a page printed from a numbered picture shows; -1 when it shows none.
int numberOnPage(const tools::RgbImage& page);
// A white page with the picture at its top left, as the print host draws a small picture.
tools::RgbImage onPage(const tools::RgbImage& picture, std::int32_t nWidth, std::int32_t nHeight);

}

#endif
