// How the graphics engine binds the driver: the exported entry points, the table of DDI
// functions, and the library entry point that loads the configuration.
#include "driver/DdiBoundary.h"
#include "driver/DriverConfig.h"

#include <windows.h>
#include <winddi.h>

namespace velmo::driver {

namespace {

constexpr ULONG driverVersion = DDI_DRIVER_VERSION_NT5;

// The engine calls each entry through its own prototype; the table only carries the
// address, passed through the generic function type so that no signature is implied.
template <typename TFunction>
PFN ddiFunction(TFunction pfnFunction)
{
    return reinterpret_cast<PFN>(reinterpret_cast<void (*)()>(pfnFunction));
}

// Handed to the engine in this order; everything not listed the engine does itself on the
// engine-managed page bitmap.
const DRVFN driverFunctionTable[] = {
    {INDEX_DrvEnablePDEV, ddiFunction(DrvEnablePDEV)},
    {INDEX_DrvCompletePDEV, ddiFunction(DrvCompletePDEV)},
    {INDEX_DrvResetPDEV, ddiFunction(DrvResetPDEV)},
    {INDEX_DrvDisablePDEV, ddiFunction(DrvDisablePDEV)},
    {INDEX_DrvEnableSurface, ddiFunction(DrvEnableSurface)},
    {INDEX_DrvDisableSurface, ddiFunction(DrvDisableSurface)},
    {INDEX_DrvStrokePath, ddiFunction(DrvStrokePath)},
    {INDEX_DrvFillPath, ddiFunction(DrvFillPath)},
    {INDEX_DrvStrokeAndFillPath, ddiFunction(DrvStrokeAndFillPath)},
    {INDEX_DrvLineTo, ddiFunction(DrvLineTo)},
    {INDEX_DrvPaint, ddiFunction(DrvPaint)},
    {INDEX_DrvBitBlt, ddiFunction(DrvBitBlt)},
    {INDEX_DrvCopyBits, ddiFunction(DrvCopyBits)},
    {INDEX_DrvStretchBlt, ddiFunction(DrvStretchBlt)},
    {INDEX_DrvTextOut, ddiFunction(DrvTextOut)},
    {INDEX_DrvEscape, ddiFunction(DrvEscape)},
    {INDEX_DrvStartDoc, ddiFunction(DrvStartDoc)},
    {INDEX_DrvEndDoc, ddiFunction(DrvEndDoc)},
    {INDEX_DrvStartPage, ddiFunction(DrvStartPage)},
    {INDEX_DrvSendPage, ddiFunction(DrvSendPage)},
};
constexpr ULONG driverFunctionCount = sizeof(driverFunctionTable) / sizeof(driverFunctionTable[0]);
static_assert(driverFunctionCount == 20);

}

}

using namespace velmo::driver;

BOOL APIENTRY DrvEnableDriver(ULONG iEngineVersion, ULONG cj, DRVENABLEDATA* pded)
{
    if (iEngineVersion < DDI_DRIVER_VERSION_NT4) {
        SetLastError(ERROR_BAD_DRIVER_LEVEL);
        return FALSE;
    }
    if (cj < sizeof(DRVENABLEDATA) || !pded) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    pded->iDriverVersion = driverVersion;
    pded->c = driverFunctionCount;
    pded->pdrvfn = const_cast<DRVFN*>(driverFunctionTable);
    return TRUE;
}

BOOL APIENTRY DrvQueryDriverInfo(DWORD dwMode, PVOID pBuffer, DWORD cbBuf, PDWORD pcbNeeded)
{
    if (dwMode != DRVQUERY_USERMODE) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (pcbNeeded)
        *pcbNeeded = sizeof(DWORD);
    if (pBuffer && cbBuf >= sizeof(DWORD)) {
        *static_cast<DWORD*>(pBuffer) = 1;  // runs in user mode
        return TRUE;
    }
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
}

// The configuration and the device answers stay until the library is unloaded.
VOID APIENTRY DrvDisableDriver()
{
}

BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID /*pReserved*/)
{
    if (dwReason == DLL_PROCESS_ATTACH)
        guardBoundary(0, [&] {
            loadDriverConfig(hInstance);
            return 0;
        });
    return TRUE;
}
