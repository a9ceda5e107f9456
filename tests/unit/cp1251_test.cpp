#include <gtest/gtest.h>

#include "core/cp1251.h"
#include "core/error.h"

using namespace glossira;

TEST(Cp1251, EveryByteRoundTrips)
{
    std::string all;
    for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
    auto back = TryToCp1251(ToUtf16(all));
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(*back, all);
}

TEST(Cp1251, KnownLetters)
{
    EXPECT_EQ(ToUtf16("\xC0\xFF\xA8\xB8\xB9\x88"), std::u16string(u"АяЁё№€"));
    EXPECT_EQ(FromUtf8("Глоссира"), "\xC3\xEB\xEE\xF1\xF1\xE8\xF0\xE0");
    EXPECT_EQ(ToUtf8(FromUtf8("Привет, ёж №5")), "Привет, ёж №5");
}

TEST(Cp1251, UnmappableTextIsRefusedNotGarbled)
{
    EXPECT_FALSE(TryToCp1251(u"файл 中文.zip").has_value());
    EXPECT_FALSE(TryToCp1251(u"\U0001F600").has_value());
    EXPECT_FALSE(TryToCp1251(std::u16string(1, char16_t(0xD800))).has_value());
    EXPECT_EQ(ToCp1251Lossy(u"a\U0001F600b"), "a?b");
    try {
        ToCp1251(u"D:\\中.zip");
        FAIL();
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("D:\\?.zip"), std::string::npos);
    }
    std::u16string huge(100000, u'я');
    huge += u'中';
    try {
        ToCp1251(huge);
        FAIL();
    } catch (const Error& e) {
        EXPECT_LT(std::string(e.what()).size(), 300u);
    }
}

TEST(ErrorBox, FullStopRule)
{
    EXPECT_EQ(ErrorBoxText("Invalid data type for 'Ext'"), "Invalid data type for 'Ext'");
    EXPECT_EQ(ErrorBoxText("Access denied"), "Access denied.");
    EXPECT_EQ(ErrorBoxText("Done."), "Done.");
    EXPECT_EQ(ErrorBoxText("x-"), "x-");
    EXPECT_EQ(ErrorBoxText("file 1"), "file 1.");
    EXPECT_EQ(ErrorBoxText(FromUtf8("Ошибка")), FromUtf8("Ошибка."));
    EXPECT_EQ(ErrorBoxText(""), "");
    EXPECT_EQ(Format("Cannot create file \"%s\". %s", "a.txt", "Access denied"),
              "Cannot create file \"a.txt\". Access denied");
    EXPECT_EQ(Format("%s and %s", "%s", "b"), "%s and b");
}
