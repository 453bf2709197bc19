#ifndef VELMO_TESTS_DRIVER_DRIVERPROBE_H
#define VELMO_TESTS_DRIVER_DRIVERPROBE_H

#include "driver/DriverConfig.h"
#include "driver/JobState.h"
#include "driver/PageFormat.h"

#include <windows.h>
#include <winddi.h>

#include <string>
#include <vector>

namespace velmo::driver::test {

// The folder of the test program, where the driver builds, the engine emulation and the
// print host lie.
std::string binDirectory();
std::string probeBuildPath();

// One loaded copy of the probe build. The driver reads its configuration once, at load,
// from the file beside it with the module's own name; so each configuration gets a copy of
// the build under its own name, which the system loads as a module of its own.
class DriverProbe {
public:
    // Copies the build to directory\name.dll, writes configText to directory\name.cfg
    // unless it is empty, and loads the copy.
    DriverProbe(const std::string& directory, const std::string& name, const std::string& configText);
    ~DriverProbe();
    DriverProbe(const DriverProbe&) = delete;
    DriverProbe& operator=(const DriverProbe&) = delete;

    bool isLoaded() const { return m_hModule != nullptr; }
    const std::string& path() const { return m_path; }
    const DriverConfig& config() const;
    // The print job of one of the driver's devices; null for any other handle.
    const JobState* job(DHPDEV dhpdev) const;
    const PageFormat& format() const;

    // An export under its own prototype.
    template <typename TFunction>
    TFunction exported(const char* pszName) const
    {
        return reinterpret_cast<TFunction>(reinterpret_cast<void (*)()>(GetProcAddress(m_hModule, pszName)));
    }
    // A DDI function from the table DrvEnableDriver hands out.
    template <typename TFunction>
    TFunction ddi(ULONG iFunction) const
    {
        return reinterpret_cast<TFunction>(reinterpret_cast<void (*)()>(ddiAddress(iFunction)));
    }
    DRVENABLEDATA enableData() const;

private:
    PFN ddiAddress(ULONG iFunction) const;

    std::string m_path;
    HMODULE m_hModule = nullptr;
};

// The driver's device for one settings record, with what DrvEnablePDEV answered; the
// device and its surface are disabled when the holder goes.
class ProbeDevice {
public:
    ProbeDevice(const DriverProbe& probe, const DEVMODEW* pDevmode);
    ~ProbeDevice();
    ProbeDevice(const ProbeDevice&) = delete;
    ProbeDevice& operator=(const ProbeDevice&) = delete;

    DHPDEV handle() const { return m_dhpdev; }
    const GDIINFO& gdiInfo() const { return m_gdiInfo; }
    const DEVINFO& devInfo() const { return m_devInfo; }
    const HSURF* patterns() const { return m_patterns; }
    // Enables the page surface and hands it out locked, tied to the device as the engine
    // ties it; null when the driver refused.
    SURFOBJ* enableSurface();

private:
    const DriverProbe& m_probe;
    GDIINFO m_gdiInfo{};
    DEVINFO m_devInfo{};
    HSURF m_patterns[HS_DDI_MAX];
    DHPDEV m_dhpdev = nullptr;
    HSURF m_hsurf = nullptr;
    SURFOBJ* m_pSurface = nullptr;
};

DEVMODEW jobDevmode(const wchar_t* pszDeviceName, short nPaperSize, short nOrientation);

// Runs a program to its end and gives its exit code (999 when it cannot be started).
DWORD runProgram(const std::string& commandLine);
// Starts the programs all at once and gives their exit codes when all have ended.
std::vector<DWORD> runProgramsTogether(const std::vector<std::string>& commandLines);
// Runs the print host of the build with the arguments.
DWORD runPrintHost(const std::string& arguments);

// The account name as the driver puts it into file names, computed here independently:
// lower case, blanks as '-'.
std::string expectedAccountName();

// The driver's per-user job file name for an extension in a folder, computed here
// independently: seed-account-(session + 100000).extension.
std::string expectedJobFileName(const std::string& folder, const std::string& seed, const std::string& extension);

}

#endif
