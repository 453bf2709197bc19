#ifndef VELMO_TOOLS_PRINTHOST_LOADEDDRIVER_H
#define VELMO_TOOLS_PRINTHOST_LOADEDDRIVER_H

#include "tools/printhost/StepLog.h"

#include <windows.h>
#include <winddi.h>

#include <string>

namespace velmo::tools::printhost {

// A function address under its own prototype.
template <typename TFunction, typename TAddress>
TFunction functionAs(TAddress pfnAddress)
{
    return reinterpret_cast<TFunction>(reinterpret_cast<void (*)()>(pfnAddress));
}

// A driver DLL loaded and enabled as the engine does it, once per process: every device of
// every job in the process calls the one function table that DrvEnableDriver gave.
class LoadedDriver {
public:
    explicit LoadedDriver(const StepLog& log) : m_log(log) {}
    ~LoadedDriver();
    LoadedDriver(const LoadedDriver&) = delete;
    LoadedDriver& operator=(const LoadedDriver&) = delete;

    // Loads the DLL, checks that it is a user-mode driver and enables it.
    bool load(const std::wstring& path);
    // Disables the driver and unloads it; safe at any stage.
    void close();

    // The driver's function for a DDI index, or null when it has none.
    PFN function(ULONG iFunction) const;
    template <typename TFunction>
    TFunction ddi(ULONG iFunction) const
    {
        return functionAs<TFunction>(function(iFunction));
    }

private:
    StepLog m_log;
    HMODULE m_hDriver = nullptr;
    DRVENABLEDATA m_enableData{};
};

}

#endif
