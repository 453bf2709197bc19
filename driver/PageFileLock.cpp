#include "driver/PageFileLock.h"

#include <cstdint>
#include <vector>

namespace velmo::driver {

namespace {

constexpr DWORD waitMilliseconds = 60000;

// The full path in upper case: Windows paths are compared without case.
std::string canonicalPath(const std::string& path)
{
    std::vector<char> full(MAX_PATH * 4);
    const DWORD nLength = GetFullPathNameA(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    std::string canonical = nLength > 0 && nLength < full.size() ? std::string(full.data(), nLength) : path;
    CharUpperBuffA(canonical.data(), static_cast<DWORD>(canonical.size()));
    return canonical;
}

// FNV-1a: a mutex name has no room for a long path, and may not hold a backslash.
std::uint64_t fingerprint(const std::string& text)
{
    std::uint64_t nHash = 14695981039346656037ull;
    for (unsigned char c : text) {
        nHash ^= c;
        nHash *= 1099511628211ull;
    }
    return nHash;
}

// The same name for every spelling of one path.
std::wstring mutexNameFor(const std::string& pageFile)
{
    std::wstring name = L"Local\\korva-page-file-";
    const std::uint64_t nHash = fingerprint(canonicalPath(pageFile));
    for (int nShift = 60; nShift >= 0; nShift -= 4)
        name += L"0123456789abcdef"[(nHash >> nShift) & 0xF];
    return name;
}

}

PageFileLock::PageFileLock(const std::string& pageFile)
{
    m_hMutex = CreateMutexW(nullptr, FALSE, mutexNameFor(pageFile).c_str());
    if (!m_hMutex)
        return;
    // An abandoned lock was held by a job that died: the append it left is safe to go on from.
    const DWORD nWait = WaitForSingleObject(m_hMutex, waitMilliseconds);
    m_bHeld = nWait == WAIT_OBJECT_0 || nWait == WAIT_ABANDONED;
}

PageFileLock::~PageFileLock()
{
    if (m_bHeld)
        ReleaseMutex(m_hMutex);
    if (m_hMutex)
        CloseHandle(m_hMutex);
}


}
