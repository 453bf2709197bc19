#include "tools/printhost/DriverSession.h"

#include <string>

namespace velmo::tools::printhost {

namespace {

// The device handle the host gives the driver; the driver only passes it back.
const HDEV hostDevice = reinterpret_cast<HDEV>(static_cast<ULONG_PTR>(0x4B4F));
const HANDLE hostPrinter = reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(0x5052));

std::string hex(ULONG nValue)
{
    char text[16];
    std::snprintf(text, sizeof(text), "0x%lx", nValue);
    return text;
}

// A GDIINFO size: whole millimetres, or micrometres when negative.
std::string millimetres(ULONG nSize)
{
    const auto nValue = static_cast<LONG>(nSize);
    char text[24];
    std::snprintf(text, sizeof(text), nValue < 0 ? "%.1f" : "%.0f", nValue < 0 ? -nValue / 1000.0 : nValue * 1.0);
    return text;
}

}

DriverSession::~DriverSession()
{
    close();
}

bool DriverSession::report(const char* pszStep, bool bSuccess, const std::string& detail)
{
    std::fprintf(m_pLog, "%-20s %s%s%s\n", pszStep, bSuccess ? "ok" : "FAILED", detail.empty() ? "" : ": ",
                 detail.c_str());
    std::fflush(m_pLog);
    return bSuccess;
}

PFN DriverSession::function(ULONG iFunction) const
{
    for (ULONG i = 0; i < m_enableData.c; ++i) {
        if (m_enableData.pdrvfn[i].iFunc == iFunction)
            return m_enableData.pdrvfn[i].pfn;
    }
    return nullptr;
}

bool DriverSession::loadDriver(const std::wstring& path)
{
    m_hDriver = LoadLibraryW(path.c_str());
    if (!report("LoadLibrary", m_hDriver != nullptr, m_hDriver ? "" : "error " + std::to_string(GetLastError())))
        return false;

    using QueryDriverInfo = BOOL(APIENTRY*)(DWORD, PVOID, DWORD, PDWORD);
    auto pfnQuery = functionAs<QueryDriverInfo>(GetProcAddress(m_hDriver, "DrvQueryDriverInfo"));
    DWORD nUserMode = 0;
    DWORD cbNeeded = 0;
    const bool bUserMode = pfnQuery && pfnQuery(DRVQUERY_USERMODE, &nUserMode, sizeof(nUserMode), &cbNeeded) &&
                           nUserMode == 1;
    if (!report("DrvQueryDriverInfo", bUserMode, "user mode " + std::to_string(nUserMode)))
        return false;

    using EnableDriver = BOOL(APIENTRY*)(ULONG, ULONG, DRVENABLEDATA*);
    auto pfnEnable = functionAs<EnableDriver>(GetProcAddress(m_hDriver, "DrvEnableDriver"));
    const bool bEnabled = pfnEnable && pfnEnable(DDI_DRIVER_VERSION_NT5, sizeof(m_enableData), &m_enableData);
    return report("DrvEnableDriver", bEnabled,
                  "version " + hex(m_enableData.iDriverVersion) + ", " + std::to_string(m_enableData.c) + " functions");
}

bool DriverSession::enableDevice(const JobSettings& settings)
{
    m_devmode = DEVMODEW{};
    settings.deviceName.copy(m_devmode.dmDeviceName, CCHDEVICENAME - 1);
    m_devmode.dmSize = sizeof(DEVMODEW);
    m_devmode.dmSpecVersion = 0x0400;
    m_devmode.dmFields = DM_ORIENTATION | DM_PAPERSIZE;
    m_devmode.dmPaperSize = settings.paperSize;
    m_devmode.dmOrientation = settings.orientation;

    GDIINFO gdiInfo{};
    DEVINFO devInfo{};
    HSURF patterns[HS_DDI_MAX] = {};
    using EnablePdev = DHPDEV(APIENTRY*)(DEVMODEW*, LPWSTR, ULONG, HSURF*, ULONG, ULONG*, ULONG, DEVINFO*, HDEV,
                                         LPWSTR, HANDLE);
    auto pfnEnablePdev = ddi<EnablePdev>(INDEX_DrvEnablePDEV);
    std::wstring deviceName = settings.deviceName;
    m_dhpdev = pfnEnablePdev ? pfnEnablePdev(&m_devmode, nullptr, HS_DDI_MAX, patterns, sizeof(gdiInfo),
                                             reinterpret_cast<ULONG*>(&gdiInfo), sizeof(devInfo), &devInfo,
                                             hostDevice, deviceName.data(), hostPrinter)
                             : nullptr;
    if (!report("DrvEnablePDEV", m_dhpdev != nullptr,
                std::to_string(gdiInfo.ulHorzRes) + " x " + std::to_string(gdiInfo.ulVertRes) + " pixels at " +
                    std::to_string(gdiInfo.ulLogPixelsX) + " dpi, " + millimetres(gdiInfo.ulHorzSize) + " x " +
                    millimetres(gdiInfo.ulVertSize) + " mm"))
        return false;

    using CompletePdev = VOID(APIENTRY*)(DHPDEV, HDEV);
    auto pfnComplete = ddi<CompletePdev>(INDEX_DrvCompletePDEV);
    if (!report("DrvCompletePDEV", pfnComplete != nullptr))
        return false;
    pfnComplete(m_dhpdev, hostDevice);

    using EnableSurface = HSURF(APIENTRY*)(DHPDEV);
    auto pfnEnableSurface = ddi<EnableSurface>(INDEX_DrvEnableSurface);
    m_hsurf = pfnEnableSurface ? pfnEnableSurface(m_dhpdev) : nullptr;
    // The engine hands the driver its surface with the device it belongs to.
    m_pSurface = m_hsurf ? EngLockSurface(m_hsurf) : nullptr;
    if (m_pSurface)
        m_pSurface->dhpdev = m_dhpdev;
    return report("DrvEnableSurface", m_pSurface != nullptr,
                  m_pSurface ? std::to_string(m_pSurface->sizlBitmap.cx) + " x " +
                                   std::to_string(m_pSurface->sizlBitmap.cy) + " pixels"
                             : std::string());
}

bool DriverSession::startDoc(const JobSettings& settings)
{
    using StartDoc = BOOL(APIENTRY*)(SURFOBJ*, LPWSTR, DWORD);
    auto pfn = ddi<StartDoc>(INDEX_DrvStartDoc);
    std::wstring documentName = settings.documentName;
    return report("DrvStartDoc", pfn && pfn(m_pSurface, documentName.data(), settings.jobId),
                  "job " + std::to_string(settings.jobId));
}

bool DriverSession::startPage()
{
    using StartPage = BOOL(APIENTRY*)(SURFOBJ*);
    auto pfn = ddi<StartPage>(INDEX_DrvStartPage);
    return report("DrvStartPage", pfn && pfn(m_pSurface));
}

bool DriverSession::sendPage()
{
    using SendPage = BOOL(APIENTRY*)(SURFOBJ*);
    auto pfn = ddi<SendPage>(INDEX_DrvSendPage);
    return report("DrvSendPage", pfn && pfn(m_pSurface));
}

bool DriverSession::endDoc()
{
    using EndDoc = BOOL(APIENTRY*)(SURFOBJ*, FLONG);
    auto pfn = ddi<EndDoc>(INDEX_DrvEndDoc);
    return report("DrvEndDoc", pfn && pfn(m_pSurface, 0));
}

void DriverSession::disableDevicePart(ULONG iFunction, const char* pszStep)
{
    auto pfn = ddi<VOID(APIENTRY*)(DHPDEV)>(iFunction);
    if (pfn)
        pfn(m_dhpdev);
    report(pszStep, pfn != nullptr);
}

void DriverSession::close()
{
    if (m_pSurface) {
        EngUnlockSurface(m_pSurface);
        m_pSurface = nullptr;
    }
    if (m_hsurf) {
        disableDevicePart(INDEX_DrvDisableSurface, "DrvDisableSurface");
        m_hsurf = nullptr;
    }
    if (m_dhpdev) {
        disableDevicePart(INDEX_DrvDisablePDEV, "DrvDisablePDEV");
        m_dhpdev = nullptr;
    }
    if (m_hDriver) {
        using DisableDriver = VOID(APIENTRY*)();
        if (auto pfn = functionAs<DisableDriver>(GetProcAddress(m_hDriver, "DrvDisableDriver")))
            pfn();
        report("DrvDisableDriver", true);
        FreeLibrary(m_hDriver);
        m_hDriver = nullptr;
    }
}

}
