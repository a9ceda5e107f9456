#include <gtest/gtest.h>

#include "core/file_name_rules.h"
#include "core/operation_switches.h"

using namespace glossira;

TEST(OperationSwitches, TheSwitchItsDestinationAndThePaths)
{
    auto parsed = ParseOperationSwitch({u"glossira.exe", u"/MoveHere", u"D:\\Archive", u"D:\\dl\\a b.zip", u"/list"});
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->op, Operation::Move);
    EXPECT_FALSE(parsed->askFolder);
    EXPECT_EQ(parsed->destination, u"D:\\Archive");
    EXPECT_EQ(parsed->rest, (std::vector<std::u16string>{u"D:\\dl\\a b.zip", u"/list"}));

    parsed = ParseOperationSwitch({u"glossira.exe", u"/copyto", u"D:\\dl\\a.zip"});
    ASSERT_TRUE(parsed);
    EXPECT_TRUE(parsed->askFolder);
    EXPECT_EQ(parsed->rest.size(), 1u);
    EXPECT_TRUE(ParseOperationSwitch({u"glossira.exe", u"/rename", u"D:\\a"})->askName);
    EXPECT_EQ(ParseOperationSwitch({u"glossira.exe", u"/delete"})->op, Operation::Delete);

    // A file path, an unknown switch, a destination missing: no operation.
    EXPECT_FALSE(ParseOperationSwitch({u"glossira.exe", u"D:\\dl\\a.zip"}));
    EXPECT_FALSE(ParseOperationSwitch({u"glossira.exe", u"/copy"}));
    EXPECT_FALSE(ParseOperationSwitch({u"glossira.exe", u"/copyhere"}));
    EXPECT_FALSE(ParseOperationSwitch({u"glossira.exe"}));
    EXPECT_EQ(OperationSwitches(u"copyhere", u"E:\\"), (std::vector<std::u16string>{u"/copyhere", u"E:\\"}));
}

TEST(OperationSwitches, NamesWindowsRefuses)
{
    for (const char* good : {"setup-2.3.zip", "a", ".profile", "con2.txt", "COM0", "Новый файл.txt"})
        EXPECT_FALSE(NameRefusal(good)) << good;
    for (const char* bad : {"", "   ", "a/b", "a\\b", "a:b", "a*", "a?", "\"a\"", "a<b", "a>b", "a|b", "a\tb",
                            "a.", "a ", "CON", "nul.txt", "com1", "Lpt9.log", "aux .zip"})
        EXPECT_TRUE(NameRefusal(bad)) << bad;
}
