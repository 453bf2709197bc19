#include "tests/util/ScratchDirectory.h"

#include <gtest/gtest.h>

#include <vector>

namespace velmo::util::test {

namespace {

void removeTree(const std::string& path)
{
    WIN32_FIND_DATAA entry;
    HANDLE hFind = FindFirstFileA((path + "\\*").c_str(), &entry);
    if (hFind != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = entry.cFileName;
            if (name == "." || name == "..")
                continue;
            const std::string child = path + "\\" + name;
            SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                removeTree(child);
            else
                DeleteFileA(child.c_str());
        } while (FindNextFileA(hFind, &entry));
        FindClose(hFind);
    }
    RemoveDirectoryA(path.c_str());
}

std::string temporaryDirectory()
{
    char szPath[MAX_PATH];
    const DWORD nLength = GetTempPathA(MAX_PATH, szPath);
    std::string path(szPath, nLength);
    if (!path.empty() && path.back() == '\\')
        path.pop_back();
    return path;
}

}

ScratchDirectory::ScratchDirectory(const std::string& parent)
{
    static int nSequence = 0;
    m_path = (parent.empty() ? temporaryDirectory() : parent) + "\\velmo-util-" + std::to_string(GetCurrentProcessId())
        + "-" + std::to_string(++nSequence);
    removeTree(m_path);
    EXPECT_TRUE(CreateDirectoryA(m_path.c_str(), nullptr)) << m_path;
}

ScratchDirectory::~ScratchDirectory()
{
    removeTree(m_path);
}

void writeText(const std::string& path, const std::string& text)
{
    HANDLE hFile = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(hFile, INVALID_HANDLE_VALUE) << path;
    DWORD nWritten = 0;
    EXPECT_TRUE(WriteFile(hFile, text.data(), static_cast<DWORD>(text.size()), &nWritten, nullptr));
    CloseHandle(hFile);
}

std::string readText(const std::string& path)
{
    HANDLE hFile = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return "<missing>";
    std::vector<char> buffer(GetFileSize(hFile, nullptr) + 1);
    DWORD nRead = 0;
    ReadFile(hFile, buffer.data(), static_cast<DWORD>(buffer.size()), &nRead, nullptr);
    CloseHandle(hFile);
    return std::string(buffer.data(), nRead);
}

FILETIME lastWriteTime(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    EXPECT_TRUE(GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) << path;
    return data.ftLastWriteTime;
}

void setLastWriteTime(const std::string& path, const FILETIME& time)
{
    HANDLE hFile =
        CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(hFile, INVALID_HANDLE_VALUE) << path;
    EXPECT_TRUE(SetFileTime(hFile, nullptr, nullptr, &time));
    CloseHandle(hFile);
}

FILETIME shiftedBy(const FILETIME& time, long long nHundredNanoseconds)
{
    ULARGE_INTEGER value;
    value.LowPart = time.dwLowDateTime;
    value.HighPart = time.dwHighDateTime;
    value.QuadPart += nHundredNanoseconds;
    return {value.LowPart, value.HighPart};
}

}
