#include "setup/PrinterRegistration.h"

#include "setup/PrinterRecords.h"
#include "setup/RegistryKey.h"
#include "setup/SetupResult.h"

#include <winspool.h>

#include <initializer_list>

namespace velmo::setup {

namespace {

// The host name that the directory-service entries name the print server by.
constexpr char loopbackHost[] = "localhost";

struct NamedValue {
    const char* pszName;
    RegistryValue value;
    bool bKeep = false;
};

void writeValues(const RegistryKey& key, std::initializer_list<NamedValue> values)
{
    for (const NamedValue& entry : values)
        key.setValue(entry.pszName, entry.value, entry.bKeep);
}

using V = RegistryValue;

void listPort(const std::string& portName)
{
    const RegistryKey ports = RegistryKey::openLocalMachine(portsKey);
    if (!ports.isValid())
        return;
    writeValues(ports, {{portName.c_str(), V::text("")}, {printerPort, V::text(""), true}});
}

RegistryKey driverVersionDirectory(const std::string& environment)
{
    const RegistryKey drivers = RegistryKey::openLocalMachine(driversKey(environment));
    RegistryKey version = drivers.createSubkey("Version-3");
    if (version.isValid()) {
        writeValues(version, {{"Directory", V::text("3"), true},
                              {"MajorVersion", V::number(3), true},
                              {"MinorVersion", V::number(0), true}});
    }
    return version;
}

void writeDriver(const RegistryKey& versionKey, const std::string& printerName, const std::string& driverLibrary)
{
    versionKey.deleteSubkey(printerName);
    const RegistryKey driver = versionKey.createSubkey(printerName);
    if (!driver.isValid())
        return;
    writeValues(driver, {
                            {"Attributes", V::number(2)},
                            {"Configuration File", V::text(driverLibrary)},
                            {"Data File", V::text(driverLibrary)},
                            {"Datatype", V::text("")},
                            {"Dependent Files", V::textList("")},
                            {"Driver", V::text(driverLibrary)},
                            {"DriverDate", V::binary(driverDate())},
                            {"DriverVersion", V::binary(driverVersion())},
                            {"HardwareID", V::text("")},
                            {"Help File", V::text("")},
                            {"Manufacturer", V::text(printerName)},
                            {"Monitor", V::text("")},
                            {"OEM URL", V::text("")},
                            {"Previous Names", V::textList("")},
                            {"Provider", V::text(printerName)},
                            {"TempDir", V::number(0)},
                            {"Version", V::number(3)},
                        });
}

void writePrinterValues(const RegistryKey& printer, const std::string& printerName)
{
    writeValues(printer, {
                             {"Action", V::number(0)},
                             {"Attributes", V::number(PRINTER_ATTRIBUTE_DO_COMPLETE_FIRST | PRINTER_ATTRIBUTE_DIRECT)},
                             {"ChangeID", V::number(78630718)},
                             {"Datatype", V::text("RAW")},
                             {"Default DevMode", V::binary(defaultSettingsRecord(printerName))},
                             {"Default Priority", V::number(0)},
                             {"Description", V::text("")},
                             {"dnsTimeout", V::number(15000)},
                             {"DsKeyUpdate", V::number(0)},
                             {"DsKeyUpdateForeground", V::number(0)},
                             {"Location", V::text("")},
                             {"Name", V::text(printerName)},
                             {"ObjectGUID", V::text("")},
                             {"Parameters", V::text("")},
                             {"Port", V::text(printerPort)},
                             {"Print Processor", V::text("WinPrint")},
                             {"Printer Driver", V::text(printerName)},
                             {"Priority", V::number(1)},
                             {"Security", V::binary(printerSecurityDescriptor())},
                             {"Separator File", V::text("")},
                             {"Share Name", V::text("")},
                             {"SpoolDirectory", V::text("")},
                             {"StartTime", V::number(0)},
                             {"Status", V::number(384)},
                             {"txTimeout", V::number(45000)},
                             {"UntilTime", V::number(0)},
                         });
}

void writeDirectoryServiceKeys(const RegistryKey& printer, const std::string& printerName)
{
    if (const RegistryKey dsDriver = printer.createSubkey("DsDriver"); dsDriver.isValid()) {
        writeValues(dsDriver, {
                                  {"driverVersion", V::number(1280)},
                                  {"printBinNames", V::textList("Auto Select")},
                                  {"printColor", V::binary({1})},
                                  {"printDuplexSupported", V::binary({0})},
                                  {"printLanguage", V::text("")},
                                  {"printMaxResolutionSupported", V::number(0)},
                                  {"printMaxXExtent", V::number(32767)},
                                  {"printMaxYExtent", V::number(0)},
                                  {"printMediaReady", V::textList("")},
                                  {"printMediaSupported", V::textList("Letter|Legal")},
                                  {"printMinXExtent", V::number(0)},
                                  {"printMinYExtent", V::number(0)},
                                  {"printOrientationsSupported", V::textList("PORTRAIT|LANDSCAPE")},
                                  {"printRateUnit", V::number(0)},
                              });
    }
    if (const RegistryKey dsSpooler = printer.createSubkey("DsSpooler"); dsSpooler.isValid()) {
        const std::string host = loopbackHost;
        writeValues(dsSpooler, {
                                   {"description", V::text("")},
                                   {"driverName", V::text(printerName)},
                                   {"flags", V::number(0)},
                                   {"location", V::text("")},
                                   {"portName", V::textList(printerPort)},
                                   {"printEndTime", V::number(0)},
                                   {"printerName", V::text(printerName)},
                                   {"printKeepPrintedJobs", V::binary({0})},
                                   {"printSeparatorFile", V::text("")},
                                   {"printShareName", V::text("")},
                                   {"printSpooling", V::text("PrintDirect")},
                                   {"printStartTime", V::number(0)},
                                   {"priority", V::number(1)},
                                   {"serverName", V::text(host)},
                                   {"shortServerName", V::text(host)},
                                   {"uncName", V::text("\\\\" + host + "\\" + printerName)},
                                   {"url", V::text("http://" + host + "/" + printerName)},
                                   {"versionNumber", V::number(4)},
                               });
    }
}

void writePrinter(const std::string& printerName)
{
    const RegistryKey printers = RegistryKey::openLocalMachine(printersKey);
    printers.deleteSubkey(printerName);
    const RegistryKey printer = printers.createSubkey(printerName);
    if (printer.isValid())
        writePrinterValues(printer, printerName);
    writeDirectoryServiceKeys(printer, printerName);
}

}

std::string driversKey(const std::string& environment)
{
    return "SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\" + environment + "\\Drivers";
}

std::string driverVersionKey(const std::string& environment)
{
    return driversKey(environment) + "\\Version-3";
}

util::ResultCode registerPrinter(const std::string& printerName, const std::string& portName,
                                 const std::string& driverLibrary, const std::string& environment)
{
    if (printerName.empty())
        return code::registerNoPrinterName;
    listPort(portName);
    writeDriver(driverVersionDirectory(environment), printerName, driverLibrary);
    writePrinter(printerName);
    return util::code::success;
}

}
