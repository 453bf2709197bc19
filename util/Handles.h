#ifndef VELMO_UTIL_HANDLES_H
#define VELMO_UTIL_HANDLES_H

#include <windows.h>

namespace velmo::util {

// Owns a system handle and releases it when the scope ends, so that every early return
// releases it too. Both null and INVALID_HANDLE_VALUE count as "no handle".
template <typename THandle, BOOL(WINAPI* pfnRelease)(THandle)>
class ScopedHandle {
public:
    explicit ScopedHandle(THandle hHandle = nullptr) : m_hHandle(hHandle) {}
    ~ScopedHandle() { release(); }
    ScopedHandle(const ScopedHandle&) = delete;
    ScopedHandle& operator=(const ScopedHandle&) = delete;

    bool isValid() const
    {
        return m_hHandle != nullptr && m_hHandle != reinterpret_cast<THandle>(INVALID_HANDLE_VALUE);
    }
    THandle get() const { return m_hHandle; }

    void release()
    {
        if (isValid())
            pfnRelease(m_hHandle);
        m_hHandle = nullptr;
    }

private:
    THandle m_hHandle;
};

using FileHandle = ScopedHandle<HANDLE, CloseHandle>;
using LibraryHandle = ScopedHandle<HMODULE, FreeLibrary>;

}

#endif
