#ifndef VELMO_TOOLS_PRINTHOST_DRIVERSESSION_H
#define VELMO_TOOLS_PRINTHOST_DRIVERSESSION_H

#include <windows.h>
#include <winddi.h>

#include <cstdio>
#include <string>

namespace velmo::tools::printhost {

// A function address under its own prototype.
template <typename TFunction, typename TAddress>
TFunction functionAs(TAddress pfnAddress)
{
    return reinterpret_cast<TFunction>(reinterpret_cast<void (*)()>(pfnAddress));
}

struct JobSettings {
    std::wstring deviceName = L"Korva Test Printer";
    short paperSize = DMPAPER_LETTER;
    short orientation = DMORIENT_PORTRAIT;
    DWORD jobId = 1;
    std::wstring documentName = L"Sample document";
};

// Plays the graphics engine for one driver: loads it and calls its DDI in the order the
// platform does, printing one line per step with its result. Every step answers whether it
// succeeded; the session stops at the first failure.
class DriverSession {
public:
    explicit DriverSession(std::FILE* pLog) : m_pLog(pLog) {}
    ~DriverSession();
    DriverSession(const DriverSession&) = delete;
    DriverSession& operator=(const DriverSession&) = delete;

    bool loadDriver(const std::wstring& path);
    bool enableDevice(const JobSettings& settings);
    bool startDoc(const JobSettings& settings);
    bool startPage();
    bool sendPage();
    bool endDoc();
    // Disables surface, device and driver and unloads it; safe at any stage.
    void close();

    // The page surface as the engine hands it to the driver, and the driver's functions.
    SURFOBJ* surface() const { return m_pSurface; }
    PFN function(ULONG iFunction) const;
    template <typename TFunction>
    TFunction ddi(ULONG iFunction) const
    {
        return functionAs<TFunction>(function(iFunction));
    }
    bool report(const char* pszStep, bool bSuccess, const std::string& detail = std::string());

private:
    void disableDevicePart(ULONG iFunction, const char* pszStep);

    std::FILE* m_pLog;
    HMODULE m_hDriver = nullptr;
    DRVENABLEDATA m_enableData{};
    DEVMODEW m_devmode{};
    DHPDEV m_dhpdev = nullptr;
    HSURF m_hsurf = nullptr;
    SURFOBJ* m_pSurface = nullptr;
};

}

#endif
