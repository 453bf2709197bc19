#ifndef VELMO_SETUP_PACKAGE_H
#define VELMO_SETUP_PACKAGE_H

#include <string>

namespace velmo::setup {

// The installation package: files beside the installer, all named after its own file name
// without extension (the base name B): B.x86, B.x64, B.cfg and an optional B.bin.
class Package {
public:
    Package(std::string directory, std::string baseName);
    // The package of the running installer.
    static Package ofThisProgram();

    const std::string& directory() const { return m_directory; }
    const std::string& baseName() const { return m_baseName; }
    // directory\B.extension
    std::string file(const std::string& extension) const;
    // The driver library's package file for the system: B.x64 or B.x86.
    std::string driverLibrary(bool b64BitSystem) const;
    // B + stamp + "." + extension: installed files share B + stamp, since the driver finds
    // its configuration by its own name.
    std::string installedName(const std::string& stamp, const std::string& extension) const;

private:
    std::string m_directory;
    std::string m_baseName;
};

// What the installer takes from the package's configuration file.
struct PackageConfig {
    std::string printerName;   // "system"/"printer", else "printer"/"name"
    std::string portName;      // "system"/"port", else "driver"/"port"
    std::string stamp;         // "config"/"serial", else "config"/"version", else today + "01"
    std::string outputValue;   // "driver"/"output" as written, tokens and all
    std::string homeValue;     // "client"/"home" as written

    static PackageConfig read(const std::string& configPath);
    // "printer"/"name", the only name that checking and removal go by.
    static std::string configuredPrinterName(const std::string& configPath);
};

}

#endif
