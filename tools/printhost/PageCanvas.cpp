#include "tools/printhost/PageCanvas.h"

#include <algorithm>
#include <cstring>

namespace velmo::tools::printhost {

namespace {

constexpr ROP4 ropSourceCopy = 0xCCCC;
constexpr ROP4 ropPatternCopy = 0xF0F0;
constexpr MIX mixCopyPen = R2_COPYPEN | (R2_COPYPEN << 8);

using BitBlt = BOOL(APIENTRY*)(SURFOBJ*, SURFOBJ*, SURFOBJ*, CLIPOBJ*, XLATEOBJ*, RECTL*, POINTL*, POINTL*, BRUSHOBJ*,
                               POINTL*, ROP4);

// The surface's colour order: blue in the low byte.
BRUSHOBJ solidBrush(ULONG rgb)
{
    BRUSHOBJ brush{};
    brush.iSolidColor = rgb;
    return brush;
}

CLIPOBJ rectangleClip(const RECTL& area)
{
    CLIPOBJ clip{};
    clip.rclBounds = area;
    clip.iDComplexity = DC_RECT;
    return clip;
}

// 28.4 fixed point, as paths carry their points.
POINTFIX fixOf(POINTL point)
{
    return {point.x << 4, point.y << 4};
}

// An engine bitmap holding the image, deleted with its holder.
class SourceSurface {
public:
    explicit SourceSurface(const RgbImage& image)
    {
        const SIZEL size = {image.width, image.height};
        m_hsurf = reinterpret_cast<HSURF>(EngCreateBitmap(size, 0, BMF_24BPP, 0, nullptr));
        m_pSurface = m_hsurf ? EngLockSurface(m_hsurf) : nullptr;
        if (!m_pSurface)
            return;
        for (LONG y = 0; y < image.height; ++y)
            std::memcpy(static_cast<std::uint8_t*>(m_pSurface->pvScan0) + static_cast<std::ptrdiff_t>(y) * m_pSurface->lDelta,
                        &image.bgr[static_cast<std::size_t>(y) * image.width * 3],
                        static_cast<std::size_t>(image.width) * 3);
    }
    ~SourceSurface()
    {
        if (m_pSurface)
            EngUnlockSurface(m_pSurface);
        if (m_hsurf)
            EngDeleteSurface(m_hsurf);
    }
    SourceSurface(const SourceSurface&) = delete;
    SourceSurface& operator=(const SourceSurface&) = delete;

    SURFOBJ* get() const { return m_pSurface; }

private:
    HSURF m_hsurf = nullptr;
    SURFOBJ* m_pSurface = nullptr;
};

}

bool PageCanvas::blitImage(const RgbImage& image)
{
    SourceSurface source(image);
    RECTL target = {0, 0, std::min<LONG>(image.width, width()), std::min<LONG>(image.height, height())};
    POINTL origin = {0, 0};
    auto pfn = m_session.ddi<BitBlt>(INDEX_DrvBitBlt);
    const bool bDone = source.get() && pfn &&
                       pfn(m_session.surface(), source.get(), nullptr, nullptr, nullptr, &target, &origin, nullptr,
                           nullptr, nullptr, ropSourceCopy);
    return record("DrvBitBlt", bDone);
}

bool PageCanvas::stretchImage(const RgbImage& image, const RECTL& target)
{
    SourceSurface source(image);
    RECTL targetArea = target;
    RECTL sourceArea = {0, 0, image.width, image.height};
    using StretchBlt = BOOL(APIENTRY*)(SURFOBJ*, SURFOBJ*, SURFOBJ*, CLIPOBJ*, XLATEOBJ*, COLORADJUSTMENT*, POINTL*,
                                       RECTL*, RECTL*, POINTL*, ULONG);
    auto pfn = m_session.ddi<StretchBlt>(INDEX_DrvStretchBlt);
    const bool bDone = source.get() && pfn &&
                       pfn(m_session.surface(), source.get(), nullptr, nullptr, nullptr, nullptr, nullptr,
                           &targetArea, &sourceArea, nullptr, COLORONCOLOR);
    return record("DrvStretchBlt", bDone);
}

bool PageCanvas::fillRect(const RECTL& area, ULONG rgb)
{
    RECTL target = area;
    BRUSHOBJ brush = solidBrush(rgb);
    auto pfn = m_session.ddi<BitBlt>(INDEX_DrvBitBlt);
    return record("DrvBitBlt", pfn && pfn(m_session.surface(), nullptr, nullptr, nullptr, nullptr, &target, nullptr,
                                          nullptr, &brush, nullptr, ropPatternCopy));
}

bool PageCanvas::strokeLine(POINTL from, POINTL to, ULONG rgb)
{
    PATHOBJ* pPath = EngCreatePath();
    POINTFIX end = fixOf(to);
    const bool bBuilt = pPath && PATHOBJ_bMoveTo(pPath, fixOf(from)) && PATHOBJ_bPolyLineTo(pPath, &end, 1);
    BRUSHOBJ brush = solidBrush(rgb);
    LINEATTRS attributes{};
    using StrokePath = BOOL(APIENTRY*)(SURFOBJ*, PATHOBJ*, CLIPOBJ*, XFORMOBJ*, BRUSHOBJ*, POINTL*, LINEATTRS*, MIX);
    auto pfn = m_session.ddi<StrokePath>(INDEX_DrvStrokePath);
    const bool bDone =
        bBuilt && pfn && pfn(m_session.surface(), pPath, nullptr, nullptr, &brush, nullptr, &attributes, mixCopyPen);
    if (pPath)
        EngDeletePath(pPath);
    return record("DrvStrokePath", bDone);
}

bool PageCanvas::line(POINTL from, POINTL to, ULONG rgb)
{
    BRUSHOBJ brush = solidBrush(rgb);
    RECTL bounds = {std::min(from.x, to.x), std::min(from.y, to.y), std::max(from.x, to.x) + 1,
                    std::max(from.y, to.y) + 1};
    using LineTo = BOOL(APIENTRY*)(SURFOBJ*, CLIPOBJ*, BRUSHOBJ*, LONG, LONG, LONG, LONG, RECTL*, MIX);
    auto pfn = m_session.ddi<LineTo>(INDEX_DrvLineTo);
    return record("DrvLineTo", pfn && pfn(m_session.surface(), nullptr, &brush, from.x, from.y, to.x,
                                                     to.y, &bounds, mixCopyPen));
}

bool PageCanvas::paint(const RECTL& area, ULONG rgb)
{
    CLIPOBJ clip = rectangleClip(area);
    BRUSHOBJ brush = solidBrush(rgb);
    using Paint = BOOL(APIENTRY*)(SURFOBJ*, CLIPOBJ*, BRUSHOBJ*, POINTL*, MIX);
    auto pfn = m_session.ddi<Paint>(INDEX_DrvPaint);
    return record("DrvPaint", pfn && pfn(m_session.surface(), &clip, &brush, nullptr, mixCopyPen));
}

bool PageCanvas::textRun(const RECTL& box, ULONG rgb)
{
    STROBJ text{};
    text.rclBkGround = box;
    BRUSHOBJ brush = solidBrush(rgb);
    using TextOut = BOOL(APIENTRY*)(SURFOBJ*, STROBJ*, FONTOBJ*, CLIPOBJ*, RECTL*, RECTL*, BRUSHOBJ*, BRUSHOBJ*,
                                    POINTL*, MIX);
    auto pfn = m_session.ddi<TextOut>(INDEX_DrvTextOut);
    return record("DrvTextOut", pfn && pfn(m_session.surface(), &text, nullptr, nullptr, nullptr, nullptr,
                                                      &brush, nullptr, nullptr, mixCopyPen));
}

}

namespace velmo::tools::printhost {

bool PageCanvas::record(const char* pszFunction, bool bSuccess)
{
    Calls& calls = m_calls[pszFunction];
    ++calls.nCount;
    calls.nFailures += bSuccess ? 0 : 1;
    return bSuccess;
}

bool PageCanvas::reportCalls()
{
    bool bAllDone = true;
    for (const auto& [function, calls] : m_calls) {
        std::string detail = std::to_string(calls.nCount) + (calls.nCount == 1 ? " call" : " calls");
        if (calls.nFailures > 0)
            detail += ", " + std::to_string(calls.nFailures) + " refused";
        bAllDone = m_session.report(function.c_str(), calls.nFailures == 0, detail) && bAllDone;
    }
    m_calls.clear();
    return bAllDone;
}

}
