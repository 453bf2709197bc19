#ifndef VELMO_TOOLS_ENGINE_RASTER_H
#define VELMO_TOOLS_ENGINE_RASTER_H

#include <windows.h>
#include <winddi.h>

#include <cstdint>

// Pixel work on 24-bit engine surfaces: the least the emulation needs to let a page be drawn
// and checked. Every operation is clipped to the surface and to the clip object's bounds.
namespace velmo::tools::engine {

class Raster {
public:
    Raster(SURFOBJ& surface, const CLIPOBJ* pClip);

    bool isUsable() const;
    // The colour is a 24-bit value in the surface's byte order: blue in the low byte.
    void fill(const RECTL& area, ULONG nColor);
    void copyFrom(const SURFOBJ& source, const RECTL& target, POINTL sourceOrigin);
    void stretchFrom(const SURFOBJ& source, const RECTL& target, const RECTL& sourceArea);
    // A one-pixel line that leaves out its last point, as the platform draws lines.
    void drawLine(POINTL from, POINTL to, ULONG nColor);

private:
    std::uint8_t* pixel(LONG x, LONG y) const;
    bool contains(LONG x, LONG y) const;
    RECTL clipped(const RECTL& area) const;

    SURFOBJ& m_surface;
    RECTL m_clip;
};

bool is24Bit(const SURFOBJ* pSurface);

}

#endif
