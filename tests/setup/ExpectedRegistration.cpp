#include "tests/setup/ExpectedRegistration.h"

#include <gtest/gtest.h>

#include <cstring>

namespace velmo::setup::test {

const std::string printersPath = "SYSTEM\\CurrentControlSet\\Control\\Print\\Printers";
const std::string portsPath = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Ports";

std::string versionPath(const std::string& environment)
{
    return "SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\" + environment + "\\Drivers\\Version-3";
}

std::vector<std::uint8_t> expectedDevmode(const std::string& printerName)
{
    DEVMODEW devmode{};
    for (std::size_t i = 0; i < printerName.size() && i < 31; ++i)
        devmode.dmDeviceName[i] = static_cast<unsigned char>(printerName[i]);
    devmode.dmSpecVersion = 0x0400;
    devmode.dmDriverVersion = 1;
    devmode.dmSize = 220;
    devmode.dmFields = 0x00000C03;
    devmode.dmOrientation = 1;
    devmode.dmPaperSize = 1;
    devmode.dmCopies = 1;
    devmode.dmPrintQuality = 200;
    devmode.dmYResolution = 200;
    devmode.dmColor = 1;
    devmode.dmDuplex = 1;
    devmode.dmTTOption = 1;
    devmode.dmCollate = 1;
    wcscpy(devmode.dmFormName, L"Letter");
    devmode.dmBitsPerPel = 8;
    devmode.dmPelsWidth = 1700;
    devmode.dmPelsHeight = 2200;
    std::vector<std::uint8_t> bytes(220);
    std::memcpy(bytes.data(), &devmode, bytes.size());
    return bytes;
}

std::vector<std::uint8_t> expectedSecurityDescriptor()
{
    // Header, DACL of three Everyone entries, owner Administrators, group a domain's users;
    // the group's domain is the installer's own constant.
    return {
        0x01, 0x00, 0x04, 0x80, 0x58, 0x00, 0x00, 0x00, 0x68, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
        0x14, 0x00, 0x00, 0x00,
        0x02, 0x00, 0x44, 0x00, 0x03, 0x00, 0x00, 0x00,
        0x00, 0x00, 0x14, 0x00, 0x0C, 0x00, 0x0F, 0x00, 0x01, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01,
        0x00, 0x00, 0x00, 0x00,
        0x00, 0x0A, 0x14, 0x00, 0x00, 0x00, 0x02, 0x00, 0x01, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01,
        0x00, 0x00, 0x00, 0x00,
        0x00, 0x09, 0x14, 0x00, 0x3C, 0x00, 0x0F, 0x00, 0x01, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01,
        0x00, 0x00, 0x00, 0x00,
        0x01, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0x05, 0x20, 0x00, 0x00, 0x00, 0x20, 0x02, 0x00, 0x00,
        0x01, 0x05, 0x00, 0x00, 0x00, 0x00, 0x00, 0x05, 0x15, 0x00, 0x00, 0x00,
        0x55, 0x07, 0x3E, 0x7F, 0xD9, 0xFF, 0x3B, 0x58, 0xC2, 0x4C, 0x5A, 0xB4, 0x01, 0x02, 0x00, 0x00,
    };
}

KeyValues expectedPrinterValues(const std::string& printerName)
{
    return {
        {"Action", dword(0)},
        {"Attributes", dword(514)},
        {"ChangeID", dword(78630718)},
        {"Datatype", sz("RAW")},
        {"Default DevMode", binary(expectedDevmode(printerName))},
        {"Default Priority", dword(0)},
        {"Description", sz("")},
        {"dnsTimeout", dword(15000)},
        {"DsKeyUpdate", dword(0)},
        {"DsKeyUpdateForeground", dword(0)},
        {"Location", sz("")},
        {"Name", sz(printerName)},
        {"ObjectGUID", sz("")},
        {"Parameters", sz("")},
        {"Port", sz("NUL:")},
        {"Print Processor", sz("WinPrint")},
        {"Printer Driver", sz(printerName)},
        {"Priority", dword(1)},
        {"Security", binary(expectedSecurityDescriptor())},
        {"Separator File", sz("")},
        {"Share Name", sz("")},
        {"SpoolDirectory", sz("")},
        {"StartTime", dword(0)},
        {"Status", dword(384)},
        {"txTimeout", dword(45000)},
        {"UntilTime", dword(0)},
    };
}

KeyValues expectedDsDriverValues()
{
    return {
        {"driverVersion", dword(1280)},
        {"printBinNames", multiSz({"Auto Select"})},
        {"printColor", binary({1})},
        {"printDuplexSupported", binary({0})},
        {"printLanguage", sz("")},
        {"printMaxResolutionSupported", dword(0)},
        {"printMaxXExtent", dword(32767)},
        {"printMaxYExtent", dword(0)},
        {"printMediaReady", multiSz({})},
        {"printMediaSupported", multiSz({"Letter", "Legal"})},
        {"printMinXExtent", dword(0)},
        {"printMinYExtent", dword(0)},
        {"printOrientationsSupported", multiSz({"PORTRAIT", "LANDSCAPE"})},
        {"printRateUnit", dword(0)},
    };
}

KeyValues expectedDsSpoolerValues(const std::string& printerName)
{
    return {
        {"description", sz("")},
        {"driverName", sz(printerName)},
        {"flags", dword(0)},
        {"location", sz("")},
        {"portName", multiSz({"NUL:"})},
        {"printEndTime", dword(0)},
        {"printerName", sz(printerName)},
        {"printKeepPrintedJobs", binary({0})},
        {"printSeparatorFile", sz("")},
        {"printShareName", sz("")},
        {"printSpooling", sz("PrintDirect")},
        {"printStartTime", dword(0)},
        {"priority", dword(1)},
        {"serverName", sz("localhost")},
        {"shortServerName", sz("localhost")},
        {"uncName", sz("\\\\localhost\\" + printerName)},
        {"url", sz("http://localhost/" + printerName)},
        {"versionNumber", dword(4)},
    };
}

KeyValues expectedDriverValues(const std::string& printerName, const std::string& driverLibrary)
{
    // FILETIME of 2004-06-15 00:00:00 UTC; version 4.2.0.0 as four 16-bit parts, low first.
    const SYSTEMTIME driverDay = {2004, 6, 2, 15, 0, 0, 0, 0};
    FILETIME driverDate{};
    SystemTimeToFileTime(&driverDay, &driverDate);
    std::vector<std::uint8_t> dateBytes(8);
    std::memcpy(dateBytes.data(), &driverDate, 8);
    return {
        {"Attributes", dword(2)},
        {"Configuration File", sz(driverLibrary)},
        {"Data File", sz(driverLibrary)},
        {"Datatype", sz("")},
        {"Dependent Files", multiSz({})},
        {"Driver", sz(driverLibrary)},
        {"DriverDate", binary(dateBytes)},
        {"DriverVersion", binary({0, 0, 0, 0, 2, 0, 4, 0})},
        {"HardwareID", sz("")},
        {"Help File", sz("")},
        {"Manufacturer", sz(printerName)},
        {"Monitor", sz("")},
        {"OEM URL", sz("")},
        {"Previous Names", multiSz({})},
        {"Provider", sz(printerName)},
        {"TempDir", dword(0)},
        {"Version", dword(3)},
    };
}

void expectRegistered(const std::string& printerName, const std::string& portName, const std::string& driverLibrary,
                      const std::string& environment)
{
    const std::string printerPath = printersPath + "\\" + printerName;
    EXPECT_EQ(readValues(printerPath), expectedPrinterValues(printerName));
    EXPECT_EQ(readValues(printerPath + "\\DsDriver"), expectedDsDriverValues());
    EXPECT_EQ(readValues(printerPath + "\\DsSpooler"), expectedDsSpoolerValues(printerName));
    EXPECT_EQ(readValues(versionPath(environment) + "\\" + printerName),
              expectedDriverValues(printerName, driverLibrary));
    const KeyValues ports = readValues(portsPath);
    ASSERT_TRUE(ports.count(portName)) << portName;
    EXPECT_EQ(ports.at(portName), sz(""));
    EXPECT_TRUE(ports.count("NUL:"));
}

void removeRegistration(const std::string& printerName)
{
    deleteTree(printersPath + "\\" + printerName);
    deleteTree(versionPath("Windows x64") + "\\" + printerName);
    deleteTree(versionPath("Windows NT x86") + "\\" + printerName);
}

}
