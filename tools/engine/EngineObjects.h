#ifndef VELMO_TOOLS_ENGINE_ENGINEOBJECTS_H
#define VELMO_TOOLS_ENGINE_ENGINEOBJECTS_H

#include <windows.h>
#include <winddi.h>

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

// The objects the emulated engine hands out by handle, and the count of every engine call.
namespace velmo::tools::engine {

// An engine-managed bitmap. The SURFOBJ is what EngLockSurface returns; it stays at one
// address for the surface's life, as the engine's does.
struct Surface {
    SURFOBJ object{};
    std::vector<std::uint8_t> bits;
    FLONG hooks = 0;
};

// A path is the engine's PATHOBJ followed by the bounds of its points.
struct Path {
    PATHOBJ object{};
    bool bEmpty = true;
    RECTFX bounds{};
};

// Jobs printing on several threads of one process share these tables, so every table and
// counter is behind one lock. Pixels are not: as on the platform, a surface is drawn only in
// calls for its own device, and the engine never makes two of those at once.
class EngineObjects {
public:
    static EngineObjects& instance();

    HSURF createSurface(SIZEL size, ULONG iFormat, FLONG fl);
    Surface* findSurface(HSURF hsurf);
    bool deleteSurface(HSURF hsurf);

    HPALETTE createPalette();
    bool deletePalette(HPALETTE hpal);

    void countCall(const char* pszFunction);
    int callCount(const std::string& function);
    void resetCallCounts();
    int liveSurfaces();
    int livePalettes();

private:
    std::mutex m_lock;
    ULONG_PTR m_nLastHandle = 0x1000;
    std::map<HSURF, std::unique_ptr<Surface>> m_surfaces;
    std::map<HPALETTE, bool> m_palettes;
    std::map<std::string, int> m_callCounts;
};

}

#endif
