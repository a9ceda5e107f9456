#include <gtest/gtest.h>

#include <set>

#include "core/command_line.h"
#include "core/selection.h"

using namespace glossira;

namespace {

std::vector<std::u16string> Args(const std::u16string& line)
{
    auto pieces = SplitCommandLine(line);
    return {pieces.begin() + 1, pieces.end()};
}

}  // namespace

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

TEST(Selection, QuotedCommandLineSplitsBackIntoTheSameArguments)
{
    const std::vector<std::u16string> args{u"C:\\My Files\\a.zip", u"D:\\", u"\\\\server\\share\\b c", u"C:\\x\\"};
    const auto lines = QuotedCommandLines(u"C:\\Program Files\\g\\glossira.exe", args);
    ASSERT_EQ(lines.size(), 1u);
    const std::u16string& line = lines.front();
    EXPECT_EQ(line.substr(0, 36), u"\"C:\\Program Files\\g\\glossira.exe\" \"C");
    auto pieces = SplitCommandLine(line);
    ASSERT_EQ(pieces.size(), 5u);
    EXPECT_EQ(pieces[0], u"C:\\Program Files\\g\\glossira.exe");
    EXPECT_EQ(std::vector<std::u16string>(pieces.begin() + 1, pieces.end()), args);
}

TEST(Selection, ManyArgumentsAreSpreadOverCommandLinesWithinTheLimit)
{
    std::vector<std::u16string> args;
    for (int i = 0; i < 1000; ++i) args.push_back(u"C:\\folder\\file-" + std::u16string(40, u'x') + u".zip");
    auto lines = QuotedCommandLines(u"C:\\g.exe", args);
    ASSERT_GE(lines.size(), 2u);
    std::vector<std::u16string> back;
    for (const auto& line : lines) {
        EXPECT_LE(line.size(), kMaxCommandLine);
        auto more = Args(line);
        EXPECT_FALSE(more.empty());
        back.insert(back.end(), more.begin(), more.end());
    }
    EXPECT_EQ(back, args);

    // Exactly at the limit, and one argument that fits in no line.
    auto tight = QuotedCommandLines(u"p", {u"ab", u"cd"}, 12);  // "p" "ab" "cd" = 13
    EXPECT_EQ(tight, (std::vector<std::u16string>{u"\"p\" \"ab\"", u"\"p\" \"cd\""}));
    EXPECT_EQ(QuotedCommandLines(u"p", {u"ab", u"cd"}, 13), (std::vector<std::u16string>{u"\"p\" \"ab\" \"cd\""}));
    EXPECT_EQ(QuotedCommandLines(u"p", {std::u16string(20, u'z'), u"a"}, 12),
              (std::vector<std::u16string>{u"\"p\" \"a\""}));
    EXPECT_TRUE(QuotedCommandLines(u"p", {}).empty());
}
