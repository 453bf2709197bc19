// The installer as a program, run from package folders into this test program's own Wine
// prefix.
#include "setup/SetupResult.h"
#include "tests/setup/ExpectedRegistration.h"
#include "tests/setup/InstallerProcess.h"
#include "tests/util/ScratchDirectory.h"
#include "util/Locations.h"
#include "util/PathTokens.h"
#include "util/Services.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace velmo::setup {

namespace {

using namespace test;
using Lines = std::vector<std::string>;
using util::test::readText;

const std::string x64 = "Windows x64";

std::string installedConfigValue(const std::string& path, const char* pszSection, const char* pszKey)
{
    char szValue[1024] = {};
    GetPrivateProfileStringA(pszSection, pszKey, "<missing>", szValue, sizeof(szValue), path.c_str());
    return szValue;
}

bool isDirectory(const std::string& path)
{
    const DWORD nAttributes = GetFileAttributesA(path.c_str());
    return nAttributes != INVALID_FILE_ATTRIBUTES && (nAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string registration(const std::string& printerName)
{
    return dumpTree(printersPath + "\\" + printerName) + dumpTree(versionPath(x64) + "\\" + printerName);
}

void removeInstalledFiles(const std::string& installedBase)
{
    for (const char* pszExtension : {".dll", ".cfg", ".bin"})
        DeleteFileA((driverDirectory() + "\\" + installedBase + pszExtension).c_str());
}

const Lines installed = {"", "checking environment ...", "updating components ...", "printer installed ..."};

TEST(Installer, InstallsChecksAndRemovesThePrinter)
{
    const util::test::ScratchDirectory folder;
    const TestPackage package(folder.path(), "faxsetup");
    package.write("x64", "x64 driver build");
    package.write("x86", "x86 driver build");
    package.write("bin", "client data");
    package.write("cfg", "[printer]\r\nname=Korva Test Fax\r\n"
                         "[driver]\r\nport=KORVATEST.PRN\r\noutput=##WT##\\korva-output\r\n"
                         "[client]\r\nhome=##CPF##\\Korva Client\r\nmodule=client.exe\r\n"
                         "[config]\r\nserial=\r\nversion=2024061501\r\n");
    const std::string printerName = "Korva Test Fax";
    const std::string installedBase = driverDirectory() + "\\faxsetup2024061501";

    const InstallerResult install = package.run("");
    EXPECT_EQ(install.nExitCode, 0u);
    EXPECT_EQ(install.lines, installed);

    EXPECT_EQ(readText(installedBase + ".dll"), "x64 driver build");
    EXPECT_EQ(readText(installedBase + ".bin"), "client data");
    const util::InstallerLocations locations = util::InstallerLocations::fromSystem();
    const std::string output = util::windowsDirectory() + "\\temp\\korva-output";
    const std::string home = locations.programFiles64 + "\\Korva Client";
    EXPECT_EQ(installedConfigValue(installedBase + ".cfg", "driver", "output"), output);
    EXPECT_EQ(installedConfigValue(installedBase + ".cfg", "client", "home"), home);
    EXPECT_EQ(installedConfigValue(installedBase + ".cfg", "client", "module"), "client.exe");
    EXPECT_TRUE(isDirectory(output));
    EXPECT_TRUE(isDirectory(home));
    EXPECT_NE(GetFileAttributesA((util::windowsDirectory() + "\\System32\\KORVATEST.PRN").c_str()),
              INVALID_FILE_ATTRIBUTES);
    expectRegistered(printerName, "KORVATEST.PRN", "faxsetup2024061501.dll", x64);
    EXPECT_TRUE(waitForSpooler(SERVICE_RUNNING));
    EXPECT_TRUE(printerOpens(printerName));
    EXPECT_EQ(listedPrinter(printerName), printerName + " on NUL:");

    // Installing again overwrites the files of the stamp and leaves the registry as one
    // installation does.
    const std::string registered = registration(printerName);
    util::test::writeText(installedBase + ".dll", "older build");
    EXPECT_EQ(package.run("").lines, installed);
    EXPECT_EQ(registration(printerName), registered);
    EXPECT_EQ(readText(installedBase + ".dll"), "x64 driver build");

    // With the printer present, "check" ends at once: no file is copied, no key rewritten.
    util::test::writeText(installedBase + ".dll", "changed since");
    const InstallerResult check = package.run("check");
    EXPECT_EQ(check.nExitCode, 0u);
    EXPECT_EQ(check.lines, (Lines{"", "printer currently installed"}));
    EXPECT_EQ(readText(installedBase + ".dll"), "changed since");
    EXPECT_EQ(registration(printerName), registered);

    const InstallerResult remove = package.run("/REMOVE");
    EXPECT_EQ(remove.nExitCode, 0u);
    EXPECT_EQ(remove.lines, (Lines{"", "checking environment ...", "printer removed ..."}));
    EXPECT_FALSE(keyExists(printersPath + "\\" + printerName));
    EXPECT_FALSE(keyExists(versionPath(x64) + "\\" + printerName));
    EXPECT_FALSE(printerOpens(printerName));
    EXPECT_EQ(listedPrinter(printerName), "<not listed>");
    EXPECT_EQ(readText(installedBase + ".dll"), "changed since") << "driver files stay";
    EXPECT_TRUE(waitForSpooler(SERVICE_RUNNING));

    // Without the printer, "check" installs.
    const InstallerResult checkAbsent = package.run("-Check");
    EXPECT_EQ(checkAbsent.nExitCode, 0u);
    EXPECT_EQ(checkAbsent.lines, installed);
    expectRegistered(printerName, "KORVATEST.PRN", "faxsetup2024061501.dll", x64);
    EXPECT_EQ(readText(installedBase + ".dll"), "x64 driver build");

    removeRegistration(printerName);
    removeInstalledFiles("faxsetup2024061501");
}

TEST(Installer, SystemNamesWinAndWholeValueTokensAreLeftToTheDriver)
{
    const util::test::ScratchDirectory folder;
    const TestPackage package(folder.path(), "faxstamp");
    package.write("x64", "x64 driver build");
    package.write("bin", "");
    package.write("cfg", "[printer]\r\nname=Korva Other Name\r\n"
                         "[system]\r\nprinter=Korva Stamp Fax\r\nport=KORVASTAMP.PRN\r\n"
                         "[driver]\r\nport=KORVAIGNORED.PRN\r\noutput=##TEMP##\r\n"
                         "[client]\r\nhome=##CPFFC##\r\n");
    SYSTEMTIME today{};
    GetLocalTime(&today);
    char szStamp[16];
    std::snprintf(szStamp, sizeof(szStamp), "%04u%02u%02u01", today.wYear, today.wMonth, today.wDay);
    const std::string installedName = std::string("faxstamp") + szStamp;
    const std::string installedBase = driverDirectory() + "\\" + installedName;

    const InstallerResult install = package.run("");
    EXPECT_EQ(install.nExitCode, 0u);
    EXPECT_EQ(install.lines, installed);

    EXPECT_EQ(readText(installedBase + ".dll"), "x64 driver build");
    EXPECT_EQ(GetFileAttributesA((installedBase + ".bin").c_str()), INVALID_FILE_ATTRIBUTES) << "empty data file";
    EXPECT_EQ(installedConfigValue(installedBase + ".cfg", "client", "home"), "##CPFFC##");
    EXPECT_EQ(installedConfigValue(installedBase + ".cfg", "driver", "output"), "##TEMP##");
    EXPECT_TRUE(isDirectory(util::InstallerLocations::fromSystem().programFiles64 + "\\PageDesk"));

    expectRegistered("Korva Stamp Fax", "KORVASTAMP.PRN", installedName + ".dll", x64);
    EXPECT_FALSE(keyExists(printersPath + "\\Korva Other Name"));
    EXPECT_EQ(readValues(portsPath).count("KORVAIGNORED.PRN"), 0u);
    EXPECT_TRUE(waitForSpooler(SERVICE_RUNNING));

    removeRegistration("Korva Stamp Fax");
    removeInstalledFiles(installedName);
}

TEST(Installer, FailedInstallRegistersNothingAndRestartsTheSpooler)
{
    const struct {
        const char* pszCase;
        const char* pszConfig;
        bool bDriverBuild;
    } cases[] = {
        {"empty printer name", "[printer]\r\nname=\r\n[driver]\r\nport=KORVAFAIL.PRN\r\n", true},
        {"empty port", "[printer]\r\nname=Korva Fail\r\n[driver]\r\nport=\r\n", true},
        {"no driver build", "[printer]\r\nname=Korva Fail\r\n[driver]\r\nport=KORVAFAIL.PRN\r\n", false},
    };
    for (const auto& entry : cases) {
        const util::test::ScratchDirectory folder;
        const TestPackage package(folder.path(), "faxfail");
        if (entry.bDriverBuild)
            package.write("x64", "x64 driver build");
        package.write("cfg", std::string(entry.pszConfig) + "[config]\r\nserial=1\r\n");

        const InstallerResult install = package.run("");
        EXPECT_EQ(install.nExitCode, code::installFailed) << entry.pszCase;
        EXPECT_EQ(install.lines,
                  (Lines{"", "checking environment ...", "updating components ...", "no printers installed ..."}))
            << entry.pszCase;
        EXPECT_FALSE(keyExists(printersPath + "\\Korva Fail")) << entry.pszCase;
        EXPECT_EQ(readValues(portsPath).count("KORVAFAIL.PRN"), 0u) << entry.pszCase;
        EXPECT_TRUE(waitForSpooler(SERVICE_RUNNING)) << entry.pszCase;
        removeInstalledFiles("faxfail1");
    }
}

TEST(Installer, RemoveWithoutPrinterNameLeavesTheSpoolerAlone)
{
    const util::test::ScratchDirectory folder;
    const TestPackage package(folder.path(), "faxremove");
    package.write("cfg", "[system]\r\nprinter=Korva Not For Removal\r\n");
    util::setServiceWaitPolicy(100, 300);
    ASSERT_EQ(util::stopService("Spooler", true), util::code::success);

    // An empty name names no printer for "check" either (it would open the print server).
    for (const char* pszArguments : {"remove", "check remove"}) {
        const InstallerResult remove = package.run(pszArguments);
        EXPECT_EQ(remove.nExitCode, code::removeNoPrinterName) << pszArguments;
        EXPECT_EQ(remove.lines, (Lines{"", "invalid printer name ..."})) << pszArguments;
        EXPECT_EQ(spoolerState(), static_cast<DWORD>(SERVICE_STOPPED)) << pszArguments;
    }

    EXPECT_EQ(util::startService("Spooler", true), util::code::success);
}

}

}
