#include "core/TextAlign.h"
#include "support/TestSupport.h"

TEST(TextAlignTest, CutsAndPads)
{
    EXPECT_EQ(LeftAlign("abc", 5), "abc  ");
    EXPECT_EQ(RightAlign("abc", 5), "  abc");
    EXPECT_EQ(LeftAlign("abcdef", 4), "abcd");
    EXPECT_EQ(RightAlign("abcdef", 4), "abcd");
}
