#include "setup/Installer.h"

#include "setup/CommandLine.h"
#include "setup/PortFile.h"
#include "setup/PrinterRegistration.h"
#include "setup/PrinterRemoval.h"
#include "setup/SetupResult.h"
#include "util/AccessGrant.h"
#include "util/Files.h"
#include "util/Locations.h"
#include "util/Paths.h"
#include "util/Platform.h"
#include "util/Services.h"
#include "util/Text.h"

#include <windows.h>

namespace velmo::setup {

namespace {

constexpr char spooler[] = "Spooler";
constexpr char spoolerHelperPrefix[] = "splwow64.exe";
constexpr std::uint32_t servicePauseMilliseconds = 3000;
constexpr std::uint32_t servicePollCount = 3;

constexpr unsigned outputTokens = util::programFilesToken | util::programFilesX86Token | util::commonAppDataToken
    | util::windowsTempToken;
constexpr unsigned homeTokens = outputTokens | util::systemDirectoryToken;

// A configured location with the installer's tokens replaced. A value still starting with
// "##" holds a token that only the driver knows, and stays as it is.
std::string expandLocation(const std::string& value, const util::InstallerLocations& locations, unsigned nTokens)
{
    const std::string expanded = util::expandInstallerTokens(value, locations, nTokens);
    if (expanded.empty() || util::text::startsWith(expanded, "##"))
        return expanded;
    return util::normalizePath(expanded);
}

bool isLocation(const std::string& value)
{
    return !value.empty() && !util::text::startsWith(value, "##");
}

// Keeps the spooler stopped while the installer rewrites what it reads at start-up. The
// spooler is started again on every way out, an unexpected failure included, so that the
// machine is never left unable to print.
class SpoolerPause {
public:
    SpoolerPause() { util::stopService(spooler, true); }
    ~SpoolerPause() { resume(); }
    SpoolerPause(const SpoolerPause&) = delete;
    SpoolerPause& operator=(const SpoolerPause&) = delete;

    void resume()
    {
        if (!m_bResumed)
            util::startService(spooler, false);
        m_bResumed = true;
    }

private:
    bool m_bResumed = false;
};

void writeBack(const std::string& configPath, const char* pszSection, const char* pszKey, const std::string& value)
{
    WritePrivateProfileStringA(pszSection, pszKey, value.c_str(), configPath.c_str());
}

}

Installer::Installer(const Console& console, Package package)
    : m_console(console),
      m_package(std::move(package)),
      m_locations(util::InstallerLocations::fromSystem()),
      m_b64BitSystem(util::is64BitSystem()),
      m_environment(m_b64BitSystem ? util::environmentX64 : util::environmentX86),
      m_driverDirectory(util::printerDriverDirectory(m_environment, "3"))
{
}

util::ResultCode Installer::run(const std::string& commandLine)
{
    m_console.say("");
    SetCurrentDirectoryA(m_package.directory().c_str());
    util::setServiceWaitPolicy(servicePauseMilliseconds, servicePollCount);

    const Switches switches = Switches::parse(commandLine);
    if (switches.bCheck && printerExists(PackageConfig::configuredPrinterName(m_package.file("cfg")))) {
        m_console.finish("printer currently installed");
        return util::code::success;
    }
    return switches.bRemove ? remove() : install();
}

util::ResultCode Installer::install() const
{
    m_console.say("checking environment ...");
    SpoolerPause spoolerPause;
    m_console.say("updating components ...");

    const PackageConfig config = PackageConfig::read(m_package.file("cfg"));
    const ConfiguredFolders folders = prepareFolders(config);

    const bool bInstalled = !config.printerName.empty() && !config.portName.empty() && !m_driverDirectory.empty()
        && installFiles(config, folders);
    if (bInstalled) {
        const std::string driverLibrary = m_package.installedName(config.stamp, "dll");
        preparePortFile(config.portName);
        registerPrinter(config.printerName, config.portName, driverLibrary, m_environment);
        preparePortFile(config.portName);
    }

    spoolerPause.resume();
    m_console.finish(bInstalled ? "printer installed ..." : "no printers installed ...");
    return bInstalled ? util::code::success : code::installFailed;
}

Installer::ConfiguredFolders Installer::prepareFolders(const PackageConfig& config) const
{
    const ConfiguredFolders folders = {expandLocation(config.outputValue, m_locations, outputTokens),
                                       expandLocation(config.homeValue, m_locations, homeTokens)};
    if (isLocation(folders.output))
        util::createDirectoryTree(folders.output);
    if (isLocation(folders.home)) {
        util::createDirectoryTree(folders.home);
        util::grantFullAccess(folders.home);
    }
    if (const std::string productFolder = util::productFolderOfValue(config.homeValue, m_locations);
        !productFolder.empty()) {
        util::createDirectoryTree(productFolder);
        util::grantFullAccess(productFolder);
    }
    return folders;
}

bool Installer::installFiles(const PackageConfig& config, const ConfiguredFolders& folders) const
{
    const auto installedPath = [&](const char* pszExtension) {
        return m_driverDirectory + "\\" + m_package.installedName(config.stamp, pszExtension);
    };
    // Without its library or configuration the printer would be registered broken.
    if (util::copyFileIfChanged(m_package.driverLibrary(m_b64BitSystem), installedPath("dll"), false, false)
        != util::code::success)
        return false;
    const std::string installedConfig = installedPath("cfg");
    if (util::copyFileIfChanged(m_package.file("cfg"), installedConfig, false, false) != util::code::success)
        return false;

    // The driver expands these two tokens itself, for the user who prints.
    if (config.homeValue != util::token::productProgramFiles)
        writeBack(installedConfig, "client", "home", folders.home);
    if (config.outputValue != util::token::temp)
        writeBack(installedConfig, "driver", "output", folders.output);

    if (util::fileSize(m_package.file("bin")) > 0)
        util::copyFileIfChanged(m_package.file("bin"), installedPath("bin"), false, false);
    return true;
}

util::ResultCode Installer::remove() const
{
    const std::string printerName = util::text::trim(PackageConfig::configuredPrinterName(m_package.file("cfg")));
    if (printerName.empty()) {
        m_console.finish("invalid printer name ...");
        return code::removeNoPrinterName;
    }
    m_console.say("checking environment ...");
    // The 32-bit printing helper holds printers open for 32-bit applications.
    endProcessesNamed(spoolerHelperPrefix);

    SpoolerPause spoolerPause;
    const util::ResultCode deleted = deletePrinter(printerName);
    spoolerPause.resume();

    if (deleted != util::code::success) {
        m_console.finish("failed to remove printer ...");
        return code::removeFailed;
    }
    m_console.finish("printer removed ...");
    return util::code::success;
}

}
