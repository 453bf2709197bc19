#include "util/IniFile.h"

#include "util/Files.h"
#include "util/Paths.h"

#include <windows.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace velmo::util {

namespace {

SRWLOCK readLock = SRWLOCK_INIT;

class ReadGuard {
public:
    ReadGuard() { AcquireSRWLockExclusive(&readLock); }
    ~ReadGuard() { ReleaseSRWLockExclusive(&readLock); }
    ReadGuard(const ReadGuard&) = delete;
    ReadGuard& operator=(const ReadGuard&) = delete;
};

std::string readProfileString(const char* pszSection, const char* pszKey, const char* pszDefault,
                              std::vector<char>& buffer, const std::string& path)
{
    const DWORD nLength = GetPrivateProfileStringA(pszSection, pszKey, pszDefault, buffer.data(),
                                                   static_cast<DWORD>(buffer.size()), path.c_str());
    // Lists of names are NUL-separated, so the reported length is used, not the first NUL.
    return std::string(buffer.data(), std::min<std::size_t>(nLength, buffer.size() - 1));
}

int truncatedToInt(double dValue)
{
    if (std::isnan(dValue))
        return 0;
    if (dValue <= static_cast<double>(INT_MIN))
        return INT_MIN;
    if (dValue >= static_cast<double>(INT_MAX))
        return INT_MAX;
    return static_cast<int>(dValue);
}

}

ResultCode IniFile::setFile(const std::string& name)
{
    m_mainPath = extensionStart(name) != std::string::npos ? name : name + ".ini";
    return fileExists(m_mainPath) ? code::success : code::iniFileMissing;
}

ResultCode IniFile::readString(const char* pszSection, const char* pszKey, const char* pszDefault,
                               std::string& out, std::uint32_t nMaxLength) const
{
    ReadGuard guard;
    const char* pszGivenDefault = pszDefault ? pszDefault : "";
    if (pszKey && *pszKey == '\0') {
        out = pszGivenDefault;
        return code::iniKeyEmpty;
    }
    std::vector<char> buffer(std::max(nMaxLength, minimumReadSize));
    std::string fallback = pszGivenDefault;
    if (!m_overridePath.empty())
        fallback = readProfileString(pszSection, pszKey, pszGivenDefault, buffer, m_overridePath);
    if (m_mainPath.empty()) {
        out = fallback;
        return code::iniNoMainFile;
    }
    out = readProfileString(pszSection, pszKey, fallback.c_str(), buffer, m_mainPath);
    return code::success;
}

int IniFile::readInt(const char* pszSection, const char* pszKey, int nDefault) const
{
    std::string text;
    if (readString(pszSection, pszKey, std::to_string(nDefault).c_str(), text) != code::success)
        return nDefault;
    return truncatedToInt(std::strtod(text.c_str(), nullptr));
}

}
