// Printer-interface entry points. Settings are fixed: every request is answered from the
// default record; the full answers arrive with the settings side.
#include "driver/DdiBoundary.h"
#include "driver/DeviceAnswers.h"
#include "driver/compat/PrinterInterface.h"

#include <algorithm>
#include <cstring>

using namespace velmo::driver;

namespace {
void copyDefaultDevmode(DEVMODEW* pdmOutput)
{
    if (pdmOutput)
        std::memcpy(pdmOutput, &defaultDevmode(), sizeof(DEVMODEW));
}
}

DWORD WINAPI DrvDeviceCapabilities(HANDLE /*hPrinter*/, PWSTR /*pDeviceName*/, WORD /*iDevCap*/,
                                   VOID* /*pvOutput*/, PDEVMODEW /*pDevMode*/)
{
    return GDI_ERROR;
}

LONG WINAPI DrvDocumentProperties(HWND /*hWnd*/, HANDLE /*hPrinter*/, PWSTR /*pDeviceName*/, PDEVMODEW pdmOutput,
                                  PDEVMODEW pdmInput, DWORD fMode)
{
    return guardBoundary<LONG>(-1, [&]() -> LONG {
        if (fMode == 0)
            return sizeof(DEVMODEW);
        DEVMODEW working = defaultDevmode();
        // A record of an older, shorter layout is read no further than it reaches.
        if ((fMode & DM_IN_BUFFER) && pdmInput)
            std::memcpy(&working, pdmInput, std::min<std::size_t>(pdmInput->dmSize, sizeof(DEVMODEW)));
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

LONG WINAPI DrvDocumentPropertySheets(PPROPSHEETUI_INFO /*pPSUIInfo*/, LPARAM /*lParam*/)
{
    return -1;
}

LONG WINAPI DrvDevicePropertySheets(PPROPSHEETUI_INFO /*pPSUIInfo*/, LPARAM /*lParam*/)
{
    return -1;
}

WINBOOL WINAPI DrvConvertDevMode(LPWSTR /*pPrinterName*/, PDEVMODEW /*pdmIn*/, PDEVMODEW pdmOut,
                                 PLONG /*pcbNeeded*/, DWORD /*fMode*/)
{
    copyDefaultDevmode(pdmOut);
    return TRUE;
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
