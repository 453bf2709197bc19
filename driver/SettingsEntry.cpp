// Printer-interface entry points. The printer has no settings a user can change: every
// request is answered with fixed capabilities, the default record or the caller's own record.
#include "driver/DdiBoundary.h"
#include "driver/DeviceAnswers.h"
#include "driver/DeviceCapabilities.h"
#include "driver/PropertySheet.h"
#include "driver/compat/PrinterInterface.h"

#include <algorithm>
#include <cstring>

using namespace velmo::driver;

namespace {

constexpr LONG devmodeSize = sizeof(DEVMODEW);

}

DWORD WINAPI DrvDeviceCapabilities(HANDLE /*hPrinter*/, PWSTR /*pDeviceName*/, WORD iDevCap, VOID* pvOutput,
                                   PDEVMODEW /*pDevMode*/)
{
    return guardBoundary<DWORD>(GDI_ERROR, [&] { return answerDeviceCapability(iDevCap, pvOutput); });
}

LONG WINAPI DrvDocumentProperties(HWND /*hWnd*/, HANDLE /*hPrinter*/, PWSTR /*pDeviceName*/, PDEVMODEW pdmOutput,
                                  PDEVMODEW pdmInput, DWORD fMode)
{
    return guardBoundary<LONG>(-1, [&]() -> LONG {
        if (fMode == 0)
            return devmodeSize;
        const DEVMODEW working =
            (fMode & DM_IN_BUFFER) && pdmInput ? overlaidDefaultDevmode(*pdmInput) : defaultDevmode();
        if ((fMode & DM_OUT_BUFFER) && pdmOutput)
            std::memcpy(pdmOutput, &working, sizeof(DEVMODEW));
        return IDOK;
    });
}

LONG WINAPI DrvAdvancedDocumentProperties(HWND /*hWnd*/, HANDLE /*hPrinter*/, PWSTR /*pDeviceName*/,
                                          PDEVMODEW /*pdmOutput*/, PDEVMODEW /*pdmInput*/)
{
    return 0;
}

LONG WINAPI DrvDocumentPropertySheets(PPROPSHEETUI_INFO pPSUIInfo, LPARAM lParam)
{
    return guardBoundary<LONG>(-1, [&]() -> LONG {
        if (pPSUIInfo)
            return handlePropertySheetCall(*pPSUIInfo, 1);
        // Without a sheet the caller only wants the settings, as DrvDocumentProperties gives them.
        auto* pHeader = reinterpret_cast<DOCUMENTPROPERTYHEADER*>(lParam);
        if (!pHeader)
            return -1;
        pHeader->cbOut = devmodeSize;
        if (pHeader->fMode == 0 || !pHeader->pdmOut)
            return devmodeSize;
        if (!(pHeader->fMode & (DM_UPDATE | DM_COPY)))
            return 1;
        DrvDocumentProperties(nullptr, pHeader->hPrinter, pHeader->pszPrinterName, pHeader->pdmOut, pHeader->pdmIn,
                              pHeader->fMode);
        return 1;
    });
}

LONG WINAPI DrvDevicePropertySheets(PPROPSHEETUI_INFO pPSUIInfo, LPARAM /*lParam*/)
{
    return guardBoundary<LONG>(-1, [&]() -> LONG { return pPSUIInfo ? handlePropertySheetCall(*pPSUIInfo, 0) : -1; });
}

// Whatever conversion is asked for, the answer is the default record; the input is not read.
WINBOOL WINAPI DrvConvertDevMode(LPWSTR /*pPrinterName*/, PDEVMODEW /*pdmIn*/, PDEVMODEW pdmOut, PLONG pcbNeeded,
                                 DWORD /*fMode*/)
{
    return guardBoundary<WINBOOL>(FALSE, [&]() -> WINBOOL {
        if (pcbNeeded && *pcbNeeded < devmodeSize) {
            *pcbNeeded = devmodeSize;
            SetLastError(ERROR_INSUFFICIENT_BUFFER);
            return FALSE;
        }
        if (pdmOut)
            std::memcpy(pdmOut, &defaultDevmode(), sizeof(DEVMODEW));
        return TRUE;
    });
}

// Every job can be printed.
WINBOOL WINAPI DevQueryPrintEx(PDEVQUERYPRINT_INFO /*pDQPInfo*/)
{
    return TRUE;
}

WINBOOL WINAPI DrvPrinterEvent(LPWSTR /*pPrinterName*/, INT /*DriverEvent*/, DWORD /*Flags*/, LPARAM /*lParam*/)
{
    return TRUE;
}

WINBOOL WINAPI DrvUpgradePrinter(DWORD /*Level*/, LPBYTE /*pDriverUpgradeInfo*/)
{
    return TRUE;
}

// There is nothing to set, so no dialog is shown.
WINBOOL WINAPI PrinterProperties(HWND /*hWnd*/, HANDLE /*hPrinter*/)
{
    return TRUE;
}
