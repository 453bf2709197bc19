#include "setup/Package.h"

#include "util/IniFile.h"
#include "util/Locations.h"
#include "util/Paths.h"
#include "util/TextStamps.h"

#include <initializer_list>
#include <utility>

namespace velmo::setup {

namespace {

class ConfigReader {
public:
    explicit ConfigReader(const std::string& path) { m_file.setFile(path); }

    std::string read(const char* pszSection, const char* pszKey) const
    {
        std::string value;
        m_file.readString(pszSection, pszKey, "", value);
        return value;
    }
    // The first key with a value, read in order.
    std::string firstOf(std::initializer_list<std::pair<const char*, const char*>> keys) const
    {
        for (const auto& [pszSection, pszKey] : keys) {
            std::string value = read(pszSection, pszKey);
            if (!value.empty())
                return value;
        }
        return {};
    }

private:
    util::IniFile m_file;
};

}

Package::Package(std::string directory, std::string baseName)
    : m_directory(std::move(directory)), m_baseName(std::move(baseName))
{
}

Package Package::ofThisProgram()
{
    const std::string path = util::modulePath(nullptr);
    const std::string directory = util::moduleDirectory(nullptr);
    std::string fileName = path.substr(path.find_last_of('\\') + 1);
    fileName = fileName.substr(0, util::extensionStart(fileName));
    return Package(directory, fileName);
}

std::string Package::file(const std::string& extension) const
{
    return m_directory + "\\" + m_baseName + "." + extension;
}

std::string Package::driverLibrary(bool b64BitSystem) const
{
    return file(b64BitSystem ? "x64" : "x86");
}

std::string Package::installedName(const std::string& stamp, const std::string& extension) const
{
    return m_baseName + stamp + "." + extension;
}

PackageConfig PackageConfig::read(const std::string& configPath)
{
    const ConfigReader config(configPath);
    PackageConfig result;
    result.outputValue = config.read("driver", "output");
    result.homeValue = config.read("client", "home");
    result.stamp = config.firstOf({{"config", "serial"}, {"config", "version"}});
    if (result.stamp.empty())
        result.stamp = util::formatLocalTime("%Y%m%d01");
    result.printerName = config.firstOf({{"system", "printer"}, {"printer", "name"}});
    result.portName = config.firstOf({{"system", "port"}, {"driver", "port"}});
    return result;
}

std::string PackageConfig::configuredPrinterName(const std::string& configPath)
{
    return ConfigReader(configPath).read("printer", "name");
}

}
