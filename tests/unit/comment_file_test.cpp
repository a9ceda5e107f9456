#include <gtest/gtest.h>

#include "core/comment_file.h"
#include "core/error.h"

using namespace glossira;

TEST(CommentFile, LineEndsBecomeCrLf)
{
    EXPECT_EQ(NormalizeLineEnds("a\nb\rc\r\nd"), "a\r\nb\r\nc\r\nd");
    EXPECT_EQ(NormalizeLineEnds("\r\r\n\n"), "\r\n\r\n\r\n");
    EXPECT_EQ(NormalizeLineEnds(""), "");
    EXPECT_EQ(NormalizeLineEnds("a\r"), "a\r\n");
    EXPECT_EQ(NormalizeLineEnds("x\x1Ay"), "x\x1Ay");
}

TEST(CommentFile, ComposeAppendsListOnNewLines)
{
    EXPECT_EQ(ComposeComment("", {}), "");
    EXPECT_EQ(ComposeComment("text", {"1", "2"}), "text\r\n1\r\n2\r\n");
    EXPECT_EQ(ComposeComment("text\r\n", {"1"}), "text\r\n1\r\n");
    EXPECT_EQ(ComposeComment("", {"1"}), "1\r\n");
    EXPECT_EQ(ComposeComment("a\r\nb", {}), "a\r\nb");
    EXPECT_EQ(ComposeComment("a", {""}), "a\r\n\r\n");
}

TEST(CommentFile, NulBytesSurviveTheControl)
{
    std::string bytes("a\0b\xE0", 4);
    std::u16string shown = ToControlText(bytes);
    EXPECT_EQ(shown.size(), 4u);
    EXPECT_EQ(shown[1], char16_t(0x2400));
    EXPECT_EQ(FromControlText(shown), bytes);
    EXPECT_THROW(FromControlText(u"\u4e2d"), Error);
}
