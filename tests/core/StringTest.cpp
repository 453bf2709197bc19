#include "core/String.h"

#include <gtest/gtest.h>

using velmo::core::String;

TEST(String, DefaultIsNull)
{
    String text;
    EXPECT_EQ(text.getBuffer(), nullptr);
    EXPECT_EQ(text.getLength(), 0);
    EXPECT_TRUE(text.isEmpty());
    text.append("a");
    EXPECT_STREQ(text.getBuffer(), "a");
}
