#include "tests/util/ScratchDirectory.h"
#include "util/IniFile.h"

#include <gtest/gtest.h>

using namespace velmo::util;
using velmo::util::test::writeText;

namespace {

class IniFileTest : public ::testing::Test {
protected:
    test::ScratchDirectory scratch;
    IniFile ini;

    void SetUp() override
    {
        writeText(scratch / "main.ini", "[config]\r\nboth=main\r\nmainOnly=m\r\nnumber=12.9\r\nnegative=-3.7\r\n"
                                        "word=abc\r\nhuge=1e30\r\n");
        writeText(scratch / "override.ini", "[config]\r\nboth=override\r\noverrideOnly=o\r\n");
    }

    std::string read(const char* pszKey, const char* pszDefault = "dflt", ResultCode expected = code::success)
    {
        std::string value = "stale";
        EXPECT_EQ(ini.readString("config", pszKey, pszDefault, value), expected) << pszKey;
        return value;
    }
};

TEST_F(IniFileTest, SetFileAddsTheExtensionAndChecksTheFile)
{
    EXPECT_EQ(ini.setFile(scratch / "main"), code::success);
    EXPECT_EQ(ini.getFile(), scratch / "main.ini");
    EXPECT_EQ(ini.setFile(scratch / "absent.cfg"), code::iniFileMissing);
    EXPECT_EQ(ini.getFile(), scratch / "absent.cfg");
    EXPECT_EQ(read("both"), "dflt");
}

TEST_F(IniFileTest, OverrideFileSuppliesTheDefaultOfTheMainFile)
{
    ASSERT_EQ(ini.setFile(scratch / "main.ini"), code::success);
    ini.setOverrideFile(scratch / "override.ini");
    EXPECT_EQ(read("both"), "main");
    EXPECT_EQ(read("mainOnly"), "m");
    EXPECT_EQ(read("overrideOnly"), "o");
    EXPECT_EQ(read("neither"), "dflt");
    EXPECT_EQ(read("neither", nullptr), "");
}

TEST_F(IniFileTest, RefusalsStillGiveTheDefault)
{
    EXPECT_EQ(read("both", "dflt", code::iniNoMainFile), "dflt");
    ini.setOverrideFile(scratch / "override.ini");
    EXPECT_EQ(read("both", "dflt", code::iniNoMainFile), "override");
    ASSERT_EQ(ini.setFile(scratch / "main.ini"), code::success);
    EXPECT_EQ(read("", "dflt", code::iniKeyEmpty), "dflt");
}

TEST_F(IniFileTest, LongValuesAreReadUpToTheGivenLength)
{
    const std::string longValue(3000, 'v');
    writeText(scratch / "long.ini", "[config]\r\nlong=" + longValue + "\r\n");
    ASSERT_EQ(ini.setFile(scratch / "long.ini"), code::success);
    std::string value;
    EXPECT_EQ(ini.readString("config", "long", "", value, 10), code::success);
    EXPECT_EQ(value, longValue.substr(0, IniFile::minimumReadSize - 1));
    EXPECT_EQ(ini.readString("config", "long", "", value, 4096), code::success);
    EXPECT_EQ(value, longValue);
}

TEST_F(IniFileTest, ReadIntTruncatesTowardsZero)
{
    ASSERT_EQ(ini.setFile(scratch / "main.ini"), code::success);
    EXPECT_EQ(ini.readInt("config", "number", 7), 12);
    EXPECT_EQ(ini.readInt("config", "negative", 7), -3);
    EXPECT_EQ(ini.readInt("config", "word", 7), 0);
    EXPECT_EQ(ini.readInt("config", "huge", 7), INT_MAX);
    EXPECT_EQ(ini.readInt("config", "missing", -42), -42);
    EXPECT_EQ(ini.readInt("config", "", 5), 5);
    IniFile withoutFile;
    EXPECT_EQ(withoutFile.readInt("config", "number", 9), 9);
}

TEST_F(IniFileTest, NullKeyListsTheSection)
{
    ASSERT_EQ(ini.setFile(scratch / "override.ini"), code::success);
    std::string names;
    EXPECT_EQ(ini.readString("config", nullptr, "", names), code::success);
    EXPECT_EQ(names, std::string("both\0overrideOnly\0", 18));
}

}
