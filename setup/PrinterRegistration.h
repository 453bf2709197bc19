#ifndef VELMO_SETUP_PRINTERREGISTRATION_H
#define VELMO_SETUP_PRINTERREGISTRATION_H

#include "util/ResultCode.h"

#include <string>

// The registry entries that make the spooler find a port, a version-3 driver and a local
// printer when it starts. They are written while the spooler is stopped.
namespace velmo::setup {

constexpr char printersKey[] = "SYSTEM\\CurrentControlSet\\Control\\Print\\Printers";
constexpr char portsKey[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Ports";
// The printer is bound to this port; the configured port is only listed.
constexpr char printerPort[] = "NUL:";

// "SYSTEM\...\Environments\<environment>\Drivers".
std::string driversKey(const std::string& environment);
// The same + "\Version-3".
std::string driverVersionKey(const std::string& environment);

// Lists the port, and writes the driver (named after the printer, of the environment given)
// and the printer afresh: earlier keys of both go first. driverLibrary is the bare file name
// of the library in the driver directory. A key that cannot be opened or made skips its
// block; only an empty printer name is refused, before anything is written.
util::ResultCode registerPrinter(const std::string& printerName, const std::string& portName,
                                 const std::string& driverLibrary, const std::string& environment);

}

#endif
