#include "tests/setup/InstallerProcess.h"

#include "tests/util/ScratchDirectory.h"

#include <gtest/gtest.h>

#include <winspool.h>

#include <sstream>

namespace velmo::setup::test {

namespace {

std::string programDirectory()
{
    char szPath[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, szPath, MAX_PATH);
    std::string path(szPath);
    return path.substr(0, path.find_last_of('\\'));
}

std::vector<std::string> splitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

}

TestPackage::TestPackage(const std::string& directory, const std::string& baseName)
    : m_directory(directory), m_baseName(baseName)
{
    const std::string installer = programDirectory() + "\\korvasetup.exe";
    EXPECT_TRUE(CopyFileA(installer.c_str(), (m_directory + "\\" + baseName + ".exe").c_str(), FALSE)) << installer;
}

void TestPackage::write(const std::string& extension, const std::string& content) const
{
    util::test::writeText(m_directory + "\\" + m_baseName + "." + extension, content);
}

InstallerResult TestPackage::run(const std::string& arguments) const
{
    SECURITY_ATTRIBUTES inheritable{sizeof(inheritable), nullptr, TRUE};
    HANDLE hRead = nullptr;
    HANDLE hWrite = nullptr;
    InstallerResult result;
    if (!CreatePipe(&hRead, &hWrite, &inheritable, 0)) {
        ADD_FAILURE() << "no pipe";
        return result;
    }
    SetHandleInformation(hRead, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = hWrite;
    startup.hStdError = hWrite;
    // Started from elsewhere, as an administrator may: the installer finds its package by
    // its own path.
    std::string commandLine = "\"" + m_directory + "\\" + m_baseName + ".exe\" " + arguments;
    PROCESS_INFORMATION process{};
    const BOOL bStarted = CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                         &startup, &process);
    CloseHandle(hWrite);
    if (!bStarted) {
        ADD_FAILURE() << "cannot start " << commandLine;
        CloseHandle(hRead);
        return result;
    }
    std::string output;
    char buffer[4096];
    DWORD nRead = 0;
    while (ReadFile(hRead, buffer, sizeof(buffer), &nRead, nullptr) && nRead > 0)
        output.append(buffer, nRead);
    CloseHandle(hRead);
    EXPECT_EQ(WaitForSingleObject(process.hProcess, 120000), WAIT_OBJECT_0);
    GetExitCodeProcess(process.hProcess, &result.nExitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    result.lines = splitLines(output);
    return result;
}

std::string driverDirectory()
{
    char szDirectory[MAX_PATH] = {};
    DWORD nNeeded = 0;
    char environment[] = "Windows x64";
    EXPECT_TRUE(GetPrinterDriverDirectoryA(nullptr, environment, 1, reinterpret_cast<BYTE*>(szDirectory),
                                           sizeof(szDirectory), &nNeeded));
    return std::string(szDirectory) + "\\3";
}

DWORD spoolerState()
{
    SC_HANDLE hManager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
    SC_HANDLE hService = hManager ? OpenServiceA(hManager, "Spooler", SERVICE_QUERY_STATUS) : nullptr;
    SERVICE_STATUS status{};
    if (hService) {
        QueryServiceStatus(hService, &status);
        CloseServiceHandle(hService);
    }
    if (hManager)
        CloseServiceHandle(hManager);
    return status.dwCurrentState;
}

bool waitForSpooler(DWORD nState)
{
    for (int nPoll = 0; nPoll < 300; ++nPoll) {
        if (spoolerState() == nState)
            return true;
        Sleep(100);
    }
    return false;
}

bool printerOpens(const std::string& printerName)
{
    std::string name = printerName;
    PRINTER_DEFAULTSA defaults{nullptr, nullptr, PRINTER_ACCESS_USE};
    HANDLE hPrinter = nullptr;
    if (!OpenPrinterA(name.data(), &hPrinter, &defaults))
        return false;
    ClosePrinter(hPrinter);
    return true;
}

std::string listedPrinter(const std::string& printerName)
{
    DWORD nNeeded = 0;
    DWORD nCount = 0;
    EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, 2, nullptr, 0, &nNeeded, &nCount);
    std::vector<BYTE> buffer(nNeeded + 1);
    if (!EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, 2, buffer.data(), nNeeded, &nNeeded, &nCount))
        return "<not listed>";
    const auto* pPrinters = reinterpret_cast<const PRINTER_INFO_2A*>(buffer.data());
    for (DWORD i = 0; i < nCount; ++i) {
        if (pPrinters[i].pPrinterName && printerName == pPrinters[i].pPrinterName)
            return std::string(pPrinters[i].pDriverName ? pPrinters[i].pDriverName : "") + " on "
                + (pPrinters[i].pPortName ? pPrinters[i].pPortName : "");
    }
    return "<not listed>";
}

}
