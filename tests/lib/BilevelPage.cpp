#include "lib/BilevelPage.h"

#include "lib/TestStreams.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <algorithm>
#include <stdexcept>
#include <unistd.h>

namespace velmo::tests {

void BilevelPage::setBlack(std::int32_t x, std::int32_t y, bool bBlack)
{
    unsigned char& nByte = rows[static_cast<std::size_t>(y * rowBytes() + x / 8)];
    unsigned char nBit = static_cast<unsigned char>(0x80 >> (x % 8));
    nByte = static_cast<unsigned char>(bBlack ? nByte | nBit : nByte & ~nBit);
}

std::vector<std::uint16_t> BilevelPage::toRuns() const
{
    std::vector<std::uint16_t> runs;
    for (std::int32_t y = 0; y < nHeight; ++y) {
        bool bBlack = false;
        std::int32_t nRun = 0;
        std::size_t nLineStart = runs.size();
        for (std::int32_t x = 0; x < nWidth; ++x) {
            if (isBlack(x, y) != bBlack) {
                runs.push_back(static_cast<std::uint16_t>(nRun));
                nRun = 0;
                bBlack = !bBlack;
            }
            ++nRun;
        }
        runs.push_back(static_cast<std::uint16_t>(nRun));
        if ((runs.size() - nLineStart) % 2 == 1)
            runs.push_back(0);
        runs.push_back(0xFFFF);
    }
    return runs;
}

BilevelPage BilevelPage::fromRuns(const std::vector<std::uint16_t>& runs, std::int32_t nWidth)
{
    std::int32_t nLines = 0;
    for (std::uint16_t nValue : runs)
        nLines += nValue == 0xFFFF;
    BilevelPage page(nWidth, nLines);
    std::int32_t y = 0, x = 0;
    bool bBlack = false;
    for (std::uint16_t nValue : runs) {
        if (nValue == 0xFFFF) {
            if (x != nWidth)
                throw std::runtime_error("line " + std::to_string(y) + " holds " + std::to_string(x) + " pixels");
            ++y;
            x = 0;
            bBlack = false;
            continue;
        }
        for (std::int32_t i = 0; i < nValue && x < nWidth; ++i)
            page.setBlack(x++, y, bBlack);
        bBlack = !bBlack;
    }
    return page;
}

BilevelPage BilevelPage::window(std::int32_t nLeft, std::int32_t nTop, std::int32_t nWindowWidth, std::int32_t nWindowHeight) const
{
    BilevelPage page(nWindowWidth, nWindowHeight);
    for (std::int32_t y = 0; y < nWindowHeight; ++y) {
        for (std::int32_t x = 0; x < nWindowWidth; ++x) {
            std::int32_t sx = x + nLeft, sy = y + nTop;
            if (sx >= 0 && sx < nWidth && sy >= 0 && sy < nHeight && isBlack(sx, sy))
                page.setBlack(x, y, true);
        }
    }
    return page;
}

BilevelPage BilevelPage::inverted() const
{
    BilevelPage page(nWidth, nHeight);
    for (std::int32_t y = 0; y < nHeight; ++y)
        for (std::int32_t x = 0; x < nWidth; ++x)
            page.setBlack(x, y, !isBlack(x, y));
    return page;
}

namespace {

std::uint32_t readLe(const std::vector<unsigned char>& file, std::size_t nAt, int nBytes)
{
    if (nAt + static_cast<std::size_t>(nBytes) > file.size())
        throw std::runtime_error("TIFF file too short");
    std::uint32_t nValue = 0;
    for (int i = nBytes - 1; i >= 0; --i)
        nValue = nValue << 8 | file[nAt + static_cast<std::size_t>(i)];
    return nValue;
}

std::vector<std::uint32_t> entryValues(const std::vector<unsigned char>& file, std::size_t nEntry)
{
    std::uint32_t nType = readLe(file, nEntry + 2, 2);
    std::uint32_t nCount = readLe(file, nEntry + 4, 4);
    int nSize = nType == 3 ? 2 : 4;
    std::size_t nAt = nCount * static_cast<std::uint32_t>(nSize) <= 4 ? nEntry + 8 : readLe(file, nEntry + 8, 4);
    std::vector<std::uint32_t> values;
    for (std::uint32_t i = 0; i < nCount; ++i)
        values.push_back(readLe(file, nAt + i * static_cast<std::uint32_t>(nSize), nSize));
    return values;
}

void putLe(std::vector<unsigned char>& out, std::uint32_t nValue, int nBytes)
{
    for (int i = 0; i < nBytes; ++i)
        out.push_back(static_cast<unsigned char>(nValue >> (8 * i)));
}

}

namespace {

// The image of the IFD at nIfd; nNext receives the offset of the next one.
TiffImage readDirectory(const std::vector<unsigned char>& file, std::size_t nIfd, std::size_t& nNext, const std::string& path)
{
    std::uint32_t nEntries = readLe(file, nIfd, 2);
    TiffImage image;
    std::vector<std::uint32_t> offsets, counts;
    for (std::uint32_t i = 0; i < nEntries; ++i) {
        std::size_t nEntry = nIfd + 2 + 12 * i;
        std::vector<std::uint32_t> values = entryValues(file, nEntry);
        std::int32_t nFirst = values.empty() ? 0 : static_cast<std::int32_t>(values[0]);
        switch (readLe(file, nEntry, 2)) {
        case 256: image.nWidth = nFirst; break;
        case 257: image.nHeight = nFirst; break;
        case 259: image.nCompression = nFirst; break;
        case 262: image.nPhotometric = nFirst; break;
        case 266: image.nFillOrder = nFirst; break;
        case 273: offsets = values; break;
        case 278: image.nRowsPerStrip = nFirst; break;
        case 279: counts = values; break;
        case 292: image.nT4Options = nFirst; break;
        }
    }
    for (std::size_t i = 0; i < offsets.size() && i < counts.size(); ++i) {
        if (offsets[i] + counts[i] > file.size())
            throw std::runtime_error("strip past the end of " + path);
        image.data.insert(image.data.end(), file.begin() + offsets[i], file.begin() + offsets[i] + counts[i]);
    }
    if (image.nRowsPerStrip == 0 || image.nRowsPerStrip > image.nHeight)
        image.nRowsPerStrip = image.nHeight;
    nNext = readLe(file, nIfd + 2 + 12 * nEntries, 4);
    return image;
}

}

std::vector<unsigned char> readFileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    std::vector<unsigned char> file(static_cast<std::size_t>(std::max<std::streamoff>(in.tellg(), 0)));
    in.seekg(0);
    in.read(reinterpret_cast<char*>(file.data()), static_cast<std::streamsize>(file.size()));
    return file;
}

void writeFileBytes(const std::string& path, const std::vector<unsigned char>& bytes)
{
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::vector<TiffImage> readTiffPages(const std::string& path)
{
    std::vector<unsigned char> file = readFileBytes(path);
    if (file.size() < 8 || file[0] != 'I' || file[1] != 'I')
        throw std::runtime_error("not a little-endian TIFF: " + path);
    std::vector<TiffImage> pages;
    for (std::size_t nIfd = readLe(file, 4, 4); nIfd != 0;) {
        if (pages.size() > file.size() / 18)
            throw std::runtime_error("IFD chain loop in " + path);
        pages.push_back(readDirectory(file, nIfd, nIfd, path));
    }
    return pages;
}

TiffImage readTiff(const std::string& path)
{
    std::vector<TiffImage> pages = readTiffPages(path);
    if (pages.empty())
        throw std::runtime_error("no page in " + path);
    return pages.front();
}

void writeTiff(const std::string& path, const TiffImage& image)
{
    std::vector<unsigned char> out = {'I', 'I', 42, 0};
    putLe(out, 8 + static_cast<std::uint32_t>(image.data.size() + (image.data.size() & 1)), 4);
    out.insert(out.end(), image.data.begin(), image.data.end());
    if (out.size() & 1)
        out.push_back(0);
    struct Entry {
        std::uint16_t nTag, nType;
        std::uint32_t nValue;
    };
    std::vector<Entry> entries = {
        {256, 4, static_cast<std::uint32_t>(image.nWidth)},
        {257, 4, static_cast<std::uint32_t>(image.nHeight)},
        {258, 3, 1},
        {259, 3, static_cast<std::uint32_t>(image.nCompression)},
        {262, 3, static_cast<std::uint32_t>(image.nPhotometric)},
        {266, 3, static_cast<std::uint32_t>(image.nFillOrder)},
        {273, 4, 8},
        {277, 3, 1},
        {278, 4, static_cast<std::uint32_t>(image.nHeight)},
        {279, 4, static_cast<std::uint32_t>(image.data.size())},
    };
    if (image.nCompression == 3)
        entries.push_back({292, 4, static_cast<std::uint32_t>(image.nT4Options)});
    putLe(out, static_cast<std::uint32_t>(entries.size()), 2);
    for (const Entry& entry : entries) {
        putLe(out, entry.nTag, 2);
        putLe(out, entry.nType, 2);
        putLe(out, 1, 4);
        putLe(out, entry.nValue, entry.nType == 3 ? 2 : 4);
        if (entry.nType == 3)
            putLe(out, 0, 2);
    }
    putLe(out, 0, 4);
    writeFileBytes(path, out);
}

BilevelPage pageOfUncompressed(const TiffImage& image)
{
    if (image.nCompression != 1)
        throw std::runtime_error("not uncompressed");
    BilevelPage page(image.nWidth, image.nHeight);
    std::vector<unsigned char> data = image.nFillOrder == 2 ? reversedBits(image.data) : image.data;
    if (data.size() < page.rows.size())
        throw std::runtime_error("short image data");
    std::copy(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(page.rows.size()), page.rows.begin());
    return image.nPhotometric == 1 ? page.inverted() : page;
}

TiffImage uncompressedOf(const BilevelPage& page)
{
    TiffImage image;
    image.nWidth = page.nWidth;
    image.nHeight = page.nHeight;
    image.nRowsPerStrip = page.nHeight;
    image.data = page.rows;
    return image;
}

bool runCommand(const std::string& command)
{
    return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

bool haveTool(const char* pszTool)
{
    return runCommand(std::string("command -v ") + pszTool);
}

std::string scratchPath(const std::string& name)
{
    return "/tmp/velmo-lib-test-" + std::to_string(getpid()) + "-" + name;
}

BilevelPage loadTextPage()
{
    std::string raw = scratchPath("text-raw.tif");
    if (!runCommand("tiffcp -c none " VELMO_SOURCE_DIR "/tests/lib/data/text-a4-200dpi.tif " + raw))
        throw std::runtime_error("tiffcp failed on the text page");
    BilevelPage page = pageOfUncompressed(readTiff(raw));
    std::remove(raw.c_str());
    return page;
}


}
