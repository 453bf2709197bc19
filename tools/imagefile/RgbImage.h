#ifndef VELMO_TOOLS_IMAGEFILE_RGBIMAGE_H
#define VELMO_TOOLS_IMAGEFILE_RGBIMAGE_H

#include <cstdint>
#include <string>
#include <vector>

namespace velmo::tools {

// A picture to print: rows top-down, three bytes per pixel in blue-green-red order.
struct RgbImage {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<std::uint8_t> bgr;

    std::uint8_t* pixel(std::int32_t x, std::int32_t y) { return &bgr[(static_cast<std::size_t>(y) * width + x) * 3]; }
    const std::uint8_t* pixel(std::int32_t x, std::int32_t y) const
    {
        return &bgr[(static_cast<std::size_t>(y) * width + x) * 3];
    }
};

// Reads a PPM, PGM or PBM (binary or plain) or an uncompressed BMP of 1, 4, 8, 24 or 32
// bits per pixel. On failure the result is empty and the error says why.
RgbImage readImageFile(const std::string& path, std::string& error);
// The same, from the file's bytes.
RgbImage readImageBytes(std::vector<std::uint8_t> bytes, std::string& error);
// Writes a binary PPM; false when the file cannot be written.
bool writePpmFile(const std::string& path, const RgbImage& image);

}

#endif
