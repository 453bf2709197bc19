#include "tests/driver/DriverProbe.h"

#include "tests/util/ScratchDirectory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>

namespace velmo::driver::test {

namespace {
const HDEV probeEngineDevice = reinterpret_cast<HDEV>(static_cast<ULONG_PTR>(0x4B4F));
}

std::string binDirectory()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string directory(path);
    return directory.substr(0, directory.find_last_of('\\'));
}

std::string probeBuildPath()
{
    return binDirectory() + "\\korvadrv-probe.dll";
}

DriverProbe::DriverProbe(const std::string& directory, const std::string& name, const std::string& configText)
    : m_path(directory + "\\" + name + ".dll")
{
    EXPECT_TRUE(CopyFileA(probeBuildPath().c_str(), m_path.c_str(), FALSE)) << m_path;
    if (!configText.empty())
        util::test::writeText(directory + "\\" + name + ".cfg", configText);
    m_hModule = LoadLibraryA(m_path.c_str());
    EXPECT_NE(m_hModule, nullptr) << m_path << " error " << GetLastError();
}

DriverProbe::~DriverProbe()
{
    if (m_hModule)
        FreeLibrary(m_hModule);
}

const DriverConfig& DriverProbe::config() const
{
    return *exported<const DriverConfig* (*)()>("korvaProbeDriverConfig")();
}

const JobState* DriverProbe::job(DHPDEV dhpdev) const
{
    return exported<const JobState* (*)(DHPDEV)>("korvaProbeJobState")(dhpdev);
}

const PageFormat& DriverProbe::format() const
{
    return *exported<const PageFormat* (*)()>("korvaProbePageFormat")();
}

DRVENABLEDATA DriverProbe::enableData() const
{
    DRVENABLEDATA data{};
    auto pfnEnable = exported<BOOL(APIENTRY*)(ULONG, ULONG, DRVENABLEDATA*)>("DrvEnableDriver");
    EXPECT_TRUE(pfnEnable && pfnEnable(DDI_DRIVER_VERSION_NT5, sizeof(data), &data));
    return data;
}

PFN DriverProbe::ddiAddress(ULONG iFunction) const
{
    const DRVENABLEDATA data = enableData();
    for (ULONG i = 0; i < data.c; ++i) {
        if (data.pdrvfn[i].iFunc == iFunction)
            return data.pdrvfn[i].pfn;
    }
    ADD_FAILURE() << "no DDI function " << iFunction;
    return nullptr;
}

ProbeDevice::ProbeDevice(const DriverProbe& probe, const DEVMODEW* pDevmode) : m_probe(probe)
{
    std::fill(std::begin(m_patterns), std::end(m_patterns), reinterpret_cast<HSURF>(static_cast<ULONG_PTR>(0xBAD)));
    using EnablePdev = DHPDEV(APIENTRY*)(DEVMODEW*, LPWSTR, ULONG, HSURF*, ULONG, ULONG*, ULONG, DEVINFO*, HDEV,
                                         LPWSTR, HANDLE);
    DEVMODEW devmode = pDevmode ? *pDevmode : DEVMODEW{};
    m_dhpdev = probe.ddi<EnablePdev>(INDEX_DrvEnablePDEV)(pDevmode ? &devmode : nullptr, nullptr, HS_DDI_MAX,
                                                          m_patterns, sizeof(m_gdiInfo),
                                                          reinterpret_cast<ULONG*>(&m_gdiInfo), sizeof(m_devInfo),
                                                          &m_devInfo, probeEngineDevice, nullptr, nullptr);
    if (m_dhpdev)
        probe.ddi<VOID(APIENTRY*)(DHPDEV, HDEV)>(INDEX_DrvCompletePDEV)(m_dhpdev, probeEngineDevice);
}

ProbeDevice::~ProbeDevice()
{
    if (m_pSurface)
        EngUnlockSurface(m_pSurface);
    if (m_hsurf)
        m_probe.ddi<VOID(APIENTRY*)(DHPDEV)>(INDEX_DrvDisableSurface)(m_dhpdev);
    if (m_dhpdev)
        m_probe.ddi<VOID(APIENTRY*)(DHPDEV)>(INDEX_DrvDisablePDEV)(m_dhpdev);
}

SURFOBJ* ProbeDevice::enableSurface()
{
    m_hsurf = m_probe.ddi<HSURF(APIENTRY*)(DHPDEV)>(INDEX_DrvEnableSurface)(m_dhpdev);
    m_pSurface = m_hsurf ? EngLockSurface(m_hsurf) : nullptr;
    if (m_pSurface)
        m_pSurface->dhpdev = m_dhpdev;
    return m_pSurface;
}

DEVMODEW jobDevmode(const wchar_t* pszDeviceName, short nPaperSize, short nOrientation)
{
    DEVMODEW devmode{};
    wcsncpy(devmode.dmDeviceName, pszDeviceName, CCHDEVICENAME - 1);
    devmode.dmSize = sizeof(DEVMODEW);
    devmode.dmFields = DM_PAPERSIZE | DM_ORIENTATION;
    devmode.dmPaperSize = nPaperSize;
    devmode.dmOrientation = nOrientation;
    return devmode;
}

std::vector<DWORD> runProgramsTogether(const std::vector<std::string>& commandLines)
{
    std::vector<PROCESS_INFORMATION> processes;
    for (const std::string& commandLine : commandLines) {
        std::string mutableLine = commandLine;
        STARTUPINFOA startup{};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION process{};
        if (!CreateProcessA(nullptr, mutableLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                            &process))
            process = PROCESS_INFORMATION{};
        processes.push_back(process);
    }
    std::vector<DWORD> exitCodes;
    for (const PROCESS_INFORMATION& process : processes) {
        DWORD nExitCode = 999;
        if (process.hProcess) {
            WaitForSingleObject(process.hProcess, 300000);
            GetExitCodeProcess(process.hProcess, &nExitCode);
            CloseHandle(process.hThread);
            CloseHandle(process.hProcess);
        }
        exitCodes.push_back(nExitCode);
    }
    return exitCodes;
}

DWORD runProgram(const std::string& commandLine)
{
    return runProgramsTogether({commandLine}).front();
}

DWORD runPrintHost(const std::string& arguments)
{
    return runProgram("\"" + binDirectory() + "\\korvaprint.exe\" " + arguments);
}

std::string expectedAccountName()
{
    char account[257] = {};
    DWORD nLength = sizeof(account);
    GetUserNameA(account, &nLength);
    std::string user(account);
    for (char& c : user)
        c = c == ' ' ? '-' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return user;
}

std::string expectedJobFileName(const std::string& folder, const std::string& seed, const std::string& extension)
{
    DWORD nSession = 0;
    ProcessIdToSessionId(GetCurrentProcessId(), &nSession);
    return folder + "\\" + seed + "-" + expectedAccountName() + "-" + std::to_string(nSession + 100000) + "." +
           extension;
}

}
