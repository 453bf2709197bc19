#ifndef VELMO_TESTS_LIB_BILEVELPAGE_H
#define VELMO_TESTS_LIB_BILEVELPAGE_H

#include <cstdint>
#include <string>
#include <vector>

namespace velmo::tests {

// A 1-bit page, rows packed most significant bit first, set bits black. The tests' own
// straightforward model, independent of the library's coders.
struct BilevelPage {
    std::int32_t nWidth = 0;
    std::int32_t nHeight = 0;
    std::vector<unsigned char> rows;

    BilevelPage() = default;
    BilevelPage(std::int32_t nPageWidth, std::int32_t nPageHeight)
        : nWidth(nPageWidth), nHeight(nPageHeight), rows(static_cast<std::size_t>(rowBytes() * nPageHeight))
    {
    }
    std::int32_t rowBytes() const { return (nWidth + 7) / 8; }
    bool isBlack(std::int32_t x, std::int32_t y) const
    {
        return (rows[static_cast<std::size_t>(y * rowBytes() + x / 8)] >> (7 - x % 8)) & 1;
    }
    void setBlack(std::int32_t x, std::int32_t y, bool bBlack);
    bool operator==(const BilevelPage& other) const
    {
        return nWidth == other.nWidth && nHeight == other.nHeight && rows == other.rows;
    }

    // The page as a run stream: white first, a closing 0 when a line ends white.
    std::vector<std::uint16_t> toRuns() const;
    static BilevelPage fromRuns(const std::vector<std::uint16_t>& runs, std::int32_t nWidth);
    // A copy nWidth x nHeight taking pixel (x, y) from (x + nLeft, y + nTop); outside
    // pixels are white.
    BilevelPage window(std::int32_t nLeft, std::int32_t nTop, std::int32_t nWindowWidth, std::int32_t nWindowHeight) const;
    BilevelPage inverted() const;
};

// What the tests need of a page of a TIFF file: the fields of its IFD and all its strip
// bytes, back to back.
struct TiffImage {
    std::int32_t nWidth = 0;
    std::int32_t nHeight = 0;
    std::int32_t nCompression = 1;
    std::int32_t nPhotometric = 0;
    std::int32_t nFillOrder = 1;
    std::int32_t nT4Options = 0;
    std::int32_t nRowsPerStrip = 0;
    std::vector<unsigned char> data;
};

TiffImage readTiff(const std::string& path);
// Every page of a TIFF file, in the order of its IFD chain.
std::vector<TiffImage> readTiffPages(const std::string& path);
void writeTiff(const std::string& path, const TiffImage& image);
// The pixels of an uncompressed TIFF (min-is-black is turned into min-is-white).
BilevelPage pageOfUncompressed(const TiffImage& image);
TiffImage uncompressedOf(const BilevelPage& page);

std::vector<unsigned char> readFileBytes(const std::string& path);
void writeFileBytes(const std::string& path, const std::vector<unsigned char>& bytes);

// Runs a shell command; true when it exited with 0.
bool runCommand(const std::string& command);
bool haveTool(const char* pszTool);
// A scratch file name unique to this test program and name.
std::string scratchPath(const std::string& name);
// The text page of tests/lib/data, decoded by libtiff.
BilevelPage loadTextPage();

}

#endif
