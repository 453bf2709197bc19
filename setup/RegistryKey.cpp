#include "setup/RegistryKey.h"

#include "setup/SetupResult.h"

#include <utility>

namespace velmo::setup {

namespace {

constexpr REGSAM nativeViewAllAccess = KEY_ALL_ACCESS | KEY_WOW64_64KEY;

}

RegistryKey RegistryKey::openLocalMachine(const std::string& path)
{
    HKEY hMachine = nullptr;
    if (RegConnectRegistryA(nullptr, HKEY_LOCAL_MACHINE, &hMachine) != ERROR_SUCCESS)
        return RegistryKey();
    const RegistryKey machine(hMachine);
    return create(machine.m_hKey, path);
}

RegistryKey RegistryKey::create(HKEY hParent, const std::string& path)
{
    HKEY hKey = nullptr;
    if (!hParent
        || RegCreateKeyExA(hParent, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, nativeViewAllAccess, nullptr,
                           &hKey, nullptr)
            != ERROR_SUCCESS)
        return RegistryKey();
    return RegistryKey(hKey);
}

RegistryKey::~RegistryKey()
{
    if (m_hKey)
        RegCloseKey(m_hKey);
}

RegistryKey::RegistryKey(RegistryKey&& other) noexcept : m_hKey(std::exchange(other.m_hKey, nullptr)) {}

RegistryKey& RegistryKey::operator=(RegistryKey&& other) noexcept
{
    std::swap(m_hKey, other.m_hKey);
    return *this;
}

RegistryKey RegistryKey::createSubkey(const std::string& name) const
{
    return create(m_hKey, name);
}

void RegistryKey::deleteSubkey(const std::string& name) const
{
    if (m_hKey && !name.empty())
        RegDeleteTreeA(m_hKey, name.c_str());
}

util::ResultCode RegistryKey::setValue(const std::string& name, const RegistryValue& value, bool bKeep) const
{
    if (!m_hKey)
        return util::code::systemError(ERROR_INVALID_HANDLE);
    if (bKeep && RegQueryValueExA(m_hKey, name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS)
        return code::registryValueKept;
    const LONG nError = RegSetValueExA(m_hKey, name.c_str(), 0, value.nType, value.data.data(),
                                       static_cast<DWORD>(value.data.size()));
    if (nError == ERROR_SUCCESS)
        return util::code::success;
    return value.nType == REG_MULTI_SZ ? code::registryMultiStringFailed
                                       : util::code::systemError(static_cast<std::uint32_t>(nError));
}

}
