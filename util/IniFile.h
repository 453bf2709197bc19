#ifndef VELMO_UTIL_INIFILE_H
#define VELMO_UTIL_INIFILE_H

#include "util/ResultCode.h"

#include <cstdint>
#include <string>

namespace velmo::util {

// Reads keys of an INI file through the system's profile functions. An optional second
// file supplies the default of every key the main file does not hold. All reads of all
// IniFile objects in the process are serialised.
class IniFile {
public:
    static constexpr std::uint32_t minimumReadSize = 1024;

    // Sets the main file; a name without extension gets ".ini". 0 when the file exists.
    ResultCode setFile(const std::string& name);
    void setOverrideFile(const std::string& path) { m_overridePath = path; }
    const std::string& getFile() const { return m_mainPath; }

    // The key's text, or pszDefault. A null key lists the section's keys as the profile
    // functions do; an empty one is refused (out = default).
    ResultCode readString(const char* pszSection, const char* pszKey, const char* pszDefault, std::string& out,
                          std::uint32_t nMaxLength = minimumReadSize) const;
    // The key's text read as a number and truncated towards zero; nDefault when the key
    // cannot be read.
    int readInt(const char* pszSection, const char* pszKey, int nDefault) const;

private:
    std::string m_mainPath;
    std::string m_overridePath;
};

}

#endif
