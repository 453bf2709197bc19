#include "tools/engine/Raster.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace velmo::tools::engine {

namespace {

const std::uint8_t* sourcePixel(const SURFOBJ& source, LONG x, LONG y)
{
    return static_cast<const std::uint8_t*>(source.pvScan0) + static_cast<std::ptrdiff_t>(y) * source.lDelta + x * 3;
}

RECTL intersection(const RECTL& a, const RECTL& b)
{
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
            std::min(a.bottom, b.bottom)};
}

}

bool is24Bit(const SURFOBJ* pSurface)
{
    return pSurface && pSurface->iBitmapFormat == BMF_24BPP && pSurface->pvScan0;
}

Raster::Raster(SURFOBJ& surface, const CLIPOBJ* pClip)
    : m_surface(surface), m_clip{0, 0, surface.sizlBitmap.cx, surface.sizlBitmap.cy}
{
    if (pClip && pClip->iDComplexity != DC_TRIVIAL)
        m_clip = intersection(m_clip, pClip->rclBounds);
}

bool Raster::isUsable() const
{
    return is24Bit(&m_surface);
}

std::uint8_t* Raster::pixel(LONG x, LONG y) const
{
    return static_cast<std::uint8_t*>(m_surface.pvScan0) + static_cast<std::ptrdiff_t>(y) * m_surface.lDelta + x * 3;
}

bool Raster::contains(LONG x, LONG y) const
{
    return x >= m_clip.left && x < m_clip.right && y >= m_clip.top && y < m_clip.bottom;
}

RECTL Raster::clipped(const RECTL& area) const
{
    const RECTL ordered = {std::min(area.left, area.right), std::min(area.top, area.bottom),
                           std::max(area.left, area.right), std::max(area.top, area.bottom)};
    return intersection(ordered, m_clip);
}

void Raster::fill(const RECTL& area, ULONG nColor)
{
    const RECTL box = clipped(area);
    const std::uint8_t bgr[3] = {static_cast<std::uint8_t>(nColor), static_cast<std::uint8_t>(nColor >> 8),
                                 static_cast<std::uint8_t>(nColor >> 16)};
    for (LONG y = box.top; y < box.bottom; ++y) {
        for (LONG x = box.left; x < box.right; ++x)
            std::memcpy(pixel(x, y), bgr, 3);
    }
}

void Raster::copyFrom(const SURFOBJ& source, const RECTL& target, POINTL sourceOrigin)
{
    // Keep the part whose source pixels exist, then clip the target.
    RECTL box = clipped(target);
    box.left = std::max(box.left, target.left - sourceOrigin.x);
    box.top = std::max(box.top, target.top - sourceOrigin.y);
    box.right = std::min(box.right, target.left + source.sizlBitmap.cx - sourceOrigin.x);
    box.bottom = std::min(box.bottom, target.top + source.sizlBitmap.cy - sourceOrigin.y);
    if (box.left >= box.right)
        return;
    for (LONG y = box.top; y < box.bottom; ++y) {
        const LONG nSourceY = sourceOrigin.y + (y - target.top);
        const LONG nSourceX = sourceOrigin.x + (box.left - target.left);
        std::memmove(pixel(box.left, y), sourcePixel(source, nSourceX, nSourceY),
                     static_cast<std::size_t>(box.right - box.left) * 3);
    }
}

void Raster::stretchFrom(const SURFOBJ& source, const RECTL& target, const RECTL& sourceArea)
{
    const LONG nTargetWidth = target.right - target.left;
    const LONG nTargetHeight = target.bottom - target.top;
    if (nTargetWidth <= 0 || nTargetHeight <= 0)
        return;
    const RECTL box = clipped(target);
    const LONG nSourceWidth = sourceArea.right - sourceArea.left;
    const LONG nSourceHeight = sourceArea.bottom - sourceArea.top;
    for (LONG y = box.top; y < box.bottom; ++y) {
        const LONG nSourceY = sourceArea.top + static_cast<LONG>((static_cast<long long>(y - target.top) * nSourceHeight) / nTargetHeight);
        if (nSourceY < 0 || nSourceY >= source.sizlBitmap.cy)
            continue;
        for (LONG x = box.left; x < box.right; ++x) {
            const LONG nSourceX = sourceArea.left + static_cast<LONG>((static_cast<long long>(x - target.left) * nSourceWidth) / nTargetWidth);
            if (nSourceX >= 0 && nSourceX < source.sizlBitmap.cx)
                std::memcpy(pixel(x, y), sourcePixel(source, nSourceX, nSourceY), 3);
        }
    }
}

void Raster::drawLine(POINTL from, POINTL to, ULONG nColor)
{
    // Bresenham's line algorithm.
    const LONG dx = std::abs(to.x - from.x);
    const LONG dy = -std::abs(to.y - from.y);
    const LONG sx = from.x < to.x ? 1 : -1;
    const LONG sy = from.y < to.y ? 1 : -1;
    LONG error = dx + dy;
    LONG x = from.x;
    LONG y = from.y;
    while (x != to.x || y != to.y) {
        if (contains(x, y))
            fill(RECTL{x, y, x + 1, y + 1}, nColor);
        const LONG doubled = 2 * error;
        if (doubled >= dy) {
            error += dy;
            x += sx;
        }
        if (doubled <= dx) {
            error += dx;
            y += sy;
        }
    }
}

}
