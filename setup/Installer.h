#ifndef VELMO_SETUP_INSTALLER_H
#define VELMO_SETUP_INSTALLER_H

#include "setup/Console.h"
#include "setup/Package.h"
#include "util/PathTokens.h"
#include "util/ResultCode.h"

#include <string>

namespace velmo::setup {

// One run of the installer: check, install or remove the printer that the package
// configures, telling the user on the console.
class Installer {
public:
    Installer(const Console& console, Package package);

    util::ResultCode run(const std::string& commandLine);

private:
    // The driver's output folder and the client's home with the installer's tokens replaced.
    struct ConfiguredFolders {
        std::string output;
        std::string home;
    };

    util::ResultCode install() const;
    util::ResultCode remove() const;
    // Makes the configured folders, the client's open to everybody.
    ConfiguredFolders prepareFolders(const PackageConfig& config) const;
    // Copies the driver library, the configuration and the optional data file into the driver
    // directory and puts the expanded folders into the installed configuration. False when
    // the driver library or the configuration did not arrive.
    bool installFiles(const PackageConfig& config, const ConfiguredFolders& folders) const;

    const Console& m_console;
    Package m_package;
    util::InstallerLocations m_locations;
    bool m_b64BitSystem;
    std::string m_environment;
    std::string m_driverDirectory;
};

}

#endif
