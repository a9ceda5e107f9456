// The clipboard import: splitting, trimming and wrapping at 70.
#include <gtest/gtest.h>

#include "sources/clipboard_import.h"

using namespace glossira;
using Items = std::vector<std::string>;

namespace {

// `length` characters of 'x' with blanks at the given 1-based positions.
std::string Text(std::size_t length, std::initializer_list<std::size_t> blanks)
{
    std::string s(length, 'x');
    for (std::size_t at : blanks) s[at - 1] = ' ';
    return s;
}

std::vector<std::size_t> Lengths(const Items& items)
{
    std::vector<std::size_t> out;
    for (const auto& item : items) out.push_back(item.size());
    return out;
}

}  // namespace

TEST(ClipboardSplit, CrLfEndsLinesLoneCrAndLfJoinEmptyLinesVanish)
{
    EXPECT_EQ(SplitClipboardText("one\r\n\r\ntwo\r\n"), (Items{"one", "two"}));
    EXPECT_EQ(SplitClipboardText("one\ntwo\nthree"), Items{"onetwothree"});
    EXPECT_EQ(SplitClipboardText("a\rb\r\r\nc\r"), (Items{"ab", "c"}));
    EXPECT_EQ(SplitClipboardText("a\n\r\nb"), (Items{"a", "b"}));
    EXPECT_EQ(SplitClipboardText(""), Items{});
    EXPECT_EQ(SplitClipboardText("\r\n\r\n\n\r"), Items{});
    EXPECT_EQ(SplitClipboardText(std::string_view("ab\0cd\r\nef", 10)), Items{"ab"});
    EXPECT_EQ(SplitClipboardText("  \t x "), Items{"  \t x "});
}

TEST(ClipboardWrap, WorkedExamples)
{
    std::string every10 = Text(150, {10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120, 130, 140});
    Items pieces = WrapItem(every10);
    EXPECT_EQ(Lengths(pieces), (std::vector<std::size_t>{70, 70, 10}));
    EXPECT_EQ(pieces[0].back(), ' ');
    EXPECT_EQ(pieces[1].back(), ' ');

    EXPECT_EQ(Lengths(WrapItem(Text(100, {20, 50, 80}))), (std::vector<std::size_t>{50, 50}));
    EXPECT_EQ(Lengths(WrapItem(Text(100, {30, 85}))), (std::vector<std::size_t>{85, 15}));
    EXPECT_EQ(Lengths(WrapItem(Text(100, {}))), (std::vector<std::size_t>{100}));
    EXPECT_EQ(Lengths(WrapItem(Text(75, {75}))), (std::vector<std::size_t>{75}));
}

TEST(ClipboardWrap, CutBoundaries)
{
    EXPECT_EQ(Lengths(WrapItem(Text(70, {10}))), (std::vector<std::size_t>{70}));       // not longer than 70
    EXPECT_EQ(Lengths(WrapItem(Text(71, {31}))), (std::vector<std::size_t>{31, 40}));   // 31 counts
    EXPECT_EQ(Lengths(WrapItem(Text(71, {30, 71}))), (std::vector<std::size_t>{71}));   // 30 does not; cut at L
    EXPECT_EQ(Lengths(WrapItem(Text(72, {70, 71}))), (std::vector<std::size_t>{70, 2}));
    EXPECT_EQ(Lengths(WrapItem(Text(80, {71, 72}))), (std::vector<std::size_t>{71, 9}));
    // The tail is cut again: 150 characters with one blank at 100 give 100 + 50,
    // then a tail still longer than 70 without blanks stays whole.
    EXPECT_EQ(Lengths(WrapItem(Text(250, {100}))), (std::vector<std::size_t>{100, 150}));
    EXPECT_EQ(Lengths(WrapItem(Text(200, {100, 150}))), (std::vector<std::size_t>{100, 50, 50}));
    EXPECT_EQ(WrapItem(""), Items{""});
}

TEST(ClipboardImport, NoTextLeavesTheListUntouched)
{
    Items old{"   spaced", Text(100, {50})};
    EXPECT_EQ(ImportClipboard(old, std::nullopt), old);
    EXPECT_EQ(ImportClipboard({}, std::nullopt), Items{});
}

TEST(ClipboardImport, EveryItemIsTrimmedAndWrappedAndNewItemsFollow)
{
    Items first = ImportClipboard({}, "  alpha\r\n\t beta\r\n     \r\n" + Text(100, {20, 50, 80}) + "\r\n");
    EXPECT_EQ(Lengths(first), (std::vector<std::size_t>{5, 6, 0, 50, 50}));
    EXPECT_EQ(first[1], "\t beta");
    EXPECT_EQ(first[2], "");  // blanks only: an empty item that stays

    // Importing again keeps the wrapped items as they are and adds the new.
    Items second = ImportClipboard(first, " gamma");
    Items expected = first;
    expected.push_back("gamma");
    EXPECT_EQ(second, expected);

    // Text that yields no line still trims and wraps the old items.
    EXPECT_EQ(ImportClipboard({"  old"}, "\r\n"), Items{"old"});
    EXPECT_EQ(ImportClipboard({}, "\r\n"), Items{});
}

TEST(ClipboardImport, ManyLinesKeepEveryCharacterButLeadingBlanks)
{
    std::string text;
    for (int i = 0; i < 5000; ++i) text += "  line " + std::to_string(i) + " " + std::string(i % 200, 'y') + " z\r\n";
    Items items = ImportClipboard({}, text);
    std::size_t total = 0;
    for (const auto& item : items) {
        total += item.size();
        // Longer than 70 only when no blank stands at positions 31 to 70.
        if (item.size() > 70) {
            ASSERT_EQ(item.substr(30, 40).find(' '), std::string::npos) << item;
        }
    }
    std::size_t expected = 0;
    for (int i = 0; i < 5000; ++i) expected += ("line " + std::to_string(i) + " " + std::string(i % 200, 'y') + " z").size();
    EXPECT_EQ(total, expected);
}

TEST(ClipboardImport, HostileTexts)
{
    // Ten megabytes in one import: every line an item, every character kept.
    std::string line = "word " + std::string(60, 'w') + " " + std::string(40, 'v');  // 106 characters
    std::string text;
    while (text.size() < 10u << 20) text += line + "\r\n";
    std::size_t lines = text.size() / (line.size() + 2);
    Items items = ImportClipboard({"old"}, text);
    ASSERT_EQ(items.size(), 1 + 2 * lines);  // each line cut once, after its first blank beyond 70
    EXPECT_EQ(items[1] + items[2], line);
    EXPECT_EQ(items.back(), std::string(40, 'v'));

    // Carriage returns only are lone CRs: dropped, no item.
    EXPECT_EQ(ImportClipboard({}, std::string(100000, '\r')), Items{});
    EXPECT_EQ(ImportClipboard({"kept"}, std::string(7, '\r')), Items{"kept"});
    // Blanks only: one empty item, however many.
    EXPECT_EQ(ImportClipboard({}, std::string(1u << 20, ' ')), Items{""});
}
