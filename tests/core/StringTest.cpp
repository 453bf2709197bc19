#include "core/String.h"
#include "core/collections.ObjectArray.h"
#include "core/collections.SimpleTypeArray.h"
#include "core/exception.BaseException.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using velmo::core::String;
using velmo::core::collections::ObjectArray;
using velmo::core::collections::SimpleTypeArray;

TEST(String, NullStateAndAssignment)
{
    String text;
    EXPECT_EQ(text.getBuffer(), nullptr);
    EXPECT_EQ(text.getLength(), 0);
    EXPECT_TRUE(text.isEmpty());
    text.append("a");
    EXPECT_STREQ(text.getBuffer(), "a");

    text = static_cast<const char*>(nullptr);
    EXPECT_EQ(text.getBuffer(), nullptr);

    EXPECT_STREQ(String(-45).getBuffer(), "-45");
    EXPECT_STREQ(String(0).getBuffer(), "0");
    EXPECT_STREQ(String(INT32_MIN).getBuffer(), "-2147483648");

    String empty("");
    EXPECT_NE(empty.getBuffer(), nullptr);
    EXPECT_TRUE(empty.isEmpty());
}

TEST(String, SetLengthGrowsInStepsAndFills)
{
    String text("a");
    EXPECT_EQ(text.getCapacity(), 31);
    text.setLength(3, 'x');
    EXPECT_STREQ(text.getBuffer(), "axx");
    text.setLength(32);
    EXPECT_EQ(text.getCapacity(), 63);
    EXPECT_EQ(String("abcdefghijklmnopqrstuvwxyz01234").getCapacity(), 63);

    String shrink("abc");
    shrink.setLength(1);
    EXPECT_STREQ(shrink.getBuffer(), "a");
    EXPECT_EQ(shrink.getBuffer()[2], 0);
}

TEST(String, AppendsOwnText)
{
    String text("abcdefghijklmnopqrstuvwxyz0123");
    text.append(text.getBuffer() + 1);
    EXPECT_STREQ(text.getBuffer(), "abcdefghijklmnopqrstuvwxyz0123bcdefghijklmnopqrstuvwxyz0123");
    text.assign(text.getBuffer() + 2, 3);
    EXPECT_STREQ(text.getBuffer(), "cde");
}

TEST(String, Searching)
{
    String text("abcabc");
    EXPECT_EQ(text.indexOf("bc", 0), 1);
    EXPECT_EQ(text.indexOf("bc", 2), 4);
    EXPECT_EQ(text.indexOf("", 0), -1);
    EXPECT_EQ(text.indexOf(nullptr, 0), -1);
    EXPECT_EQ(text.lastIndexOf('a', -1), 3);
    EXPECT_EQ(text.lastIndexOf('a', 2), 0);
    EXPECT_EQ(text.lastIndexOf("bc", -1), 4);
    EXPECT_EQ(text.lastIndexOf("bc", 3), 1);
    EXPECT_EQ(text.lastIndexOf('z', -1), -1);
    EXPECT_TRUE(text.startsWith("ab"));
    EXPECT_TRUE(text.endsWith("c"));
    EXPECT_FALSE(text.endsWith("b"));
    EXPECT_EQ(text.charAt(6), 0);
    text.setCharAt(6, 'z');
    EXPECT_STREQ(text.getBuffer(), "abcabc");
}

TEST(String, Editing)
{
    String text("a-b-c");
    text.replace("-", "--", 0);
    EXPECT_STREQ(text.getBuffer(), "a--b--c");
    text.replace("--", "", 2);
    EXPECT_STREQ(text.getBuffer(), "a--bc");

    String insert("abc");
    insert.insert(1, "XY", false);
    EXPECT_STREQ(insert.getBuffer(), "aXYbc");
    insert.insert(0, "Z", true);
    EXPECT_STREQ(insert.getBuffer(), "ZXYbc");

    String pad("42");
    pad.padLeft('0', 5);
    EXPECT_STREQ(pad.getBuffer(), "00042");

    String null;
    null.trim();
    EXPECT_TRUE(null.isNull());

    String blanks(" \t\r\nmiddle \n");
    blanks.trimRight();
    EXPECT_STREQ(blanks.getBuffer(), " \t\r\nmiddle");
    blanks.trim();
    EXPECT_STREQ(blanks.getBuffer(), "middle");

    String upper("ab-z\xe4");
    upper.toUpper();
    EXPECT_STREQ(upper.getBuffer(), "AB-Z\xe4");

    String part;
    String("hello").substring(1, 3, part);
    EXPECT_STREQ(part.getBuffer(), "ell");
    String("hello").substring(2, part);
    EXPECT_STREQ(part.getBuffer(), "llo");
    String("hello").substring(3, 99, part);
    EXPECT_STREQ(part.getBuffer(), "lo");
}

TEST(String, Compare)
{
    EXPECT_EQ(String::compare("abc", "abd"), -1);
    EXPECT_EQ(String::compare("abc", "ab"), 1);
    EXPECT_EQ(String::compare(nullptr, ""), 0);
    EXPECT_EQ(String::compare("\xff", "a"), 1);
    EXPECT_TRUE(String::isEmpty(nullptr));
    EXPECT_EQ(String::getLength(nullptr), 0);
}

struct FormatCase {
    double dValue;
    std::int32_t nBufferSize;
    std::int32_t nDecimals;
    const char* pszExpected;
};

TEST(String, FormatNumberCutsDigits)
{
    const FormatCase cases[] = {
        {2.5, 32, 2, "2.50"},
        {0.129, 32, 2, "0.12"},
        {-45, 32, 0, "-45"},
        {612, 32, 0, "612"},
        {-0.5, 32, 3, "-0.500"},
        {123456, 7, 0, "123456"},
        {1234567, 7, 0, "old"},   // seven digits and the zero byte need eight
        {-123456, 7, 0, "old"},   // the sign needs room too
        {12.25, 5, 1, "12.2"},    // four characters and the zero byte
        {12.25, 5, 2, "old"},
        {12.25, 6, 2, "12.25"},
        {1e300 * 1e10, 32, 0, "old"},
    };
    for (const FormatCase& test : cases) {
        char szBuffer[40];
        std::memset(szBuffer, 0, sizeof szBuffer);
        std::strcpy(szBuffer, "old");
        String::formatNumber(test.dValue, szBuffer, test.nBufferSize, test.nDecimals);
        EXPECT_STREQ(szBuffer, test.pszExpected) << test.dValue << " size " << test.nBufferSize;
    }
    char szUntouched[4] = "abc";
    String::formatNumber(5, szUntouched, 0, 0);
    EXPECT_STREQ(szUntouched, "abc");
}

TEST(String, ParseNumber)
{
    const std::pair<const char*, double> cases[] = {
        {"12.5", 12.5}, {" 1 2 ", 12}, {"+7", 7}, {"3-", -3}, {"-0.25", -0.25},
        {"2E3", 2000}, {"5EXP-1", 0.5}, {"1.5x9", 1.5}, {"", 0}, {"abc", 0},
    };
    for (const auto& [pszText, dExpected] : cases)
        EXPECT_DOUBLE_EQ(String::parseNumber(pszText), dExpected) << pszText;
    EXPECT_EQ(String::parseNumber(nullptr), 0);
}

std::vector<std::string> splitToVector(const char* pszText, const char* pszSeparator, bool bIgnoreTrailing)
{
    ObjectArray<String> pieces;
    String::split(pszText, pszSeparator, bIgnoreTrailing, pieces);
    std::vector<std::string> result;
    for (std::int32_t i = 0; i < pieces.getCount(); ++i)
        result.emplace_back(pieces.getItem(i)->getBuffer());
    return result;
}

TEST(String, Split)
{
    using Pieces = std::vector<std::string>;
    EXPECT_EQ(splitToVector("a,b,,c", ",", false), (Pieces{"a", "b", "", "c"}));
    EXPECT_EQ(splitToVector("a,b,", ",", false), (Pieces{"a", "b", ""}));
    EXPECT_EQ(splitToVector("a,b,", ",", true), (Pieces{"a", "b"}));
    EXPECT_EQ(splitToVector("a::b", "::", false), (Pieces{"a", "b"}));
    EXPECT_EQ(splitToVector("abc", ",", false), (Pieces{"abc"}));
}

TEST(String, ParseNumberList)
{
    SimpleTypeArray<std::int32_t> numbers;
    String::parseNumberList("1,3-5, 8 ", numbers);
    std::vector<std::int32_t> values(numbers.getData(), numbers.getData() + numbers.getCount());
    EXPECT_EQ(values, (std::vector<std::int32_t>{1, 3, 4, 5, 8}));

    SimpleTypeArray<std::int32_t> huge;
    EXPECT_THROW(String::parseNumberList("1-2000000000", huge), velmo::core::exception::BaseException);
    EXPECT_THROW(String::parseNumberList("0-600000,0-600000", huge), velmo::core::exception::BaseException);
}
