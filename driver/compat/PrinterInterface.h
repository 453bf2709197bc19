// The printer-interface declarations that this toolchain's winddiui.h lacks, from the
// platform's published layouts. Unicode only: the driver is a Unicode DLL.
#ifndef VELMO_DRIVER_COMPAT_PRINTERINTERFACE_H
#define VELMO_DRIVER_COMPAT_PRINTERINTERFACE_H

#include <windows.h>
#include <winddiui.h>

#ifdef __cplusplus
extern "C" {
#endif

// fMode bits of the property-sheet headers beyond those of windef.h.
#ifndef DM_ADVANCED
#define DM_ADVANCED 0x10
#endif
#ifndef DM_NOPERMISSION
#define DM_NOPERMISSION 0x20
#endif
#ifndef DM_USER_DEFAULT
#define DM_USER_DEFAULT 0x40
#endif

// fMode of DrvConvertDevMode.
#ifndef CDM_CONVERT
#define CDM_CONVERT 0x01
#define CDM_CONVERT351 0x02
#define CDM_DRIVER_DEFAULT 0x04
#endif

#ifndef DPS_NOPERMISSION
#define DPS_NOPERMISSION 0x0001
#endif

typedef struct _DOCUMENTPROPERTYHEADER {
    WORD cbSize;
    WORD Reserved;
    HANDLE hPrinter;
    LPWSTR pszPrinterName;
    PDEVMODEW pdmIn;
    PDEVMODEW pdmOut;
    DWORD cbOut;
    DWORD fMode;
} DOCUMENTPROPERTYHEADER, *PDOCUMENTPROPERTYHEADER;

typedef struct _DEVICEPROPERTYHEADER {
    WORD cbSize;
    WORD Flags;
    HANDLE hPrinter;
    LPWSTR pszPrinterName;
} DEVICEPROPERTYHEADER, *PDEVICEPROPERTYHEADER;

typedef struct _DEVQUERYPRINT_INFO {
    WORD cbSize;
    WORD Level;
    HANDLE hPrinter;
    DEVMODEW* pDevMode;
    LPWSTR pszErrorStr;
    DWORD cchErrorStr;
    DWORD cchNeeded;
} DEVQUERYPRINT_INFO, *PDEVQUERYPRINT_INFO;

DWORD WINAPI DrvDeviceCapabilities(HANDLE hPrinter, PWSTR pDeviceName, WORD iDevCap, VOID* pvOutput,
                                   PDEVMODEW pDevMode);
LONG WINAPI DrvDocumentProperties(HWND hWnd, HANDLE hPrinter, PWSTR pDeviceName, PDEVMODEW pdmOutput,
                                  PDEVMODEW pdmInput, DWORD fMode);
LONG WINAPI DrvAdvancedDocumentProperties(HWND hWnd, HANDLE hPrinter, PWSTR pDeviceName, PDEVMODEW pdmOutput,
                                          PDEVMODEW pdmInput);
LONG WINAPI DrvDocumentPropertySheets(PPROPSHEETUI_INFO pPSUIInfo, LPARAM lParam);
LONG WINAPI DrvDevicePropertySheets(PPROPSHEETUI_INFO pPSUIInfo, LPARAM lParam);
WINBOOL WINAPI DrvConvertDevMode(LPWSTR pPrinterName, PDEVMODEW pdmIn, PDEVMODEW pdmOut, PLONG pcbNeeded,
                                 DWORD fMode);
WINBOOL WINAPI DevQueryPrintEx(PDEVQUERYPRINT_INFO pDQPInfo);
WINBOOL WINAPI DrvUpgradePrinter(DWORD Level, LPBYTE pDriverUpgradeInfo);

#ifdef __cplusplus
}
#endif

#endif
