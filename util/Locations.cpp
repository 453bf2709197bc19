#include "util/Locations.h"

#include "util/Paths.h"
#include "util/Text.h"

#include <shlobj.h>
#include <winspool.h>

namespace velmo::util {

namespace {

constexpr DWORD pathBufferSize = MAX_PATH;

// The text a system call left in a path buffer, given the length it reported. A length of
// 0 means failure; one that does not fit means a path the caller could not hold whole.
std::string fromPathBuffer(const char* pszBuffer, DWORD nLength)
{
    if (nLength == 0 || nLength >= pathBufferSize)
        return {};
    return std::string(pszBuffer, nLength);
}

std::string withoutTrailingBackslash(std::string path)
{
    text::removeSuffix(path, "\\");
    return path;
}

std::string shortForm(const std::string& location)
{
    if (location.find(' ') == std::string::npos)
        return location;
    char szShort[pathBufferSize];
    return withoutTrailingBackslash(
        fromPathBuffer(szShort, GetShortPathNameA(location.c_str(), szShort, pathBufferSize)));
}

std::string specialFolder(int nFolder)
{
    char szFolder[pathBufferSize] = {};
    if (!SHGetSpecialFolderPathA(nullptr, szFolder, nFolder, FALSE))
        return {};
    szFolder[pathBufferSize - 1] = '\0';
    return withoutTrailingBackslash(szFolder);
}

std::string subfolder(const std::string& folder, const std::string& name)
{
    std::string cleanName = text::trim(name);
    while (text::removePrefix(cleanName, "\\")) {
    }
    while (text::removeSuffix(cleanName, "\\")) {
    }
    return cleanName.empty() ? folder : folder + "\\" + cleanName;
}

}

std::string modulePath(HMODULE hModule)
{
    char szPath[pathBufferSize];
    std::string path = fromPathBuffer(szPath, GetModuleFileNameA(hModule, szPath, pathBufferSize));
    text::removePrefix(path, "\\\\?\\", true);
    return path;
}

std::string moduleSiblingPath(HMODULE hModule, const std::string& extension)
{
    std::string path = modulePath(hModule);
    const std::size_t nFirst = extension.find_first_not_of('.');
    if (path.empty() || nFirst == std::string::npos)
        return path;
    const std::size_t nLast = extension.find_last_not_of('.');
    return path.substr(0, extensionStart(path)) + "." + extension.substr(nFirst, nLast - nFirst + 1);
}

std::string moduleDirectory(HMODULE hModule)
{
    std::string path = modulePath(hModule);
    text::cutAtLast(path, '\\');
    return path;
}

std::string currentDirectory()
{
    char szPath[pathBufferSize];
    return shortForm(
        withoutTrailingBackslash(fromPathBuffer(szPath, GetCurrentDirectoryA(pathBufferSize, szPath))));
}

std::string desktopFolder()
{
    return shortForm(specialFolder(CSIDL_DESKTOP));
}

std::string commonAppDataFolder()
{
    return shortForm(specialFolder(CSIDL_COMMON_APPDATA));
}

std::string programFiles64Folder()
{
    std::string folder = specialFolder(CSIDL_PROGRAM_FILES);
    if (text::removeSuffix(folder, "(x86)") || text::removeSuffix(folder, "(X86)"))
        folder = text::trim(folder); // the blank before "(x86)" is not part of the native name
    return shortForm(folder);
}

std::string programFiles32Folder()
{
    return shortForm(specialFolder(CSIDL_PROGRAM_FILESX86));
}

std::string programFilesSubfolder(const std::string& name)
{
    return subfolder(programFiles64Folder(), name);
}

std::string appDataSubfolder(const std::string& name)
{
    return subfolder(commonAppDataFolder(), name);
}

std::string systemDirectory()
{
    char szPath[pathBufferSize];
    return withoutTrailingBackslash(fromPathBuffer(szPath, GetSystemDirectoryA(szPath, pathBufferSize)));
}

std::string windowsDirectory()
{
    char szPath[pathBufferSize];
    return withoutTrailingBackslash(fromPathBuffer(szPath, GetSystemWindowsDirectoryA(szPath, pathBufferSize)));
}

std::string userTempDirectory()
{
    char szPath[pathBufferSize];
    return withoutTrailingBackslash(fromPathBuffer(szPath, GetTempPathA(pathBufferSize, szPath)));
}

std::string printerDriverDirectory(const std::string& environment, const std::string& version)
{
    std::string environmentName = environment;
    char szPath[pathBufferSize] = {};
    DWORD nNeeded = 0;
    if (!GetPrinterDriverDirectoryA(nullptr, environmentName.data(), 1, reinterpret_cast<BYTE*>(szPath),
                                    pathBufferSize, &nNeeded))
        return {};
    szPath[pathBufferSize - 1] = '\0';
    return subfolder(withoutTrailingBackslash(szPath), version);
}

}
