#include "util/Platform.h"

#include "util/Handles.h"

namespace velmo::util {

namespace {

using GetNativeSystemInfoFunction = void(WINAPI*)(SYSTEM_INFO*);
using DisableRedirectionFunction = BOOL(WINAPI*)(void**);
using RevertRedirectionFunction = BOOL(WINAPI*)(void*);

// kernel32, looked up by name: the functions are missing on older systems.
class Kernel32 {
public:
    Kernel32() : m_library(LoadLibraryA("kernel32.dll")) {}

    template <typename TFunction>
    TFunction function(const char* pszName) const
    {
        if (!m_library.isValid())
            return nullptr;
        const FARPROC pfnFound = GetProcAddress(m_library.get(), pszName);
        return reinterpret_cast<TFunction>(reinterpret_cast<void (*)()>(pfnFound));
    }

private:
    LibraryHandle m_library;
};

// A 64-bit process sees the native folders already: only a 32-bit process has redirection.
constexpr bool isNativeProcess = sizeof(void*) == 8;

// Both functions, or neither when the system lacks either of them, is not 64-bit or
// redirects nothing for this process.
struct RedirectionFunctions {
    DisableRedirectionFunction pfnDisable = nullptr;
    RevertRedirectionFunction pfnRevert = nullptr;

    explicit RedirectionFunctions(const Kernel32& kernel)
    {
        if (isNativeProcess || !is64BitSystem())
            return;
        pfnDisable = kernel.function<DisableRedirectionFunction>("Wow64DisableWow64FsRedirection");
        pfnRevert = kernel.function<RevertRedirectionFunction>("Wow64RevertWow64FsRedirection");
    }
    bool present() const { return pfnDisable && pfnRevert; }
};

}

bool is64BitSystem()
{
    const Kernel32 kernel;
    const auto pfnGetNativeSystemInfo = kernel.function<GetNativeSystemInfoFunction>("GetNativeSystemInfo");
    if (!pfnGetNativeSystemInfo)
        return false;
    SYSTEM_INFO info{};
    pfnGetNativeSystemInfo(&info);
    return info.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_AMD64;
}

ResultCode disableFsRedirection(void*& pToken)
{
    pToken = noRedirectionToken;
    const Kernel32 kernel;
    const RedirectionFunctions functions(kernel);
    if (!functions.present())
        return code::success;
    if (functions.pfnDisable(&pToken))
        return code::success;
    pToken = noRedirectionToken;
    return code::redirectionDisableFailed;
}

ResultCode revertFsRedirection(void* pToken)
{
    if (pToken == noRedirectionToken)
        return code::success;
    const Kernel32 kernel;
    const RedirectionFunctions functions(kernel);
    if (!functions.present())
        return code::success;
    return functions.pfnRevert(pToken) ? code::success : code::redirectionRevertFailed;
}

}
