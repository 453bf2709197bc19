#include "tests/util/ScratchDirectory.h"
#include "util/Files.h"
#include "util/Locations.h"

#include <gtest/gtest.h>

using namespace velmo::util;

namespace {

bool endsWithBackslash(const std::string& path)
{
    return !path.empty() && path.back() == '\\';
}

std::string longFormOf(const std::string& path)
{
    char szLong[MAX_PATH];
    const DWORD nLength = GetLongPathNameA(path.c_str(), szLong, MAX_PATH);
    return nLength > 0 && nLength < MAX_PATH ? std::string(szLong, nLength) : std::string();
}

TEST(Locations, AreExistingDirectoriesWithoutTrailingBackslash)
{
    const struct {
        const char* pszName;
        std::string location;
        bool bShortForm;
    } rows[] = {
        {"current", currentDirectory(), true},
        {"desktop", desktopFolder(), true},
        {"common application data", commonAppDataFolder(), true},
        {"64-bit program files", programFiles64Folder(), true},
        {"32-bit program files", programFiles32Folder(), true},
        {"system", systemDirectory(), false},
        {"windows", windowsDirectory(), false},
        {"temp", userTempDirectory(), false},
        {"module directory", moduleDirectory(nullptr), false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.pszName);
        ASSERT_FALSE(row.location.empty());
        EXPECT_FALSE(endsWithBackslash(row.location)) << row.location;
        EXPECT_TRUE(directoryExists(row.location)) << row.location;
        if (row.bShortForm) {
            EXPECT_EQ(row.location.find(' '), std::string::npos) << row.location;
        }
    }
}

TEST(Locations, ProgramFolders)
{
    const std::string native = programFiles64Folder();
    const std::string x86 = programFiles32Folder();
    EXPECT_NE(native, x86);
    EXPECT_EQ(longFormOf(native).find("(x86)"), std::string::npos) << longFormOf(native);
    EXPECT_NE(longFormOf(x86).find("(x86)"), std::string::npos) << longFormOf(x86);
    EXPECT_EQ(programFilesSubfolder(" \\PageDesk\\\\ "), native + "\\PageDesk");
    EXPECT_EQ(programFilesSubfolder("  "), native);
    EXPECT_EQ(appDataSubfolder("\\PageDesk"), commonAppDataFolder() + "\\PageDesk");
}

TEST(Locations, CurrentDirectoryWithSpaceIsShortForm)
{
    test::ScratchDirectory scratch;
    const std::string spaced = scratch / "with space";
    ASSERT_TRUE(CreateDirectoryA(spaced.c_str(), nullptr));
    char szSaved[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, szSaved);
    ASSERT_TRUE(SetCurrentDirectoryA((spaced + "\\").c_str()));
    const std::string current = currentDirectory();
    SetCurrentDirectoryA(szSaved);
    EXPECT_EQ(current.find(' '), std::string::npos) << current;
    EXPECT_FALSE(endsWithBackslash(current));
    EXPECT_TRUE(directoryExists(current)) << current;
    EXPECT_EQ(longFormOf(current), longFormOf(spaced));
}

TEST(Locations, ModuleFileAndSiblings)
{
    char szExpected[MAX_PATH];
    GetModuleFileNameA(nullptr, szExpected, MAX_PATH);
    const std::string path = modulePath(nullptr);
    ASSERT_EQ(path, szExpected);
    const std::string stem = path.substr(0, path.size() - 4); // without ".exe"
    EXPECT_EQ(moduleSiblingPath(nullptr, "cfg"), stem + ".cfg");
    EXPECT_EQ(moduleSiblingPath(nullptr, ".x64."), stem + ".x64");
    EXPECT_EQ(moduleSiblingPath(nullptr, ""), path);
    EXPECT_EQ(moduleSiblingPath(nullptr, ".."), path);
    EXPECT_EQ(moduleDirectory(nullptr) + "\\", path.substr(0, path.rfind('\\') + 1));
    EXPECT_EQ(modulePath(reinterpret_cast<HMODULE>(0x10)), ""); // no such module
}

TEST(Locations, PrinterDriverDirectoryOfEachEnvironment)
{
    for (const char* pszEnvironment : {environmentX64, environmentX86}) {
        const std::string directory = printerDriverDirectory(pszEnvironment, "3");
        ASSERT_GT(directory.size(), 2u) << pszEnvironment;
        EXPECT_EQ(directory.substr(directory.size() - 2), "\\3");
        EXPECT_TRUE(directoryExists(directory.substr(0, directory.size() - 2))) << directory;
    }
    EXPECT_EQ(printerDriverDirectory("No Such Environment", "3"), "");
}

}
