#ifndef VELMO_TOOLS_PRINTHOST_DRIVERSESSION_H
#define VELMO_TOOLS_PRINTHOST_DRIVERSESSION_H

#include "tools/printhost/LoadedDriver.h"
#include "tools/printhost/StepLog.h"

#include <windows.h>
#include <winddi.h>

#include <functional>
#include <string>

namespace velmo::tools::printhost {

struct JobSettings {
    std::wstring deviceName = L"Korva Test Printer";
    short paperSize = DMPAPER_LETTER;
    short orientation = DMORIENT_PORTRAIT;
    DWORD jobId = 1;
    std::wstring documentName = L"Sample document";
};

// Plays the graphics engine for one device of a loaded driver: calls its DDI in the order
// the platform does, printing one line per step with its result. Every step answers whether
// it succeeded; the session stops at the first failure.
class DriverSession {
public:
    // nDevice numbers the devices of the process from 0: each gets engine handles of its own,
    // as each printer device context has its own device and printer handle.
    DriverSession(const LoadedDriver& driver, const StepLog& log, unsigned nDevice);
    ~DriverSession();
    DriverSession(const DriverSession&) = delete;
    DriverSession& operator=(const DriverSession&) = delete;

    bool enableDevice(const JobSettings& settings);
    bool startDoc(const JobSettings& settings);
    bool startPage();
    bool sendPage();
    bool endDoc();
    // Disables surface and device; safe at any stage.
    void close();

    // The page surface as the engine hands it to the driver, and the driver's functions.
    SURFOBJ* surface() const { return m_pSurface; }
    template <typename TFunction>
    TFunction ddi(ULONG iFunction) const
    {
        return m_driver.ddi<TFunction>(iFunction);
    }
    bool report(const char* pszStep, bool bSuccess, const std::string& detail = std::string()) const
    {
        return m_log.report(pszStep, bSuccess, detail);
    }

private:
    void disableDevicePart(ULONG iFunction, const char* pszStep);
    bool reportWithError(const char* pszStep, const std::function<bool()>& call);

    const LoadedDriver& m_driver;
    StepLog m_log;
    HDEV m_hdev;
    HANDLE m_hPrinter;
    DEVMODEW m_devmode{};
    DHPDEV m_dhpdev = nullptr;
    HSURF m_hsurf = nullptr;
    SURFOBJ* m_pSurface = nullptr;
};

}

#endif
