#include <gtest/gtest.h>

#include <cstdint>

#include "core/drop_files.h"
#include "utf16_bytes.h"

using namespace glossira;

namespace {

std::string Header(std::uint32_t start, bool wide)
{
    std::string h(20, '\0');
    for (int i = 0; i < 4; ++i) h[static_cast<std::size_t>(i)] = static_cast<char>(start >> (8 * i));
    h[16] = wide ? 1 : 0;
    return h;
}

}  // namespace

TEST(DropFiles, WideNamesOfAnyLengthInOrder)
{
    const std::u16string longName = u"C:\\" + std::u16string(40000, u'я') + u".zip";
    std::string block = Header(20, true) + test::Utf16LeBytes(u"C:\\a.zip") + std::string(2, '\0') + test::Utf16LeBytes(longName) +
                        std::string(4, '\0');
    auto list = ParseDropFiles(block);
    ASSERT_TRUE(list);
    EXPECT_TRUE(list->wide);
    ASSERT_EQ(list->paths.size(), 2u);
    EXPECT_EQ(list->paths[0], u"C:\\a.zip");
    EXPECT_EQ(list->paths[1], longName);

    // Names start where the header says, after any gap.
    std::string gap = Header(24, true) + "xxxx" + test::Utf16LeBytes(u"D:\\b") + std::string(4, '\0');
    EXPECT_EQ(ParseDropFiles(gap)->paths, (std::vector<std::u16string>{u"D:\\b"}));
}

TEST(DropFiles, AnsiNames)
{
    std::string block = Header(20, false) + "C:\\a.zip" + '\0' + "C:\\b c.zip" + '\0' + '\0';
    auto list = ParseDropFiles(block);
    ASSERT_TRUE(list);
    EXPECT_FALSE(list->wide);
    EXPECT_EQ(list->narrow, (std::vector<std::string>{"C:\\a.zip", "C:\\b c.zip"}));
    EXPECT_TRUE(list->paths.empty());
}

TEST(DropFiles, DamagedBlocksNeverReadBeyondTheirEnd)
{
    EXPECT_FALSE(ParseDropFiles(""));
    EXPECT_FALSE(ParseDropFiles(std::string(19, '\0')));
    EXPECT_FALSE(ParseDropFiles(Header(21, true)));   // names beyond the block
    EXPECT_FALSE(ParseDropFiles(Header(4, true) + std::string(20, 'a')));  // inside the header
    // No closing zeros: the last name runs to the end; an odd byte is dropped.
    auto open = ParseDropFiles(Header(20, true) + test::Utf16LeBytes(u"C:\\x") + "y");
    ASSERT_TRUE(open);
    EXPECT_EQ(open->paths, (std::vector<std::u16string>{u"C:\\x"}));
    auto narrow = ParseDropFiles(Header(20, false) + "C:\\x");
    EXPECT_EQ(narrow->narrow, (std::vector<std::string>{"C:\\x"}));
    // An empty list.
    auto none = ParseDropFiles(Header(20, true) + std::string(2, '\0'));
    ASSERT_TRUE(none);
    EXPECT_TRUE(none->paths.empty());
    EXPECT_TRUE(ParseDropFiles(Header(20, true))->paths.empty());
}
