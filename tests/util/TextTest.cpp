#include "util/PathTokens.h"
#include "util/Text.h"
#include "util/TextStamps.h"

#include <gtest/gtest.h>

#include <cctype>

using namespace velmo::util;

namespace {

bool isUpperHex(const std::string& text)
{
    for (char cChar : text) {
        if (!std::isxdigit(static_cast<unsigned char>(cChar)) || std::islower(static_cast<unsigned char>(cChar)))
            return false;
    }
    return true;
}

TEST(FindText, FindsPlainWords)
{
    const struct {
        const char* pszText;
        const char* pszPattern;
        bool bIgnoreCase;
        int nExpected;
    } rows[] = {
        {"nt authority\\localsystem", "LocalSystem", true, 13},
        {"nt authority\\localsystem", "LocalSystem", false, -1},
        {"abcabc", "ca", false, 2},
        {"abc", "abcd", false, -1},
        {"", "a", false, -1},
        {"a", "", false, -1},
        {"x[y]", "[Y]", true, 1},
    };
    for (const auto& row : rows)
        EXPECT_EQ(text::findText(row.pszText, row.pszPattern, row.bIgnoreCase), row.nExpected)
            << row.pszText << " / " << row.pszPattern;
}

TEST(TextOperations, TrimAndAffixes)
{
    EXPECT_EQ(text::trim(" \t\r\nx y\n "), "x y");
    EXPECT_EQ(text::trim("\v x"), "\v x"); // only the four white-space characters
    std::string value = "\\\\?\\C:\\";
    EXPECT_TRUE(text::removePrefix(value, "\\\\?\\"));
    EXPECT_FALSE(text::removePrefix(value, "c:", false));
    EXPECT_TRUE(text::removeSuffix(value, "c:\\", true));
    EXPECT_EQ(value, "");
    std::string many = "a--b----c";
    text::replaceAll(many, "--", "-");
    EXPECT_EQ(many, "a-b--c");
    EXPECT_EQ(text::narrow(L"plain ascii"), "plain ascii");
}

TEST(NewGuidText, Shapes)
{
    const struct {
        bool bFull;
        bool bKeepBraces;
        bool bKeepHyphens;
        std::size_t nLength;
    } rows[] = {
        {false, false, false, 12},
        {true, false, false, 32},
        {true, false, true, 36},
        {true, true, true, 38},
        {true, true, false, 34},
    };
    for (const auto& row : rows) {
        const std::string text = newGuidText(row.bFull, "", "", row.bKeepBraces, row.bKeepHyphens);
        ASSERT_EQ(text.size(), row.nLength) << text;
        std::string digits = text;
        text::replaceAll(digits, "-", "");
        text::replaceAll(digits, "{", "");
        text::replaceAll(digits, "}", "");
        EXPECT_TRUE(isUpperHex(digits)) << text;
        EXPECT_EQ(text.front() == '{', row.bKeepBraces) << text;
        EXPECT_EQ(text.find('-') != std::string::npos, row.bKeepHyphens) << text;
    }
    const std::string tagged = newGuidText(false, "pre-", ".TIF", false, false);
    EXPECT_EQ(tagged.substr(0, 4), "pre-");
    EXPECT_EQ(tagged.substr(16), ".TIF");
    EXPECT_NE(newGuidText(false, "", "", false, false), newGuidText(false, "", "", false, false));
}

TEST(FormatTime, StrftimePatterns)
{
    SYSTEMTIME time{};
    time.wYear = 2024;
    time.wMonth = 9;
    time.wDayOfWeek = 3;
    time.wDay = 4;
    time.wHour = 9;
    time.wMinute = 5;
    time.wSecond = 7;
    const struct {
        const char* pszPattern;
        const char* pszExpected;
    } rows[] = {
        {"%Y%m%d01", "2024090401"},
        {"%Y%m%d%H%M%S", "20240904090507"},
        {"day %j, 100%%", "day 248, 100%"},
        {"%A%B%A%B%A%B", "WednesdaySeptemberWednesdaySeptemberWednesdaySeptember"}, // outgrows the first buffer
        {"%Q", ""},
        {"50%", ""},
        {"", ""},
    };
    for (const auto& row : rows)
        EXPECT_EQ(formatTime(row.pszPattern, time), row.pszExpected) << row.pszPattern;

    SYSTEMTIME now;
    GetLocalTime(&now);
    EXPECT_EQ(formatLocalTime("%Y").substr(0, 3), std::to_string(now.wYear).substr(0, 3));
}

TEST(InstallerTokens, ReplaceEveryOccurrenceOfTheChosenTokens)
{
    const InstallerLocations locations{"C:\\PF", "C:\\PF86", "C:\\CAD", "C:\\WIN\\temp", "C:\\WIN\\SYS"};
    const unsigned nOutputTokens = programFilesToken | programFilesX86Token | commonAppDataToken | windowsTempToken;
    EXPECT_EQ(expandInstallerTokens("##CPF##\\a;##CPF##\\b", locations, nOutputTokens), "C:\\PF\\a;C:\\PF\\b");
    EXPECT_EQ(expandInstallerTokens("##CPFX86##|##CAD##|##WT##|##WS##", locations, nOutputTokens),
              "C:\\PF86|C:\\CAD|C:\\WIN\\temp|##WS##");
    EXPECT_EQ(expandInstallerTokens("##WS##\\x", locations, systemDirectoryToken), "C:\\WIN\\SYS\\x");
    EXPECT_EQ(expandInstallerTokens("##cpf##|##CPFFC##|##TEMP##", locations, ~0u), "##cpf##|##CPFFC##|##TEMP##");

    EXPECT_EQ(productFolderOfValue("##CPFFC##", locations), "C:\\PF\\PageDesk");
    EXPECT_EQ(productFolderOfValue("##CADFC##\\more", locations), "C:\\CAD\\PageDesk");
    EXPECT_EQ(productFolderOfValue("x##CPFFC##", locations), "");
    EXPECT_EQ(productFolderOfValue("##cpffc##", locations), "");
}

TEST(InstallerTokens, SystemLocations)
{
    const InstallerLocations locations = InstallerLocations::fromSystem();
    EXPECT_FALSE(locations.programFiles64.empty());
    EXPECT_FALSE(locations.programFiles32.empty());
    EXPECT_FALSE(locations.commonAppData.empty());
    EXPECT_FALSE(locations.systemDirectory.empty());
    EXPECT_EQ(locations.windowsTemp.substr(locations.windowsTemp.size() - 5), "\\temp");
}

}
