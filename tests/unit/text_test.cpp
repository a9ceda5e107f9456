#include <gtest/gtest.h>

#include "core/text.h"

using namespace glossira;

TEST(Fields, CountFollowsSeparators)
{
    EXPECT_EQ(CountFields("", ';'), 0);
    EXPECT_EQ(CountFields(";", ';'), 2);
    EXPECT_EQ(CountFields("abc", ';'), 1);
    EXPECT_EQ(CountFields("reget.log;descript.ion;", ';'), 3);
}
