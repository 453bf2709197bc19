#include "driver/JobFileName.h"

#include "driver/DriverConfig.h"

#include <windows.h>

#include <algorithm>

namespace velmo::driver {

namespace {
constexpr DWORD sessionNumberBase = 100000;

DWORD currentSessionNumber()
{
    DWORD nSession = 0;
    if (!ProcessIdToSessionId(GetCurrentProcessId(), &nSession))
        nSession = 0;
    return nSession;
}
}

std::wstring accountNameForFiles()
{
    wchar_t name[257] = {};
    DWORD nLength = static_cast<DWORD>(std::size(name));
    if (!GetUserNameW(name, &nLength))
        name[0] = L'\0';
    std::wstring account(name);
    if (!account.empty())
        CharLowerBuffW(account.data(), static_cast<DWORD>(account.size()));
    std::replace(account.begin(), account.end(), L' ', L'-');
    return account;
}

std::wstring makeJobFileName(const wchar_t* pszExtension)
{
    const DriverConfig& config = driverConfig();
    std::wstring name(config.outputDir);
    name += L'\\';
    name += config.seed;
    name += L'-';
    name += accountNameForFiles();
    name += L'-';
    name += std::to_wstring(currentSessionNumber() + sessionNumberBase);
    name += L'.';
    name += viewOf(pszExtension);
    return name;
}

}
