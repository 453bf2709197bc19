#ifndef VELMO_SETUP_REGISTRYKEY_H
#define VELMO_SETUP_REGISTRYKEY_H

#include "setup/RegistryValue.h"
#include "util/ResultCode.h"

#include <windows.h>

#include <string>

namespace velmo::setup {

// An open key of the local machine's registry, closed when the object goes. Keys are
// opened in the native view, so that a 32-bit installer on a 64-bit system writes where
// the 64-bit spooler reads.
class RegistryKey {
public:
    // The key below HKEY_LOCAL_MACHINE, made when it is missing; invalid when that fails.
    static RegistryKey openLocalMachine(const std::string& path);

    RegistryKey() = default;
    ~RegistryKey();
    RegistryKey(RegistryKey&& other) noexcept;
    RegistryKey& operator=(RegistryKey&& other) noexcept;
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    bool isValid() const { return m_hKey != nullptr; }

    // The subkey, made when it is missing; invalid when this key is.
    RegistryKey createSubkey(const std::string& name) const;
    // Removes the subkey and everything below it; a missing subkey is no failure.
    void deleteSubkey(const std::string& name) const;

    // Writes the value; with bKeep an existing value is left as it is (registryValueKept).
    util::ResultCode setValue(const std::string& name, const RegistryValue& value, bool bKeep = false) const;

private:
    explicit RegistryKey(HKEY hKey) : m_hKey(hKey) {}
    static RegistryKey create(HKEY hParent, const std::string& path);

    HKEY m_hKey = nullptr;
};

}

#endif
