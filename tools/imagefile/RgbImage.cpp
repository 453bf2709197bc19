#include "tools/imagefile/RgbImage.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>

namespace velmo::tools {

namespace {

constexpr std::int32_t maximumSide = 20000;

class ByteReader {
public:
    explicit ByteReader(std::vector<std::uint8_t> bytes) : m_bytes(std::move(bytes)) {}

    std::size_t size() const { return m_bytes.size(); }
    bool has(std::size_t nPosition, std::size_t nCount) const
    {
        return nPosition <= m_bytes.size() && nCount <= m_bytes.size() - nPosition;
    }
    std::uint8_t at(std::size_t nPosition) const { return m_bytes[nPosition]; }
    const std::uint8_t* data() const { return m_bytes.data(); }
    std::uint32_t u16(std::size_t nPosition) const { return at(nPosition) | at(nPosition + 1) << 8; }
    std::uint32_t u32(std::size_t nPosition) const { return u16(nPosition) | u16(nPosition + 2) << 16; }

    // Netpbm header fields: decimal numbers separated by white space and comments.
    bool number(std::size_t& nPosition, std::int32_t& nValue) const
    {
        while (nPosition < size() && (std::isspace(at(nPosition)) || at(nPosition) == '#')) {
            if (at(nPosition) == '#') {
                while (nPosition < size() && at(nPosition) != '\n')
                    ++nPosition;
            } else {
                ++nPosition;
            }
        }
        if (nPosition >= size() || !std::isdigit(at(nPosition)))
            return false;
        long long nNumber = 0;
        while (nPosition < size() && std::isdigit(at(nPosition)) && nNumber <= maximumSide * 10LL)
            nNumber = nNumber * 10 + (at(nPosition++) - '0');
        nValue = static_cast<std::int32_t>(nNumber);
        return true;
    }

private:
    std::vector<std::uint8_t> m_bytes;
};

bool validSize(std::int32_t nWidth, std::int32_t nHeight)
{
    return nWidth > 0 && nHeight > 0 && nWidth <= maximumSide && nHeight <= maximumSide;
}

RgbImage blank(std::int32_t nWidth, std::int32_t nHeight)
{
    RgbImage image;
    image.width = nWidth;
    image.height = nHeight;
    image.bgr.assign(static_cast<std::size_t>(nWidth) * nHeight * 3, 0);
    return image;
}

void setPixel(RgbImage& image, std::int32_t x, std::int32_t y, std::uint8_t r, std::uint8_t g, std::uint8_t b)
{
    std::uint8_t* p = image.pixel(x, y);
    p[0] = b;
    p[1] = g;
    p[2] = r;
}

RgbImage readNetpbm(const ByteReader& bytes, std::string& error)
{
    const char cKind = static_cast<char>(bytes.at(1));
    const bool bBinary = cKind >= '4';
    const int nChannels = (cKind == '3' || cKind == '6') ? 3 : 1;
    const bool bBitmap = cKind == '1' || cKind == '4';
    std::size_t nPosition = 2;
    std::int32_t nWidth = 0;
    std::int32_t nHeight = 0;
    std::int32_t nMaximum = 1;
    if (!bytes.number(nPosition, nWidth) || !bytes.number(nPosition, nHeight) ||
        (!bBitmap && !bytes.number(nPosition, nMaximum)) || !validSize(nWidth, nHeight) || nMaximum < 1 ||
        nMaximum > 255) {
        error = "unsupported or damaged netpbm header";
        return {};
    }
    ++nPosition;  // the single white-space character before binary data
    const std::size_t nRowBytes = bBitmap ? (nWidth + 7) / 8 : static_cast<std::size_t>(nWidth) * nChannels;
    // The file must hold the data it announces before any pixel is allocated: binary rows
    // whole, plain samples at least a digit each.
    const std::size_t nSamples = static_cast<std::size_t>(nWidth) * nHeight * nChannels;
    if (!bytes.has(nPosition, bBinary ? nRowBytes * nHeight : nSamples)) {
        error = "image data ends early";
        return {};
    }
    RgbImage image = blank(nWidth, nHeight);
    if (bBinary && !bBitmap && nMaximum == 255) {
        // The common case, straight through: grey or red-green-blue bytes to blue-green-red.
        const std::uint8_t* pSource = bytes.data() + nPosition;
        std::uint8_t* pTarget = image.bgr.data();
        const std::size_t nPixels = static_cast<std::size_t>(nWidth) * nHeight;
        for (std::size_t i = 0; i < nPixels; ++i, pTarget += 3, pSource += nChannels) {
            pTarget[0] = pSource[nChannels - 1];
            pTarget[1] = pSource[nChannels == 3 ? 1 : 0];
            pTarget[2] = pSource[0];
        }
        return image;
    }
    auto sample = [&](std::int32_t x, std::int32_t y, int nChannel) -> std::int32_t {
        if (bBinary) {
            if (bBitmap)
                return (bytes.at(nPosition + y * nRowBytes + x / 8) >> (7 - x % 8)) & 1;
            return bytes.at(nPosition + y * nRowBytes + static_cast<std::size_t>(x) * nChannels + nChannel);
        }
        std::int32_t nValue = 0;
        if (bBitmap) {
            while (nPosition < bytes.size() && !std::isdigit(bytes.at(nPosition)))
                ++nPosition;
            return nPosition < bytes.size() ? bytes.at(nPosition++) - '0' : -1;
        }
        return bytes.number(nPosition, nValue) ? nValue : -1;
    };
    for (std::int32_t y = 0; y < nHeight; ++y) {
        for (std::int32_t x = 0; x < nWidth; ++x) {
            std::int32_t rgb[3];
            for (int c = 0; c < nChannels; ++c)
                rgb[c] = sample(x, y, c);
            if (rgb[0] < 0 || rgb[nChannels - 1] < 0) {
                error = "image data ends early";
                return {};
            }
            if (bBitmap)  // 1 is black
                rgb[0] = rgb[0] ? 0 : 255;
            else
                for (int c = 0; c < nChannels; ++c)
                    rgb[c] = rgb[c] * 255 / nMaximum;
            const int g = nChannels == 3 ? 1 : 0;
            const int b = nChannels == 3 ? 2 : 0;
            setPixel(image, x, y, static_cast<std::uint8_t>(rgb[0]), static_cast<std::uint8_t>(rgb[g]),
                     static_cast<std::uint8_t>(rgb[b]));
        }
    }
    return image;
}

RgbImage readBmp(const ByteReader& bytes, std::string& error)
{
    if (!bytes.has(0, 54)) {
        error = "BMP header ends early";
        return {};
    }
    const std::uint32_t nPixelOffset = bytes.u32(10);
    const std::uint32_t nHeaderSize = bytes.u32(14);
    const auto nWidth = static_cast<std::int32_t>(bytes.u32(18));
    const auto nRawHeight = static_cast<std::int32_t>(bytes.u32(22));
    const std::uint32_t nBits = bytes.u16(28);
    const std::uint32_t nCompression = bytes.u32(30);
    const bool bTopDown = nRawHeight < 0;
    // The most negative height has no positive counterpart: it stays negative and is refused.
    const std::int32_t nHeight = bTopDown ? static_cast<std::int32_t>(0u - static_cast<std::uint32_t>(nRawHeight)) : nRawHeight;
    const bool bPaletted = nBits <= 8;
    if (!validSize(nWidth, nHeight) || nCompression != 0 ||
        (nBits != 1 && nBits != 4 && nBits != 8 && nBits != 24 && nBits != 32)) {
        error = "unsupported BMP (only uncompressed 1, 4, 8, 24 and 32 bits per pixel)";
        return {};
    }
    const std::size_t nStride = (static_cast<std::size_t>(nWidth) * nBits + 31) / 32 * 4;
    const std::size_t nPaletteStart = 14 + nHeaderSize;
    if (!bytes.has(nPixelOffset, nStride * nHeight) ||
        (bPaletted && !bytes.has(nPaletteStart, (std::size_t{1} << nBits) * 4))) {
        error = "BMP data ends early";
        return {};
    }
    RgbImage image = blank(nWidth, nHeight);
    for (std::int32_t y = 0; y < nHeight; ++y) {
        const std::size_t nRow = nPixelOffset + nStride * (bTopDown ? y : nHeight - 1 - y);
        for (std::int32_t x = 0; x < nWidth; ++x) {
            std::size_t nColor = nRow + static_cast<std::size_t>(x) * (nBits / 8);
            if (bPaletted) {
                const std::size_t nBit = static_cast<std::size_t>(x) * nBits;
                const std::uint32_t nIndex = (bytes.at(nRow + nBit / 8) >> (8 - nBits - nBit % 8)) & ((1u << nBits) - 1);
                nColor = nPaletteStart + nIndex * 4;
            }
            setPixel(image, x, y, bytes.at(nColor + 2), bytes.at(nColor + 1), bytes.at(nColor));
        }
    }
    return image;
}

}

RgbImage readImageBytes(std::vector<std::uint8_t> data, std::string& error)
{
    const ByteReader bytes(std::move(data));
    if (bytes.has(0, 2) && bytes.at(0) == 'P' && bytes.at(1) >= '1' && bytes.at(1) <= '6')
        return readNetpbm(bytes, error);
    if (bytes.has(0, 2) && bytes.at(0) == 'B' && bytes.at(1) == 'M')
        return readBmp(bytes, error);
    error = "not a PPM, PGM, PBM or BMP file";
    return {};
}

RgbImage readImageFile(const std::string& path, std::string& error)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = "cannot open " + path;
        return {};
    }
    file.seekg(0, std::ios::end);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(std::max<std::streamoff>(file.tellg(), 0)));
    file.seekg(0, std::ios::beg);
    file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    RgbImage image = readImageBytes(std::move(bytes), error);
    if (!error.empty())
        error += ": " + path;
    return image;
}

bool writePpmFile(const std::string& path, const RgbImage& image)
{
    std::ofstream file(path, std::ios::binary);
    file << "P6\n" << image.width << ' ' << image.height << "\n255\n";
    std::vector<std::uint8_t> row(static_cast<std::size_t>(image.width) * 3);
    for (std::int32_t y = 0; y < image.height; ++y) {
        const std::uint8_t* pBgr = &image.bgr[static_cast<std::size_t>(y) * row.size()];
        for (std::size_t i = 0; i < row.size(); i += 3) {
            row[i] = pBgr[i + 2];
            row[i + 1] = pBgr[i + 1];
            row[i + 2] = pBgr[i];
        }
        file.write(reinterpret_cast<const char*>(row.data()), static_cast<std::streamsize>(row.size()));
    }
    return static_cast<bool>(file);
}

}
