#include "tools/engine/EngineObjects.h"

namespace velmo::tools::engine {

namespace {
// What a bitmap created without zero-filling holds, so that a driver that forgets to erase
// its page shows it.
constexpr std::uint8_t uninitialisedByte = 0xCD;
}

EngineObjects& EngineObjects::instance()
{
    static EngineObjects objects;
    return objects;
}

HSURF EngineObjects::createSurface(SIZEL size, ULONG iFormat, FLONG fl)
{
    if (iFormat != BMF_24BPP || size.cx <= 0 || size.cy <= 0 || size.cx > 0x8000 || size.cy > 0x8000)
        return nullptr;
    auto surface = std::make_unique<Surface>();
    const LONG nStride = (size.cx * 24 + 31) / 32 * 4;
    surface->bits.assign(static_cast<std::size_t>(nStride) * size.cy,
                         (fl & BMF_NOZEROINIT) ? uninitialisedByte : 0);
    SURFOBJ& object = surface->object;
    object.sizlBitmap = size;
    object.cjBits = static_cast<ULONG>(surface->bits.size());
    object.pvBits = surface->bits.data();
    object.iBitmapFormat = BMF_24BPP;
    object.iType = STYPE_BITMAP;
    if (fl & BMF_TOPDOWN) {
        object.pvScan0 = surface->bits.data();
        object.lDelta = nStride;
        object.fjBitmap = BMF_TOPDOWN;
    } else {
        // Bottom-up, as device-independent bitmaps are: the top row is the last in memory.
        object.pvScan0 = surface->bits.data() + static_cast<std::size_t>(nStride) * (size.cy - 1);
        object.lDelta = -nStride;
    }

    std::lock_guard<std::mutex> guard(m_lock);
    auto hsurf = reinterpret_cast<HSURF>(++m_nLastHandle);
    object.hsurf = hsurf;
    m_surfaces[hsurf] = std::move(surface);
    return hsurf;
}

Surface* EngineObjects::findSurface(HSURF hsurf)
{
    std::lock_guard<std::mutex> guard(m_lock);
    auto found = m_surfaces.find(hsurf);
    return found == m_surfaces.end() ? nullptr : found->second.get();
}

bool EngineObjects::deleteSurface(HSURF hsurf)
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_surfaces.erase(hsurf) == 1;
}

HPALETTE EngineObjects::createPalette()
{
    std::lock_guard<std::mutex> guard(m_lock);
    auto hpal = reinterpret_cast<HPALETTE>(++m_nLastHandle);
    m_palettes[hpal] = true;
    return hpal;
}

bool EngineObjects::deletePalette(HPALETTE hpal)
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_palettes.erase(hpal) == 1;
}

void EngineObjects::countCall(const char* pszFunction)
{
    std::lock_guard<std::mutex> guard(m_lock);
    ++m_callCounts[pszFunction];
}

int EngineObjects::callCount(const std::string& function)
{
    std::lock_guard<std::mutex> guard(m_lock);
    auto found = m_callCounts.find(function);
    return found == m_callCounts.end() ? 0 : found->second;
}

void EngineObjects::resetCallCounts()
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_callCounts.clear();
}

int EngineObjects::liveSurfaces()
{
    std::lock_guard<std::mutex> guard(m_lock);
    return static_cast<int>(m_surfaces.size());
}

int EngineObjects::livePalettes()
{
    std::lock_guard<std::mutex> guard(m_lock);
    return static_cast<int>(m_palettes.size());
}

}
