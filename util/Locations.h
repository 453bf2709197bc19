#ifndef VELMO_UTIL_LOCATIONS_H
#define VELMO_UTIL_LOCATIONS_H

#include <windows.h>

#include <string>

// Well-known locations, determined afresh on each call. None ends with a backslash; where
// stated, a location holding a space is given in its 8.3 short form. A location the system
// cannot name (or names in more than 259 bytes) is the empty string.
namespace velmo::util {

// Printer-driver environments.
constexpr char environmentX86[] = "Windows NT x86";
constexpr char environmentX64[] = "Windows x64";

// The module's file, without a leading "\\?\".
std::string modulePath(HMODULE hModule);
// The module's file with its extension replaced by the extension (dots around it ignored;
// an empty extension leaves the path as it is).
std::string moduleSiblingPath(HMODULE hModule, const std::string& extension);
std::string moduleDirectory(HMODULE hModule);

std::string currentDirectory();             // short form
std::string desktopFolder();                // short form
std::string commonAppDataFolder();          // short form
// The native program-files folder: a trailing "(x86)" is dropped, so that a 32-bit process
// on a 64-bit system also names the 64-bit folder. Short form.
std::string programFiles64Folder();
std::string programFiles32Folder();         // short form
// The folder + "\" + the name without surrounding white space and backslashes; the folder
// itself for an empty name.
std::string programFilesSubfolder(const std::string& name);
std::string appDataSubfolder(const std::string& name);
std::string systemDirectory();
std::string windowsDirectory();
std::string userTempDirectory();
// The printer-driver directory of the environment + "\" + the version subdirectory.
std::string printerDriverDirectory(const std::string& environment, const std::string& version);

}

#endif
