// Registration straight into this test program's registry (a Wine prefix of its own).
#include "setup/PrinterRegistration.h"

#include "setup/SetupResult.h"
#include "tests/setup/ExpectedRegistration.h"

#include <gtest/gtest.h>

namespace velmo::setup {

namespace {

using namespace test;

const std::string x64 = "Windows x64";
const std::string x86 = "Windows NT x86";

class PrinterRegistrationTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        for (const std::string& name : m_printerNames)
            removeRegistration(name);
    }
    // A printer name that the test cleans up after itself.
    const std::string& printer(const std::string& name) { return m_printerNames.emplace_back(name); }

private:
    std::vector<std::string> m_printerNames;
};

TEST_F(PrinterRegistrationTest, WritesEveryValueOfPortDriverAndPrinter)
{
    const std::string& name = printer("Korva Registered");
    ASSERT_EQ(registerPrinter(name, "KORVAREG.PRN", "korvareg1.dll", x64), util::code::success);
    expectRegistered(name, "KORVAREG.PRN", "korvareg1.dll", x64);
    EXPECT_FALSE(keyExists(versionPath(x86) + "\\" + name)) << "only the system's environment is written";

    const KeyValues version = readValues(versionPath(x64));
    EXPECT_EQ(version.at("Directory"), sz("3"));
    EXPECT_EQ(version.at("MajorVersion"), dword(3));
    EXPECT_EQ(version.at("MinorVersion"), dword(0));
}

TEST_F(PrinterRegistrationTest, KeepsSharedEntriesThatExistAndRewritesThePort)
{
    setValue(portsPath, "NUL:", sz("kept"));
    setValue(portsPath, "KORVAKEEP.PRN", sz("old"));
    setValue(versionPath(x64), "Directory", sz("elsewhere"));
    setValue(versionPath(x64), "MajorVersion", dword(7));

    const std::string& name = printer("Korva Keep");
    ASSERT_EQ(registerPrinter(name, "KORVAKEEP.PRN", "korvakeep.dll", x64), util::code::success);

    const KeyValues ports = readValues(portsPath);
    EXPECT_EQ(ports.at("NUL:"), sz("kept"));
    EXPECT_EQ(ports.at("KORVAKEEP.PRN"), sz(""));
    const KeyValues version = readValues(versionPath(x64));
    EXPECT_EQ(version.at("Directory"), sz("elsewhere"));
    EXPECT_EQ(version.at("MajorVersion"), dword(7));
    EXPECT_EQ(version.at("MinorVersion"), dword(0));

    setValue(portsPath, "NUL:", sz(""));
    setValue(versionPath(x64), "Directory", sz("3"));
    setValue(versionPath(x64), "MajorVersion", dword(3));
}

TEST_F(PrinterRegistrationTest, RegisteringAgainReplacesPrinterAndDriverKeysWhole)
{
    const std::string& name = printer("Korva Twice");
    ASSERT_EQ(registerPrinter(name, "KORVATWICE.PRN", "korvatwice.dll", x64), util::code::success);
    const std::string printerKey = printersPath + "\\" + name;
    const std::string driverKey = versionPath(x64) + "\\" + name;
    const std::string printerOnce = dumpTree(printerKey);
    const std::string driverOnce = dumpTree(driverKey);

    // Leftovers of an earlier installation.
    setValue(printerKey, "Stale", sz("old"));
    setValue(printerKey + "\\PrinterDriverData", "Stale", dword(1));
    setValue(printerKey + "\\DsSpooler", "Stale", dword(1));
    setValue(driverKey, "Stale", sz("old"));
    setValue(driverKey, "Driver", sz("older.dll"));

    ASSERT_EQ(registerPrinter(name, "KORVATWICE.PRN", "korvatwice.dll", x64), util::code::success);
    EXPECT_EQ(dumpTree(printerKey), printerOnce);
    EXPECT_EQ(dumpTree(driverKey), driverOnce);
}

TEST_F(PrinterRegistrationTest, ThirtyTwoBitSystemsGetTheX86Environment)
{
    const std::string& name = printer("Korva Thirty-Two");
    ASSERT_EQ(registerPrinter(name, "KORVA32.PRN", "korva32.dll", x86), util::code::success);
    EXPECT_EQ(readValues(versionPath(x86) + "\\" + name), expectedDriverValues(name, "korva32.dll"));
    EXPECT_FALSE(keyExists(versionPath(x64) + "\\" + name));
    EXPECT_EQ(readValues(versionPath(x86)).at("Directory"), sz("3"));
}

TEST_F(PrinterRegistrationTest, LongNamesAreKeptWholeExceptInTheSettingsRecord)
{
    const std::string& name = printer("Korva Fax Printer With A Forty Char Name");
    ASSERT_EQ(name.size(), 40u);
    ASSERT_EQ(registerPrinter(name, "KORVALONG.PRN", "korvalong.dll", x64), util::code::success);
    expectRegistered(name, "KORVALONG.PRN", "korvalong.dll", x64);
    const KeyValues values = readValues(printersPath + "\\" + name);
    const auto* pDevmode = reinterpret_cast<const DEVMODEW*>(values.at("Default DevMode").data.data());
    EXPECT_EQ(std::wstring(pDevmode->dmDeviceName), std::wstring(name.begin(), name.begin() + 31));
}

TEST_F(PrinterRegistrationTest, EmptyPrinterNameWritesNothing)
{
    const std::string portsBefore = dumpTree(portsPath);
    EXPECT_EQ(registerPrinter("", "KORVAEMPTY.PRN", "korvaempty.dll", x64), code::registerNoPrinterName);
    EXPECT_EQ(dumpTree(portsPath), portsBefore);
}

}

}
