#ifndef VELMO_SETUP_PRINTERRECORDS_H
#define VELMO_SETUP_PRINTERRECORDS_H

#include <cstdint>
#include <string>
#include <vector>

// The binary records that the spooler reads from a registered printer and driver.
namespace velmo::setup {

using Bytes = std::vector<std::uint8_t>;

// The printer's default document settings: a 220-byte DEVMODEW for Letter, portrait,
// monochrome at 200 dpi, named after the printer (cut to 31 characters).
Bytes defaultSettingsRecord(const std::string& printerName);

// A self-relative security descriptor, 132 bytes: owned by Administrators, a domain users
// group, and a DACL that lets Everyone print, manage documents and read the printer.
Bytes printerSecurityDescriptor();

// "DriverDate" (a FILETIME) and "DriverVersion" (4.2.0.0), 8 bytes each, little-endian.
Bytes driverDate();
Bytes driverVersion();

}

#endif
