// The print host finds an installed printer's driver as the spooler does. The test
// registers a printer and its driver in this program's own Wine prefix.
#include "tests/driver/DriverProbe.h"

#include <gtest/gtest.h>

#include <winspool.h>

namespace velmo::driver::test {

namespace {

const std::string printKey = "SYSTEM\\CurrentControlSet\\Control\\Print";
const std::string printerName = "Korva Lookup Printer";
const std::string driverName = "Korva Lookup Driver";
const std::string driverFile = "korvalookup.dll";

void setText(const std::string& key, const char* pszValue, const std::string& text)
{
    HKEY hKey = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &hKey, nullptr),
              ERROR_SUCCESS)
        << key;
    EXPECT_EQ(RegSetValueExA(hKey, pszValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                             static_cast<DWORD>(text.size() + 1)),
              ERROR_SUCCESS);
    RegCloseKey(hKey);
}

std::string driverDirectory()
{
    char directory[MAX_PATH] = {};
    DWORD cbNeeded = 0;
    char environment[] = "Windows x64";
    EXPECT_TRUE(GetPrinterDriverDirectoryA(nullptr, environment, 1, reinterpret_cast<BYTE*>(directory),
                                           sizeof(directory), &cbNeeded));
    return std::string(directory) + "\\3";
}

TEST(PrinterLookupTest, printHostFindsTheDriverOfAnInstalledPrinter)
{
    setText(printKey + "\\Printers\\" + printerName, "Printer Driver", driverName);
    setText(printKey + "\\Environments\\Windows x64\\Drivers\\Version-3\\" + driverName, "Driver", driverFile);
    const std::string installed = driverDirectory() + "\\" + driverFile;
    CreateDirectoryA(driverDirectory().c_str(), nullptr);
    ASSERT_TRUE(CopyFileA(probeBuildPath().c_str(), installed.c_str(), FALSE)) << installed;

    EXPECT_EQ(runPrintHost("--printer \"" + printerName + "\" --sample"), 0u);
    EXPECT_EQ(runPrintHost("--printer \"No Such Printer\" --sample"), 1u);

    DeleteFileA(installed.c_str());
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, (printKey + "\\Printers\\" + printerName).c_str());
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, (printKey + "\\Environments\\Windows x64\\Drivers\\Version-3\\" + driverName).c_str());
}

}

}
