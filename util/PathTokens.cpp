#include "util/PathTokens.h"

#include "util/Locations.h"
#include "util/Text.h"

namespace velmo::util {

InstallerLocations InstallerLocations::fromSystem()
{
    return {programFiles64Folder(), programFiles32Folder(), commonAppDataFolder(), windowsDirectory() + "\\temp",
            util::systemDirectory()};
}

std::string expandInstallerTokens(std::string value, const InstallerLocations& locations, unsigned nTokenSet)
{
    const struct {
        InstallerToken bit;
        const char* pszToken;
        const std::string& replacement;
    } replacements[] = {
        {programFilesToken, token::programFiles, locations.programFiles64},
        {programFilesX86Token, token::programFilesX86, locations.programFiles32},
        {commonAppDataToken, token::commonAppData, locations.commonAppData},
        {windowsTempToken, token::windowsTemp, locations.windowsTemp},
        {systemDirectoryToken, token::systemDirectory, locations.systemDirectory},
    };
    for (const auto& replacement : replacements) {
        if (nTokenSet & replacement.bit)
            text::replaceAll(value, replacement.pszToken, replacement.replacement);
    }
    return value;
}

std::string productFolderOfValue(const std::string& value, const InstallerLocations& locations)
{
    if (text::startsWith(value, token::productProgramFiles))
        return locations.programFiles64 + "\\" + productFolderName;
    if (text::startsWith(value, token::productAppData))
        return locations.commonAppData + "\\" + productFolderName;
    return {};
}

}
