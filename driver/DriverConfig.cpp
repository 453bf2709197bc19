#include "driver/DriverConfig.h"

#include "driver/DeviceAnswers.h"
#include "driver/JobFileName.h"
#include "driver/PageFormat.h"

#include <shlobj.h>

#include <string>

namespace velmo::driver {

namespace {

DriverConfig config;

constexpr wchar_t productFolder[] = L"\\PAGEDESK";

// Reads configuration keys; every read of a file that does not exist gives the default.
class ConfigReader {
public:
    explicit ConfigReader(const wchar_t* pszPath) : m_pszPath(pszPath) {}

    template <std::size_t N>
    void readText(const wchar_t* pszSection, const wchar_t* pszKey, const wchar_t* pszDefault,
                  wchar_t (&target)[N]) const
    {
        copyText(target, L"");
        if (m_pszPath[0] == L'\0') {
            copyText(target, pszDefault);
            return;
        }
        GetPrivateProfileStringW(pszSection, pszKey, pszDefault, target, static_cast<DWORD>(N), m_pszPath);
    }

    int readInt(const wchar_t* pszSection, const wchar_t* pszKey, int nDefault) const
    {
        if (m_pszPath[0] == L'\0')
            return nDefault;
        return static_cast<int>(GetPrivateProfileIntW(pszSection, pszKey, nDefault, m_pszPath));
    }

private:
    const wchar_t* m_pszPath;
};

std::wstring commonAppDataFolder()
{
    wchar_t folder[MAX_PATH] = {};
    if (!SHGetSpecialFolderPathW(nullptr, folder, CSIDL_COMMON_APPDATA, FALSE))
        return std::wstring();
    return folder;
}

// A client home that is exactly one of the tokens stands for that folder.
void expandClientHome()
{
    const std::wstring_view home(config.clientHome);
    if (equalsIgnoringAsciiCase(home, L"##CPFFC##"))
        copyText(config.clientHome, L"C:\\PROGRA~1\\PAGEDESK");
    else if (equalsIgnoringAsciiCase(home, L"##CADFC##"))
        copyText(config.clientHome, commonAppDataFolder() + productFolder);
    else if (equalsIgnoringAsciiCase(home, L"##CPF##"))
        copyText(config.clientHome, L"C:\\PROGRA~1");
    else if (equalsIgnoringAsciiCase(home, L"##CPFX86##"))
        copyText(config.clientHome, L"C:\\PROGRA~2");
}

// "##TEMP##" becomes the short form of the user's temporary directory; when that cannot be
// had the token stays, so that no job file lands in an unintended place.
void expandOutputDir()
{
    if (!equalsIgnoringAsciiCase(config.outputDir, L"##TEMP##"))
        return;
    constexpr DWORD nLimit = 250;
    wchar_t longPath[nLimit] = {};
    wchar_t shortPath[nLimit] = {};
    const DWORD nLongLength = GetTempPathW(nLimit, longPath);
    if (nLongLength < 1 || nLongLength >= nLimit - 1)
        return;
    const DWORD nShortLength = GetShortPathNameW(longPath, shortPath, nLimit);
    if (nShortLength < 1 || nShortLength >= nLimit - 1)
        return;
    std::wstring_view folder(shortPath, nShortLength);
    if (folder.back() == L'\\')
        folder.remove_suffix(1);
    copyText(config.outputDir, folder);
}

void resolveClientPath()
{
    if (equalsIgnoringAsciiCase(config.clientModule, L"bin"))
        copyText(config.clientPath, config.binPath);
    else
        copyText(config.clientPath, std::wstring(config.clientHome) + L'\\' + config.clientModule);
}

// The configuration file and the "bin" path follow the module's own file name.
void locateFiles()
{
    wchar_t modulePath[textCapacity] = {};
    const DWORD nLength = GetModuleFileNameW(config.hInstance, modulePath, textCapacity);
    if (nLength <= 4 || nLength >= textCapacity)
        return;
    const std::wstring_view stem(modulePath, nLength - 3);
    copyText(config.configPath, std::wstring(stem) + L"cfg");
    copyText(config.binPath, std::wstring(stem) + L"bin");
}

void readComputerName()
{
    DWORD nLength = MAX_COMPUTERNAME_LENGTH + 1;
    if (!GetComputerNameW(config.computerName, &nLength))
        copyText(config.computerName, L"");
}

void readKeys(const ConfigReader& reader)
{
    reader.readText(L"printer", L"seed", L"", config.seed);
    reader.readText(L"driver", L"name", L"", config.deviceName);
    reader.readText(L"driver", L"info", L"Integrated Print Driver", config.driverInfo);
    reader.readText(L"driver", L"output", L"", config.outputDir);
    reader.readText(L"client", L"args", L"", config.clientArgs);
    reader.readText(L"client", L"home", L"", config.clientHome);
    reader.readText(L"client", L"module", L"", config.clientModule);
    expandClientHome();
    expandOutputDir();
    resolveClientPath();

    reader.readText(L"renderer", L"userId", L"", config.rendererUser);
    config.append = reader.readInt(L"options", L"append", 1);
    config.resolution = reader.readInt(L"options", L"resolution", 200);
    config.landscape = reader.readInt(L"options", L"landscape", 0);
    config.color = reader.readInt(L"options", L"color", 0);
    config.drawScale = reader.readInt(L"graphics", L"drawScale", 0);
    if (config.drawScale < 1 || config.drawScale > 6)
        config.drawScale = 0;
    config.jpegQuality = reader.readInt(L"jpeg", L"quality", 1);
    if (config.jpegQuality < 1 || config.jpegQuality > 4)
        config.jpegQuality = 3;
    config.threshold = reader.readInt(L"binarize", L"threshold", 192);
    config.dither = reader.readInt(L"binarize", L"dither", 1);
    config.testPrint = reader.readInt(L"testPrint", L"enabled", 0);
    reader.readText(L"testPrint", L"outputPdf", L"", config.testOutputPdf);
    reader.readText(L"testPrint", L"outputImage", L"", config.testOutputImage);
    reader.readText(L"testPrint", L"outputLog", L"", config.testOutputLog);
}

// The client may turn the default orientation for this user in its control file.
int readOrientation()
{
    const std::wstring controlFile = makeJobFileName(L"ini");
    const int nLandscape = static_cast<int>(
        GetPrivateProfileIntW(L"config", L"landscape", config.landscape, controlFile.c_str()));
    return nLandscape != 0 ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
}

// drawScale raises the drawing resolution above the output resolution; the output
// resolution itself stays as configured.
DrawingSet drawingSetOf(int nResolution, int nDrawScale)
{
    switch (nDrawScale) {
    case 1:
    case 3:
        return DrawingSet::dpi300;
    case 4:
        return DrawingSet::dpi400;
    case 2:
    case 5:
    case 6:
        return DrawingSet::dpi600;
    default:
        return nResolution == 300 ? DrawingSet::dpi300 : DrawingSet::dpi200;
    }
}

}

const DriverConfig& driverConfig()
{
    return config;
}

void loadDriverConfig(HINSTANCE hInstance)
{
    config = DriverConfig{};
    config.hInstance = hInstance;
    readComputerName();
    locateFiles();
    readKeys(ConfigReader(config.configPath));
    config.monochrome = config.color == 0 ? 1 : 0;
    config.orientation = readOrientation();
    if (config.outputDir[0] != L'\0')
        CreateDirectoryW(config.outputDir, nullptr);
    if (config.threshold < 3)
        config.threshold = 3;
    if (config.resolution != 200 && config.resolution != 300)
        config.resolution = 200;

    const PageFormat format = pageFormatOf(drawingSetOf(config.resolution, config.drawScale));
    setPageFormat(format);
    fillDeviceAnswers(config, format);
}

}
