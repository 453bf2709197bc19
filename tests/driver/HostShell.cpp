#include "tests/driver/HostShell.h"

#include "tests/util/ScratchDirectory.h"

#include <windows.h>

namespace velmo::driver::test {

namespace {

using UnixFileName = char*(CDECL*)(const wchar_t*);

UnixFileName unixFileNameFunction()
{
    HMODULE hKernel = GetModuleHandleA("kernel32.dll");
    return hKernel ? reinterpret_cast<UnixFileName>(
                         reinterpret_cast<void (*)()>(GetProcAddress(hKernel, "wine_get_unix_file_name")))
                   : nullptr;
}

std::wstring widened(const std::string& text)
{
    std::wstring wide(text.size(), L'\0');
    const int nLength = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                                            static_cast<int>(wide.size()));
    wide.resize(nLength > 0 ? static_cast<std::size_t>(nLength) : 0);
    return wide;
}

bool fileExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}

bool HostShell::isAvailable()
{
    return unixFileNameFunction() != nullptr;
}

std::string HostShell::hostPath(const std::string& windowsPath)
{
    const UnixFileName pfnUnixFileName = unixFileNameFunction();
    char* pszPath = pfnUnixFileName ? pfnUnixFileName(widened(windowsPath).c_str()) : nullptr;
    if (!pszPath)
        return std::string();
    std::string path(pszPath);
    HeapFree(GetProcessHeap(), 0, pszPath);
    return path;
}

std::optional<int> HostShell::run(const std::string& command, const std::string& workDirectory, std::string& output)
{
    static int nSequence = 0;
    const std::string name = "host-" + std::to_string(++nSequence);
    const std::string hostDirectory = hostPath(workDirectory);
    if (hostDirectory.empty())
        return std::nullopt;
    // Wine starts a host program without a handle to wait on, so the script reports its
    // status through a file that appears only when the command has ended.
    util::test::writeText(workDirectory + "\\" + name + ".sh",
                          "cd " + shellQuoted(hostDirectory) + " || exit\n(" + command + ") > " + name +
                              ".out 2>&1\necho $? > " + name + ".tmp && mv " + name + ".tmp " + name + ".status\n");
    // Wine splits the command line by the Windows rules before it starts a host program.
    std::string commandLine = "Z:\\bin\\sh \"" + hostDirectory + "/" + name + ".sh\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return std::nullopt;
    if (process.hThread)
        CloseHandle(process.hThread);
    if (process.hProcess)
        CloseHandle(process.hProcess);
    const std::string statusFile = workDirectory + "\\" + name + ".status";
    for (int nWait = 0; nWait < 1200 && !fileExists(statusFile); ++nWait)
        Sleep(100);
    if (!fileExists(statusFile))
        return std::nullopt;
    output = util::test::readText(workDirectory + "\\" + name + ".out");
    return std::stoi(util::test::readText(statusFile));
}

std::string shellQuoted(const std::string& text)
{
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

}
