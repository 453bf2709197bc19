#include "util/Locations.h"
#include "util/Paths.h"

#include <gtest/gtest.h>

using namespace velmo::util;

namespace {

struct NormalizeCase {
    const char* pszPath;
    const char* pszBase;
    const char* pszExpected;
};

const NormalizeCase normalizeCases[] = {
    {"file:///C:/Data/x.tif", "", "C:\\Data\\x.tif"},
    {"..\\out", "C:\\a\\b", "C:\\a\\out"},
    {"..\\..\\out", "C:\\a\\b", "C:\\a\\..\\out"}, // only one level is resolved
    {"..", "C:\\a\\b", "C:\\a"},
    {"\\out", "D:\\x\\y", "D:\\out"},
    {"\\\\\\out", "D:\\x\\y\\z", "D:\\x\\out"},
    {"\\\\\\out", "D:", "D:\\out"},
    {"\\\\srv/share/dir/", "C:\\any", "\\\\srv\\share\\dir"},
    {"\\out", "\\\\srv\\share\\x", "\\\\srv\\share\\out"},
    {"sub\\", "C:\\x\\", "C:\\x\\sub"},
    {"\\sub\\", "  C:\\x  ", "C:\\sub"},
    {".\\a\\b", "C:\\x", "C:\\x\\a\\b"},
    {".", "C:\\x", "C:\\x"},
    {".profile", "C:\\x", "C:\\x\\.profile"},
    {"..name", "C:\\x", "C:\\x\\..name"},
    {"\\\\?\\C:\\long\\", "C:\\x", "C:\\long"},
    {"\\\\?\\c:/mixed/", "C:\\x", "c:\\mixed"},
    {"C://double", "C:\\x", "C:\\double"},
    {"  \t C:\\trim\\me \r\n", "C:\\x", "C:\\trim\\me"},
    {"C:\\", "D:\\x", "C:"},
    {"   ", "C:\\x", "   "},
    {"", "C:\\x", ""},
};

class NormalizePath : public ::testing::TestWithParam<NormalizeCase> {};

TEST_P(NormalizePath, GivesTheAbsolutePath)
{
    const NormalizeCase& row = GetParam();
    EXPECT_EQ(normalizePath(row.pszPath, row.pszBase), row.pszExpected);
}

INSTANTIATE_TEST_SUITE_P(Rules, NormalizePath, ::testing::ValuesIn(normalizeCases));

TEST(NormalizePathAgainstCurrentDirectory, BlankOrRelativeBaseStartsFromTheCurrentDirectory)
{
    const std::string current = currentDirectory();
    ASSERT_FALSE(current.empty());
    EXPECT_EQ(normalizePath("name"), current + "\\name");
    EXPECT_EQ(normalizePath("name", " \t"), current + "\\name");
    EXPECT_EQ(normalizePath("name", "rel\\"), current + "\\rel\\name");
    EXPECT_EQ(normalizePath("\\top", "rel"), current.substr(0, 2) + "\\top");
}

TEST(NormalizePathLong, KeepsPathsBeyondTheSystemLimit)
{
    const std::string name(300, 'n');
    EXPECT_EQ(normalizePath(name + "\\", "C:\\x"), "C:\\x\\" + name);
    EXPECT_EQ(normalizePath("..\\" + name, "C:\\" + name + "\\y"), "C:\\" + name + "\\" + name);
}

TEST(DirectoryOfPath, CutsAtTheLastBackslashAndKeepsTheDriveRoot)
{
    EXPECT_EQ(directoryOfPath("C:\\a\\b.txt"), "C:\\a");
    EXPECT_EQ(directoryOfPath("C:\\x"), "C:\\");
    EXPECT_EQ(directoryOfPath("C:/a/b/"), "C:\\a");
    EXPECT_EQ(directoryOfPath("\\\\srv\\share\\f.txt"), "\\\\srv\\share");
}

TEST(SplitRoot, SeparatesDriveOrShareFromTheRest)
{
    const struct {
        const char* pszPath;
        const char* pszRoot;
        const char* pszRest;
    } rows[] = {
        {"C:\\a\\b", "C:", "a\\b"},
        {"C:", "C:", ""},
        {"\\\\srv\\share\\a\\b", "\\\\srv\\share", "a\\b"},
        {"\\\\srv\\share", "\\\\srv\\share", ""},
        {"relative\\x", "", "relative\\x"},
    };
    for (const auto& row : rows) {
        const PathRoot parts = splitRoot(row.pszPath);
        EXPECT_EQ(parts.root, row.pszRoot) << row.pszPath;
        EXPECT_EQ(parts.rest, row.pszRest) << row.pszPath;
    }
}

TEST(ExtensionStart, LooksOnlyAtTheFileName)
{
    EXPECT_EQ(extensionStart("C:\\a\\b.txt"), 6u);
    EXPECT_EQ(extensionStart("C:\\a.dir\\b"), std::string::npos);
    EXPECT_EQ(extensionStart("b"), std::string::npos);
}

}
