#include "tools/printhost/LoadedDriver.h"

#include <cstdio>

namespace velmo::tools::printhost {

namespace {

std::string hex(ULONG nValue)
{
    char text[16];
    std::snprintf(text, sizeof(text), "0x%lx", nValue);
    return text;
}

}

LoadedDriver::~LoadedDriver()
{
    close();
}

bool LoadedDriver::load(const std::wstring& path)
{
    m_hDriver = LoadLibraryW(path.c_str());
    if (!m_log.report("LoadLibrary", m_hDriver != nullptr, m_hDriver ? "" : "error " + std::to_string(GetLastError())))
        return false;

    using QueryDriverInfo = BOOL(APIENTRY*)(DWORD, PVOID, DWORD, PDWORD);
    auto pfnQuery = functionAs<QueryDriverInfo>(GetProcAddress(m_hDriver, "DrvQueryDriverInfo"));
    DWORD nUserMode = 0;
    DWORD cbNeeded = 0;
    const bool bUserMode = pfnQuery && pfnQuery(DRVQUERY_USERMODE, &nUserMode, sizeof(nUserMode), &cbNeeded) &&
                           nUserMode == 1;
    if (!m_log.report("DrvQueryDriverInfo", bUserMode, "user mode " + std::to_string(nUserMode)))
        return false;

    using EnableDriver = BOOL(APIENTRY*)(ULONG, ULONG, DRVENABLEDATA*);
    auto pfnEnable = functionAs<EnableDriver>(GetProcAddress(m_hDriver, "DrvEnableDriver"));
    const bool bEnabled = pfnEnable && pfnEnable(DDI_DRIVER_VERSION_NT5, sizeof(m_enableData), &m_enableData);
    return m_log.report("DrvEnableDriver", bEnabled,
                        "version " + hex(m_enableData.iDriverVersion) + ", " + std::to_string(m_enableData.c) +
                            " functions");
}

void LoadedDriver::close()
{
    if (!m_hDriver)
        return;
    using DisableDriver = VOID(APIENTRY*)();
    if (auto pfn = functionAs<DisableDriver>(GetProcAddress(m_hDriver, "DrvDisableDriver")))
        pfn();
    m_log.report("DrvDisableDriver", true);
    FreeLibrary(m_hDriver);
    m_hDriver = nullptr;
    m_enableData = DRVENABLEDATA{};
}

PFN LoadedDriver::function(ULONG iFunction) const
{
    for (ULONG i = 0; i < m_enableData.c; ++i) {
        if (m_enableData.pdrvfn[i].iFunc == iFunction)
            return m_enableData.pdrvfn[i].pfn;
    }
    return nullptr;
}

}
