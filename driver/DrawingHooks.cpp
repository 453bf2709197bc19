// The driver draws nothing itself: the page bitmap is managed by the engine, and each hooked
// call goes to the engine's own implementation with its arguments unchanged.
#include "driver/DdiBoundary.h"

#include <windows.h>
#include <winddi.h>

using velmo::driver::guardBoundary;

BOOL APIENTRY DrvBitBlt(SURFOBJ* psoTrg, SURFOBJ* psoSrc, SURFOBJ* psoMask, CLIPOBJ* pco, XLATEOBJ* pxlo,
                        RECTL* prclTrg, POINTL* pptlSrc, POINTL* pptlMask, BRUSHOBJ* pbo, POINTL* pptlBrush,
                        ROP4 rop4)
{
    return guardBoundary<BOOL>(FALSE, [&] {
        return EngBitBlt(psoTrg, psoSrc, psoMask, pco, pxlo, prclTrg, pptlSrc, pptlMask, pbo, pptlBrush, rop4);
    });
}

BOOL APIENTRY DrvStretchBlt(SURFOBJ* psoDest, SURFOBJ* psoSrc, SURFOBJ* psoMask, CLIPOBJ* pco, XLATEOBJ* pxlo,
                            COLORADJUSTMENT* pca, POINTL* pptlHTOrg, RECTL* prclDest, RECTL* prclSrc,
                            POINTL* pptlMask, ULONG iMode)
{
    return guardBoundary<BOOL>(FALSE, [&] {
        return EngStretchBlt(psoDest, psoSrc, psoMask, pco, pxlo, pca, pptlHTOrg, prclDest, prclSrc, pptlMask,
                             iMode);
    });
}

BOOL APIENTRY DrvCopyBits(SURFOBJ* psoDest, SURFOBJ* psoSrc, CLIPOBJ* pco, XLATEOBJ* pxlo, RECTL* prclDest,
                          POINTL* pptlSrc)
{
    return guardBoundary<BOOL>(FALSE, [&] { return EngCopyBits(psoDest, psoSrc, pco, pxlo, prclDest, pptlSrc); });
}

BOOL APIENTRY DrvTextOut(SURFOBJ* pso, STROBJ* pstro, FONTOBJ* pfo, CLIPOBJ* pco, RECTL* prclExtra,
                         RECTL* prclOpaque, BRUSHOBJ* pboFore, BRUSHOBJ* pboOpaque, POINTL* pptlOrg, MIX mix)
{
    return guardBoundary<BOOL>(FALSE, [&] {
        return EngTextOut(pso, pstro, pfo, pco, prclExtra, prclOpaque, pboFore, pboOpaque, pptlOrg, mix);
    });
}

BOOL APIENTRY DrvStrokePath(SURFOBJ* pso, PATHOBJ* ppo, CLIPOBJ* pco, XFORMOBJ* pxo, BRUSHOBJ* pbo,
                            POINTL* pptlBrushOrg, LINEATTRS* plineattrs, MIX mix)
{
    return guardBoundary<BOOL>(FALSE, [&] {
        return EngStrokePath(pso, ppo, pco, pxo, pbo, pptlBrushOrg, plineattrs, mix);
    });
}

BOOL APIENTRY DrvFillPath(SURFOBJ* pso, PATHOBJ* ppo, CLIPOBJ* pco, BRUSHOBJ* pbo, POINTL* pptlBrushOrg, MIX mix,
                          FLONG flOptions)
{
    return guardBoundary<BOOL>(FALSE, [&] { return EngFillPath(pso, ppo, pco, pbo, pptlBrushOrg, mix, flOptions); });
}

BOOL APIENTRY DrvStrokeAndFillPath(SURFOBJ* pso, PATHOBJ* ppo, CLIPOBJ* pco, XFORMOBJ* pxo, BRUSHOBJ* pboStroke,
                                   LINEATTRS* plineattrs, BRUSHOBJ* pboFill, POINTL* pptlBrushOrg, MIX mixFill,
                                   FLONG flOptions)
{
    return guardBoundary<BOOL>(FALSE, [&] {
        return EngStrokeAndFillPath(pso, ppo, pco, pxo, pboStroke, plineattrs, pboFill, pptlBrushOrg, mixFill,
                                    flOptions);
    });
}

BOOL APIENTRY DrvLineTo(SURFOBJ* pso, CLIPOBJ* pco, BRUSHOBJ* pbo, LONG x1, LONG y1, LONG x2, LONG y2,
                        RECTL* prclBounds, MIX mix)
{
    return guardBoundary<BOOL>(FALSE, [&] { return EngLineTo(pso, pco, pbo, x1, y1, x2, y2, prclBounds, mix); });
}

BOOL APIENTRY DrvPaint(SURFOBJ* pso, CLIPOBJ* pco, BRUSHOBJ* pbo, POINTL* pptlBrushOrg, MIX mix)
{
    return guardBoundary<BOOL>(FALSE, [&] { return EngPaint(pso, pco, pbo, pptlBrushOrg, mix); });
}

// No escape is supported, QUERYESCSUPPORT included.
ULONG APIENTRY DrvEscape(SURFOBJ* /*pso*/, ULONG /*iEsc*/, ULONG /*cjIn*/, PVOID /*pvIn*/, ULONG /*cjOut*/,
                         PVOID /*pvOut*/)
{
    return 0;
}
