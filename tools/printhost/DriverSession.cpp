#include "tools/printhost/DriverSession.h"

#include <cstdio>
#include <functional>
#include <string>

namespace velmo::tools::printhost {

namespace {

// The handles the host gives a device; the driver only passes them back.
template <typename THandle>
THandle hostHandle(ULONG_PTR nBase, unsigned nDevice)
{
    return reinterpret_cast<THandle>(nBase + (static_cast<ULONG_PTR>(nDevice) << 16));
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

DriverSession::DriverSession(const LoadedDriver& driver, const StepLog& log, unsigned nDevice)
    : m_driver(driver), m_log(log), m_hdev(hostHandle<HDEV>(0x4B4F, nDevice)),
      m_hPrinter(hostHandle<HANDLE>(0x5052, nDevice))
{
}

DriverSession::~DriverSession()
{
    close();
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
                                             m_hdev, deviceName.data(), m_hPrinter)
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
    pfnComplete(m_dhpdev, m_hdev);

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
    return reportWithError("DrvSendPage", [&] { return pfn && pfn(m_pSurface); });
}

bool DriverSession::endDoc()
{
    using EndDoc = BOOL(APIENTRY*)(SURFOBJ*, FLONG);
    auto pfn = ddi<EndDoc>(INDEX_DrvEndDoc);
    return reportWithError("DrvEndDoc", [&] { return pfn && pfn(m_pSurface, 0); });
}

// A driver that fails a call says why in the thread's last error, as the application that
// printed would show it.
bool DriverSession::reportWithError(const char* pszStep, const std::function<bool()>& call)
{
    SetLastError(0);
    const bool bSuccess = call();
    const DWORD nError = GetLastError();
    return report(pszStep, bSuccess, bSuccess ? std::string() : "error " + std::to_string(nError));
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
}

}
