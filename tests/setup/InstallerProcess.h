#ifndef VELMO_TESTS_SETUP_INSTALLERPROCESS_H
#define VELMO_TESTS_SETUP_INSTALLERPROCESS_H

#include <windows.h>

#include <string>
#include <vector>

// Runs the installer as the administrator would: from a package folder, as its own process.
namespace velmo::setup::test {

struct InstallerResult {
    DWORD nExitCode = 999;
    std::vector<std::string> lines;   // what it printed, one entry per line
};

// A package folder: the installer of this build copied in under a base name of the test's
// choosing, and the package files written next to it.
class TestPackage {
public:
    TestPackage(const std::string& directory, const std::string& baseName);

    void write(const std::string& extension, const std::string& content) const;
    InstallerResult run(const std::string& arguments) const;
    const std::string& baseName() const { return m_baseName; }

private:
    std::string m_directory;
    std::string m_baseName;
};

// The printer-driver directory of the x64 environment + "\3".
std::string driverDirectory();

DWORD spoolerState();
// Polls the spooler's state for up to 30 s; true once it is reached.
bool waitForSpooler(DWORD nState);

bool printerOpens(const std::string& printerName);

// What the spooler's list of local printers says of the printer: driver and port names,
// "<not listed>" when it is absent.
std::string listedPrinter(const std::string& printerName);

}

#endif
