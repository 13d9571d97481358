#include <gtest/gtest.h>

#include "resources/strings.h"

TEST(StringTable, KnownIdsKeepTheirTextsExactly)
{
    EXPECT_EQ(loadString(1106), "Sq. Drives spuerbly to");
    EXPECT_EQ(loadString(110).substr(0, 1), " ");
    EXPECT_EQ(loadString(961), " won the toss.");
}

TEST(StringTable, UnknownIdGivesEmptyText)
{
    EXPECT_EQ(loadString(0), "");
    EXPECT_EQ(loadString(1125), "");
    EXPECT_EQ(loadString(-1), "");
    EXPECT_EQ(loadString(99999), "");
}
