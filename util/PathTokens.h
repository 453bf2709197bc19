#ifndef VELMO_UTIL_PATHTOKENS_H
#define VELMO_UTIL_PATHTOKENS_H

#include <string>

// Tokens that configuration values may hold in place of locations. Each deliverable gives
// them its own meaning; the installer's is here, the driver expands its few itself.
namespace velmo::util {

namespace token {
constexpr char programFiles[] = "##CPF##";
constexpr char programFilesX86[] = "##CPFX86##";
constexpr char commonAppData[] = "##CAD##";
constexpr char windowsTemp[] = "##WT##";
constexpr char systemDirectory[] = "##WS##";
// These two stand for a whole value and are only looked for at its start.
constexpr char productProgramFiles[] = "##CPFFC##";
constexpr char productAppData[] = "##CADFC##";
constexpr char temp[] = "##TEMP##";
constexpr char userTemp[] = "##CUT##";
constexpr char userDesktop[] = "##CUD##";
constexpr char desktop[] = "##DESKTOP##";
}

// The folder of this product below program files and application data.
constexpr char productFolderName[] = "PageDesk";

// The replaceable tokens, as bits of a set.
enum InstallerToken : unsigned {
    programFilesToken = 1,
    programFilesX86Token = 2,
    commonAppDataToken = 4,
    windowsTempToken = 8,
    systemDirectoryToken = 16,
};

// What the installer puts in place of each token.
struct InstallerLocations {
    std::string programFiles64;
    std::string programFiles32;
    std::string commonAppData;
    std::string windowsTemp;
    std::string systemDirectory;

    static InstallerLocations fromSystem();
};

// Replaces every occurrence (case-sensitive) of each token in nTokenSet.
std::string expandInstallerTokens(std::string value, const InstallerLocations& locations, unsigned nTokenSet);

// The product folder that a value beginning with ##CPFFC## or ##CADFC## stands for; empty
// for any other value.
std::string productFolderOfValue(const std::string& value, const InstallerLocations& locations);

}

#endif
