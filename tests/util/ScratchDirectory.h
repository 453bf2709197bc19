#ifndef VELMO_TESTS_UTIL_SCRATCHDIRECTORY_H
#define VELMO_TESTS_UTIL_SCRATCHDIRECTORY_H

#include <windows.h>

#include <string>

namespace velmo::util::test {

// A private directory below a parent (the user's temporary directory unless given), made
// for one test and removed with everything in it afterwards.
class ScratchDirectory {
public:
    explicit ScratchDirectory(const std::string& parent = std::string());
    ~ScratchDirectory();
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    const std::string& path() const { return m_path; }
    std::string operator/(const std::string& name) const { return m_path + "\\" + name; }

private:
    std::string m_path;
};

// Small file helpers for checking what the utilities did.
void writeText(const std::string& path, const std::string& text);
std::string readText(const std::string& path);
FILETIME lastWriteTime(const std::string& path);
void setLastWriteTime(const std::string& path, const FILETIME& time);
FILETIME shiftedBy(const FILETIME& time, long long nHundredNanoseconds);

}

#endif
