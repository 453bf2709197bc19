// The graphics-engine functions a printer driver calls, emulated on in-memory bitmaps so
// that the driver can be run and checked where the platform's engine is missing. Not a
// renderer: paths, text and paint fill the bounds they are given with the brush colour.
#include "tools/engine/EngineObjects.h"
#include "tools/engine/Raster.h"
#include "tools/engine/korvaeng.h"

#define ENG_EXPORT extern "C" __declspec(dllexport)

using velmo::tools::engine::EngineObjects;
using velmo::tools::engine::is24Bit;
using velmo::tools::engine::Path;
using velmo::tools::engine::Raster;

namespace {

constexpr ROP4 ropSourceCopy = 0xCCCC;
constexpr ROP4 ropPatternCopy = 0xF0F0;
constexpr ROP4 ropBlackness = 0x0000;
constexpr ROP4 ropWhiteness = 0xFFFF;
constexpr ULONG noSolidColor = 0xFFFFFFFF;

EngineObjects& objects()
{
    return EngineObjects::instance();
}

bool hasSolidColor(const BRUSHOBJ* pbo)
{
    return pbo && pbo->iSolidColor != noSolidColor;
}

// A 28.4 fixed-point box as the pixels it covers.
RECTL pixelsOf(const RECTFX& box)
{
    return {box.xLeft >> 4, box.yTop >> 4, (box.xRight >> 4) + 1, (box.yBottom >> 4) + 1};
}

// Draws on a 24-bit surface through the clip; FALSE for any other surface.
template <typename TDraw>
BOOL drawOn(SURFOBJ* pso, CLIPOBJ* pco, TDraw&& draw)
{
    if (!pso)
        return FALSE;
    Raster raster(*pso, pco);
    if (!raster.isUsable())
        return FALSE;
    draw(raster);
    return TRUE;
}

BOOL fillPathBounds(SURFOBJ* pso, PATHOBJ* ppo, CLIPOBJ* pco, BRUSHOBJ* pbo)
{
    auto* pPath = reinterpret_cast<Path*>(ppo);
    if (!pPath || !hasSolidColor(pbo))
        return FALSE;
    return drawOn(pso, pco, [&](Raster& raster) {
        if (!pPath->bEmpty)
            raster.fill(pixelsOf(pPath->bounds), pbo->iSolidColor);
    });
}

BOOL copySource(SURFOBJ* psoTrg, SURFOBJ* psoSrc, CLIPOBJ* pco, RECTL* prclTrg, POINTL* pptlSrc)
{
    if (!prclTrg || !is24Bit(psoSrc))
        return FALSE;
    return drawOn(psoTrg, pco, [&](Raster& raster) {
        raster.copyFrom(*psoSrc, *prclTrg, pptlSrc ? *pptlSrc : POINTL{0, 0});
    });
}

void include(Path& path, POINTFIX point)
{
    RECTFX& box = path.bounds;
    if (path.bEmpty) {
        box = {point.x, point.y, point.x, point.y};
        path.bEmpty = false;
        return;
    }
    box.xLeft = point.x < box.xLeft ? point.x : box.xLeft;
    box.yTop = point.y < box.yTop ? point.y : box.yTop;
    box.xRight = point.x > box.xRight ? point.x : box.xRight;
    box.yBottom = point.y > box.yBottom ? point.y : box.yBottom;
}

}

KORVAENG_API int korvaEngCallCount(const char* pszFunction)
{
    return pszFunction ? objects().callCount(pszFunction) : 0;
}

KORVAENG_API void korvaEngResetCallCounts()
{
    objects().resetCallCounts();
}

KORVAENG_API int korvaEngLiveSurfaces()
{
    return objects().liveSurfaces();
}

KORVAENG_API int korvaEngLivePalettes()
{
    return objects().livePalettes();
}

ENG_EXPORT HPALETTE APIENTRY EngCreatePalette(ULONG /*iMode*/, ULONG /*cColors*/, ULONG* /*pulColors*/,
                                              FLONG /*flRed*/, FLONG /*flGreen*/, FLONG /*flBlue*/)
{
    objects().countCall("EngCreatePalette");
    return objects().createPalette();
}

ENG_EXPORT BOOL APIENTRY EngDeletePalette(HPALETTE hpal)
{
    objects().countCall("EngDeletePalette");
    return objects().deletePalette(hpal);
}

ENG_EXPORT HBITMAP APIENTRY EngCreateBitmap(SIZEL sizl, LONG /*lWidth*/, ULONG iFormat, FLONG fl, PVOID pvBits)
{
    objects().countCall("EngCreateBitmap");
    // Only bitmaps whose bits the engine allocates itself are emulated.
    if (pvBits)
        return nullptr;
    return reinterpret_cast<HBITMAP>(objects().createSurface(sizl, iFormat, fl));
}

ENG_EXPORT BOOL APIENTRY EngAssociateSurface(HSURF hsurf, HDEV hdev, FLONG flHooks)
{
    objects().countCall("EngAssociateSurface");
    auto* pSurface = objects().findSurface(hsurf);
    if (!pSurface)
        return FALSE;
    pSurface->object.hdev = hdev;
    pSurface->hooks = flHooks;
    return TRUE;
}

ENG_EXPORT BOOL APIENTRY EngDeleteSurface(HSURF hsurf)
{
    objects().countCall("EngDeleteSurface");
    return objects().deleteSurface(hsurf);
}

ENG_EXPORT SURFOBJ* APIENTRY EngLockSurface(HSURF hsurf)
{
    objects().countCall("EngLockSurface");
    auto* pSurface = objects().findSurface(hsurf);
    return pSurface ? &pSurface->object : nullptr;
}

ENG_EXPORT VOID APIENTRY EngUnlockSurface(SURFOBJ* /*pso*/)
{
    objects().countCall("EngUnlockSurface");
}

ENG_EXPORT BOOL APIENTRY EngEraseSurface(SURFOBJ* pso, RECTL* prcl, ULONG iColor)
{
    objects().countCall("EngEraseSurface");
    if (!prcl)
        return FALSE;
    return drawOn(pso, nullptr, [&](Raster& raster) { raster.fill(*prcl, iColor); });
}

ENG_EXPORT BOOL APIENTRY EngBitBlt(SURFOBJ* psoTrg, SURFOBJ* psoSrc, SURFOBJ* /*psoMask*/, CLIPOBJ* pco,
                                   XLATEOBJ* /*pxlo*/, RECTL* prclTrg, POINTL* pptlSrc, POINTL* /*pptlMask*/,
                                   BRUSHOBJ* pbo, POINTL* /*pptlBrush*/, ROP4 rop4)
{
    objects().countCall("EngBitBlt");
    if (rop4 == ropSourceCopy)
        return copySource(psoTrg, psoSrc, pco, prclTrg, pptlSrc);
    if (!prclTrg)
        return FALSE;
    ULONG nColor = 0;
    if (rop4 == ropBlackness || rop4 == ropWhiteness)
        nColor = rop4 == ropWhiteness ? 0xFFFFFF : 0;
    else if (rop4 == ropPatternCopy && hasSolidColor(pbo))
        nColor = pbo->iSolidColor;
    else
        return FALSE;
    return drawOn(psoTrg, pco, [&](Raster& raster) { raster.fill(*prclTrg, nColor); });
}

ENG_EXPORT BOOL APIENTRY EngCopyBits(SURFOBJ* psoDest, SURFOBJ* psoSrc, CLIPOBJ* pco, XLATEOBJ* /*pxlo*/,
                                     RECTL* prclDest, POINTL* pptlSrc)
{
    objects().countCall("EngCopyBits");
    return copySource(psoDest, psoSrc, pco, prclDest, pptlSrc);
}

ENG_EXPORT BOOL APIENTRY EngStretchBlt(SURFOBJ* psoDest, SURFOBJ* psoSrc, SURFOBJ* /*psoMask*/, CLIPOBJ* pco,
                                       XLATEOBJ* /*pxlo*/, COLORADJUSTMENT* /*pca*/, POINTL* /*pptlHTOrg*/,
                                       RECTL* prclDest, RECTL* prclSrc, POINTL* /*pptlMask*/, ULONG /*iMode*/)
{
    objects().countCall("EngStretchBlt");
    if (!prclDest || !prclSrc || !is24Bit(psoSrc))
        return FALSE;
    return drawOn(psoDest, pco, [&](Raster& raster) { raster.stretchFrom(*psoSrc, *prclDest, *prclSrc); });
}

ENG_EXPORT BOOL APIENTRY EngLineTo(SURFOBJ* pso, CLIPOBJ* pco, BRUSHOBJ* pbo, LONG x1, LONG y1, LONG x2, LONG y2,
                                   RECTL* /*prclBounds*/, MIX /*mix*/)
{
    objects().countCall("EngLineTo");
    if (!hasSolidColor(pbo))
        return FALSE;
    return drawOn(pso, pco, [&](Raster& raster) { raster.drawLine({x1, y1}, {x2, y2}, pbo->iSolidColor); });
}

ENG_EXPORT BOOL APIENTRY EngStrokePath(SURFOBJ* pso, PATHOBJ* ppo, CLIPOBJ* pco, XFORMOBJ* /*pxo*/, BRUSHOBJ* pbo,
                                       POINTL* /*pptlBrushOrg*/, LINEATTRS* /*plineattrs*/, MIX /*mix*/)
{
    objects().countCall("EngStrokePath");
    return fillPathBounds(pso, ppo, pco, pbo);
}

ENG_EXPORT BOOL APIENTRY EngFillPath(SURFOBJ* pso, PATHOBJ* ppo, CLIPOBJ* pco, BRUSHOBJ* pbo,
                                     POINTL* /*pptlBrushOrg*/, MIX /*mix*/, FLONG /*flOptions*/)
{
    objects().countCall("EngFillPath");
    return fillPathBounds(pso, ppo, pco, pbo);
}

ENG_EXPORT BOOL APIENTRY EngStrokeAndFillPath(SURFOBJ* pso, PATHOBJ* ppo, CLIPOBJ* pco, XFORMOBJ* /*pxo*/,
                                              BRUSHOBJ* pboStroke, LINEATTRS* /*plineattrs*/, BRUSHOBJ* pboFill,
                                              POINTL* /*pptlBrushOrg*/, MIX /*mixFill*/, FLONG /*flOptions*/)
{
    objects().countCall("EngStrokeAndFillPath");
    return fillPathBounds(pso, ppo, pco, hasSolidColor(pboFill) ? pboFill : pboStroke);
}

ENG_EXPORT BOOL APIENTRY EngPaint(SURFOBJ* pso, CLIPOBJ* pco, BRUSHOBJ* pbo, POINTL* /*pptlBrushOrg*/,
                                  MIX /*mix*/)
{
    objects().countCall("EngPaint");
    if (!pco || !hasSolidColor(pbo))
        return FALSE;
    return drawOn(pso, pco, [&](Raster& raster) { raster.fill(pco->rclBounds, pbo->iSolidColor); });
}

ENG_EXPORT BOOL APIENTRY EngTextOut(SURFOBJ* pso, STROBJ* pstro, FONTOBJ* /*pfo*/, CLIPOBJ* pco,
                                   RECTL* /*prclExtra*/, RECTL* prclOpaque, BRUSHOBJ* pboFore,
                                   BRUSHOBJ* pboOpaque, POINTL* /*pptlOrg*/, MIX /*mix*/)
{
    objects().countCall("EngTextOut");
    if (!pstro)
        return FALSE;
    return drawOn(pso, pco, [&](Raster& raster) {
        if (prclOpaque && hasSolidColor(pboOpaque))
            raster.fill(*prclOpaque, pboOpaque->iSolidColor);
        if (hasSolidColor(pboFore))
            raster.fill(pstro->rclBkGround, pboFore->iSolidColor);
    });
}

ENG_EXPORT PATHOBJ* APIENTRY EngCreatePath()
{
    objects().countCall("EngCreatePath");
    return &(new Path)->object;
}

ENG_EXPORT VOID APIENTRY EngDeletePath(PATHOBJ* ppo)
{
    objects().countCall("EngDeletePath");
    delete reinterpret_cast<Path*>(ppo);
}

ENG_EXPORT BOOL APIENTRY PATHOBJ_bMoveTo(PATHOBJ* ppo, POINTFIX ptfx)
{
    if (!ppo)
        return FALSE;
    include(*reinterpret_cast<Path*>(ppo), ptfx);
    return TRUE;
}

ENG_EXPORT BOOL APIENTRY PATHOBJ_bPolyLineTo(PATHOBJ* ppo, POINTFIX* pptfx, ULONG cptfx)
{
    if (!ppo || (!pptfx && cptfx > 0))
        return FALSE;
    auto& path = *reinterpret_cast<Path*>(ppo);
    for (ULONG i = 0; i < cptfx; ++i)
        include(path, pptfx[i]);
    ++path.object.cCurves;
    return TRUE;
}

ENG_EXPORT VOID APIENTRY PATHOBJ_vGetBounds(PATHOBJ* ppo, PRECTFX prectfx)
{
    if (ppo && prectfx)
        *prectfx = reinterpret_cast<Path*>(ppo)->bounds;
}
