#include <gtest/gtest.h>

#include "core/command_line.h"
#include "core/cp1251.h"
#include "core/error.h"

using namespace glossira;

namespace {
std::string Target(std::u16string_view raw) { return JoinTarget(SplitCommandLine(raw)); }
}

TEST(CommandLine, SplitsOnControlCharactersAndQuotes)
{
    auto p = SplitCommandLine(u"\"C:\\Program Files\\g.exe\"  a\tb\x01""c \"d e\"f");
    ASSERT_EQ(p.size(), 5u);
    EXPECT_EQ(p[0], u"C:\\Program Files\\g.exe");
    EXPECT_EQ(p[1], u"a");
    EXPECT_EQ(p[2], u"b");
    EXPECT_EQ(p[3], u"c");
    EXPECT_EQ(p[4], u"d ef");
    EXPECT_TRUE(SplitCommandLine(u"").empty());
    EXPECT_EQ(SplitCommandLine(u"g.exe \"\" x").size(), 2u);  // "" makes no piece
    EXPECT_EQ(SplitCommandLine(u"g.exe \"unterminated run").back(), u"unterminated run");
}

TEST(CommandLine, JoinsUnquotedPiecesWithSingleBlanks)
{
    EXPECT_EQ(Target(u"g.exe D:\\My Files\\a.zip"), "D:\\My Files\\a.zip");
    EXPECT_EQ(Target(u"g.exe \"D:\\My Files\\a.zip\""), "D:\\My Files\\a.zip");
    EXPECT_EQ(Target(u"g.exe D:\\My    Files\\a.zip"), "D:\\My Files\\a.zip");
    EXPECT_EQ(Target(u"g.exe"), "");
    EXPECT_EQ(Target(u"g.exe \"  D:\\a.zip  \""), "D:\\a.zip");
    EXPECT_EQ(Target(u"\"C:\\x y\\g.exe\" D:\\\u0430.zip"), FromUtf8("D:\\а.zip"));
}

TEST(CommandLine, UsesAtMostAHundredPieces)
{
    std::u16string raw = u"g.exe";
    for (int i = 1; i <= 150; ++i) raw += u" p";
    std::string joined = Target(raw);
    EXPECT_EQ(joined.size(), 100u * 2 - 1);
}

TEST(CommandLine, CharacterOutsideWindows1251IsAnError)
{
    EXPECT_THROW(Target(u"g.exe D:\\\u4e2d.zip"), Error);
}
