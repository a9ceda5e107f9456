#include <gtest/gtest.h>

#include <set>

#include "core/command_line.h"
#include "core/selection.h"

using namespace glossira;

TEST(Selection, PiecesAreSeparatedOnlyWhenEachExistsAndTheJoinedTextDoesNot)
{
    std::set<std::string> present{"C:\\a", "C:\\b c", "C:\\d"};
    auto exists = [&](const std::string& p) { return present.count(p) != 0; };
    auto pieces = SplitCommandLine(u"g.exe \"C:\\a\"  \"C:\\b c\" C:\\d");
    auto paths = SeparatePaths(pieces, exists);
    ASSERT_TRUE(paths);
    EXPECT_EQ(*paths, (std::vector<std::u16string>{u"C:\\a", u"C:\\b c", u"C:\\d"}));

    EXPECT_FALSE(SeparatePaths(SplitCommandLine(u"g.exe C:\\a"), exists));       // one piece
    EXPECT_FALSE(SeparatePaths(SplitCommandLine(u"g.exe C:\\a C:\\x"), exists));  // one missing
    EXPECT_FALSE(SeparatePaths(SplitCommandLine(u"g.exe"), exists));
    present.insert("rel");  // a relative piece would depend on the current folder
    EXPECT_FALSE(SeparatePaths(SplitCommandLine(u"g.exe C:\\a rel"), exists));
    present.insert("\\\\srv\\s");
    EXPECT_TRUE(SeparatePaths(SplitCommandLine(u"g.exe C:\\a \\\\srv\\s"), exists));
    present.insert("C:\\a C:\\d");  // the joined text names something
    EXPECT_FALSE(SeparatePaths(SplitCommandLine(u"g.exe C:\\a C:\\d"), exists));
}

TEST(Selection, PieceTargetsAreTrimmedLikeTheJoinedText)
{
    EXPECT_EQ(PieceTarget(u"  C:\\a b\\c.zip "), "C:\\a b\\c.zip");
    std::set<std::string> seen;
    auto record = [&](const std::string& p) {
        seen.insert(p);
        return p != "C:\\x C:\\y";
    };
    EXPECT_TRUE(SeparatePaths(SplitCommandLine(u"g.exe \" C:\\x\" \"C:\\y \""), record));
    EXPECT_TRUE(seen.count("C:\\x") && seen.count("C:\\y"));
}

TEST(Selection, QuotedCommandLineSplitsBackIntoTheSameArgumentsWithinTheLimit)
{
    const std::vector<std::u16string> args{u"/copyto", u"D:\\", u"C:\\My Files\\a.zip", u"\\\\server\\share\\b c"};
    const auto line = QuotedCommandLine(u"C:\\Program Files\\g\\glossira.exe", args);
    ASSERT_TRUE(line);
    auto pieces = SplitCommandLine(*line);
    ASSERT_EQ(pieces.size(), 5u);
    EXPECT_EQ(pieces[0], u"C:\\Program Files\\g\\glossira.exe");
    EXPECT_EQ(std::vector<std::u16string>(pieces.begin() + 1, pieces.end()), args);

    EXPECT_EQ(QuotedCommandLine(u"p", {u"ab", u"cd"}, 13), u"\"p\" \"ab\" \"cd\"");
    EXPECT_FALSE(QuotedCommandLine(u"p", {u"ab", u"cd"}, 12));
    EXPECT_FALSE(QuotedCommandLine(u"p", {std::u16string(kMaxCommandLine, u'z')}));
    EXPECT_EQ(QuotedCommandLine(u"p", {}), u"\"p\"");
}
