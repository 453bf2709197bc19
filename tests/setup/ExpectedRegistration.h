#ifndef VELMO_TESTS_SETUP_EXPECTEDREGISTRATION_H
#define VELMO_TESTS_SETUP_EXPECTEDREGISTRATION_H

#include "tests/setup/RegistryReader.h"

#include <string>
#include <vector>

// What a registered printer looks like in the registry, written out value by value.
namespace velmo::setup::test {

extern const std::string printersPath;
extern const std::string portsPath;
std::string versionPath(const std::string& environment);

std::vector<std::uint8_t> expectedDevmode(const std::string& printerName);
std::vector<std::uint8_t> expectedSecurityDescriptor();

KeyValues expectedPrinterValues(const std::string& printerName);
KeyValues expectedDsDriverValues();
KeyValues expectedDsSpoolerValues(const std::string& printerName);
KeyValues expectedDriverValues(const std::string& printerName, const std::string& driverLibrary);

// Checks the printer key, its two subkeys and the driver key of the environment, each
// holding exactly the expected values, and the port listed.
void expectRegistered(const std::string& printerName, const std::string& portName, const std::string& driverLibrary,
                      const std::string& environment);
// Removes what a registration of the printer wrote, apart from the shared entries.
void removeRegistration(const std::string& printerName);

}

#endif
