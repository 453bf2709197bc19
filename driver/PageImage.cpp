#include "driver/PageImage.h"

#include "driver/ColorTable.h"
#include "driver/PageFormat.h"

#include <cstring>

namespace velmo::driver {

namespace {

constexpr std::uint32_t fileHeaderSize = 14;
constexpr std::uint32_t infoHeaderSize = 40;
static_assert(pageImagePixelOffset == fileHeaderSize + infoHeaderSize + colorTableEntries * 4);

class LittleEndianWriter {
public:
    explicit LittleEndianWriter(std::uint8_t* pTarget) : m_pTarget(pTarget) {}

    void put16(std::uint16_t nValue) { putBytes(nValue, 2); }
    void put32(std::uint32_t nValue) { putBytes(nValue, 4); }
    void putChars(const char* pszText)
    {
        for (; *pszText; ++pszText)
            *m_pTarget++ = static_cast<std::uint8_t>(*pszText);
    }

private:
    void putBytes(std::uint32_t nValue, int nCount)
    {
        for (int i = 0; i < nCount; ++i)
            *m_pTarget++ = static_cast<std::uint8_t>(nValue >> (8 * i));
    }

    std::uint8_t* m_pTarget;
};

void writeHeaders(std::uint8_t* pImage, std::uint32_t nWidth, std::uint32_t nHeight, std::uint32_t nImageSize)
{
    const PageFormat& format = pageFormat();
    LittleEndianWriter writer(pImage);
    writer.putChars("BM");
    writer.put32(0);  // file size, left open as the page file has always had it
    writer.put16(0);
    writer.put16(0);
    writer.put32(pageImagePixelOffset);
    writer.put32(infoHeaderSize);
    writer.put32(nWidth);
    writer.put32(nHeight);  // positive: rows bottom-up
    writer.put16(1);
    writer.put16(static_cast<std::uint16_t>(format.bitsPerPixel));
    writer.put32(BI_RGB);
    writer.put32(nImageSize);
    writer.put32(pixelsPerMetre(format.dpiX));
    writer.put32(pixelsPerMetre(format.dpiY));
    writer.put32(format.colorsUsed);
    writer.put32(format.colorsUsed);
    std::memcpy(pImage + fileHeaderSize + infoHeaderSize, colorTable().data(), colorTable().size());
}

// Rows are taken through the surface's own scan addressing, so the image comes out
// bottom-up whichever way the engine stores them.
void copyRows(std::uint8_t* pPixels, const SURFOBJ& surface, std::uint32_t nStride)
{
    const auto nHeight = static_cast<LONG>(surface.sizlBitmap.cy);
    const std::uint32_t nRowBytes = surface.sizlBitmap.cx * 3;
    const auto* pTopRow = static_cast<const std::uint8_t*>(surface.pvScan0);
    for (LONG nRow = 0; nRow < nHeight; ++nRow) {
        const std::uint8_t* pSource = pTopRow + static_cast<std::ptrdiff_t>(nHeight - 1 - nRow) * surface.lDelta;
        std::memcpy(pPixels + static_cast<std::size_t>(nRow) * nStride, pSource, nRowBytes);
    }
}

bool holdsPage(const SURFOBJ& surface)
{
    const auto nRowBytes = static_cast<std::uint64_t>(surface.sizlBitmap.cx) * 3;
    const auto nRowDistance = static_cast<std::uint64_t>(surface.lDelta < 0 ? -surface.lDelta : surface.lDelta);
    return surface.iBitmapFormat == BMF_24BPP && surface.pvScan0 && surface.sizlBitmap.cx > 0 &&
           surface.sizlBitmap.cy > 0 && nRowDistance >= nRowBytes;
}

}

HGLOBAL capturePageImage(const SURFOBJ& surface)
{
    if (!holdsPage(surface))
        return nullptr;
    const auto nWidth = static_cast<std::uint32_t>(surface.sizlBitmap.cx);
    const auto nHeight = static_cast<std::uint32_t>(surface.sizlBitmap.cy);
    const std::uint64_t nImageSize = static_cast<std::uint64_t>(dibStride(nWidth)) * nHeight;
    if (nImageSize > 0xFFFFFFFFu - pageImagePixelOffset)
        return nullptr;
    HGLOBAL hImage = GlobalAlloc(GPTR, static_cast<SIZE_T>(pageImagePixelOffset + nImageSize));
    if (!hImage)
        return nullptr;
    auto* pImage = static_cast<std::uint8_t*>(static_cast<void*>(hImage));
    writeHeaders(pImage, nWidth, nHeight, static_cast<std::uint32_t>(nImageSize));
    copyRows(pImage + pageImagePixelOffset, surface, dibStride(nWidth));
    return hImage;
}

}
