#include <gtest/gtest.h>

#include <set>

#include "core/command_line.h"
#include "core/cp1251.h"
#include "core/messages.h"
#include "core/selection.h"

using namespace glossira;

namespace {

struct Disk {
    std::set<std::string> present;
    PathExistsFn Exists()
    {
        return [this](const std::string& p) { return present.count(p) != 0; };
    }
};

}  // namespace

TEST(Selection, FullPathPiecesAreASelectionUnlessTheirJoinedTextNamesSomething)
{
    Disk disk{{"C:\\a", "C:\\b c", "C:\\d"}};
    auto paths = SelectionPieces(SplitCommandLine(u"g.exe \"C:\\a\"  \"C:\\b c\" C:\\d"), disk.Exists());
    ASSERT_TRUE(paths);
    EXPECT_EQ(*paths, (std::vector<std::u16string>{u"C:\\a", u"C:\\b c", u"C:\\d"}));
    // A missing piece or a name beyond Windows-1251 keeps it a selection.
    EXPECT_TRUE(SelectionPieces(SplitCommandLine(u"g.exe C:\\a C:\\gone C:\\d"), disk.Exists()));
    EXPECT_TRUE(SelectionPieces(SplitCommandLine(u"g.exe C:\\a C:\\caf\u00e9 C:\\d"), disk.Exists()));
    EXPECT_TRUE(SelectionPieces(SplitCommandLine(u"g.exe C:\\a \\\\srv\\s"), disk.Exists()));

    // One path: a single piece, or unquoted pieces that are not all full paths.
    EXPECT_FALSE(SelectionPieces(SplitCommandLine(u"g.exe C:\\a"), disk.Exists()));
    EXPECT_FALSE(SelectionPieces(SplitCommandLine(u"g.exe"), disk.Exists()));
    EXPECT_FALSE(SelectionPieces(SplitCommandLine(u"g.exe C:\\My Files\\a.zip"), disk.Exists()));
    EXPECT_FALSE(SelectionPieces(SplitCommandLine(u"g.exe C:\\a rel"), disk.Exists()));
    disk.present.insert("C:\\a C:\\d");  // the joined text names something
    EXPECT_FALSE(SelectionPieces(SplitCommandLine(u"g.exe C:\\a C:\\d"), disk.Exists()));
}

TEST(Selection, EachPathIsJudgedOnItsOwn)
{
    Disk disk{{"D:\\dl\\a.zip", "D:\\dl\\b.zip", "D:\\dl\\sub", "rel.zip"}};
    auto judged = JudgeSelection({u"D:\\dl\\a.zip", u"D:\\dl\\caf\u00e9.zip", u"D:\\dl\\gone.zip", u" \"D:\\dl\\sub\" ",
                                  u"rel.zip", u"D:\\dl\\b.zip"},
                                 disk.Exists());
    EXPECT_EQ(judged.usable, (std::vector<std::string>{"D:\\dl\\a.zip", "D:\\dl\\sub", "D:\\dl\\b.zip"}));
    ASSERT_EQ(judged.skipped.size(), 3u);
    EXPECT_EQ(judged.skipped[0].path, u"D:\\dl\\caf\u00e9.zip");
    EXPECT_EQ(judged.skipped[0].reason, SkipReason::Beyond1251);
    EXPECT_EQ(judged.skipped[1].path, u"D:\\dl\\gone.zip");
    EXPECT_EQ(judged.skipped[1].reason, SkipReason::NotFound);
    EXPECT_EQ(judged.skipped[2].reason, SkipReason::NotFound);  // a relative path hangs on the current folder

    // Named as they are, one to a line; beyond the named ones, a count.
    const std::u16string text = SkippedMessage(judged.skipped);
    EXPECT_EQ(text.substr(0, text.find(u'\n')), ToUtf16(msg::SkippedFiles()));
    EXPECT_NE(text.find(u"\nD:\\dl\\caf\u00e9.zip \u2014 " + ToUtf16(msg::SkippedBeyond1251())), std::u16string::npos);
    EXPECT_NE(text.find(u"\nD:\\dl\\gone.zip \u2014 " + ToUtf16(msg::SkippedNotFound())), std::u16string::npos);
    const std::u16string huge = u"C:\\" + std::u16string(40000, u'x') + u"\\end.zip";
    EXPECT_NE(SkippedMessage({{huge, SkipReason::NotFound}}).find(u"C:\\xx"), std::u16string::npos);
    EXPECT_LT(SkippedMessage({{huge, SkipReason::NotFound}}).size(), 2 * kShownPathChars);
    EXPECT_NE(SkippedMessage({{huge, SkipReason::NotFound}}).find(u"x\u2026x"), std::u16string::npos);
    EXPECT_NE(SkippedMessage({{huge, SkipReason::NotFound}}).find(u"x\\end.zip \u2014"), std::u16string::npos);
    std::vector<SkippedPath> many(kNamedSkips + 5, {u"C:\\x", SkipReason::NotFound});
    const std::u16string long_ = SkippedMessage(many);
    EXPECT_EQ(std::count(long_.begin(), long_.end(), u'\n'), static_cast<long>(kNamedSkips + 1));
    EXPECT_EQ(long_.substr(long_.rfind(u'\n') + 1), ToUtf16(FromUtf8("и ещё 5")));
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
