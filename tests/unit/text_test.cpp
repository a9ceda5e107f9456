#include <gtest/gtest.h>

#include "core/cp1251.h"
#include "core/text.h"

using namespace glossira;

TEST(Fields, CountFollowsSeparators)
{
    EXPECT_EQ(CountFields("", ';'), 0);
    EXPECT_EQ(CountFields(";", ';'), 2);
    EXPECT_EQ(CountFields("abc", ';'), 1);
    EXPECT_EQ(CountFields("a;b", ';'), 2);
    EXPECT_EQ(CountFields("reget.log;descript.ion;", ';'), 3);
}

TEST(Fields, FieldAtAndTailEdgeCases)
{
    EXPECT_EQ(FieldAt(1, "abc", ';'), "abc");
    EXPECT_EQ(FieldAt(2, "abc", ';'), "");
    EXPECT_EQ(FieldAt(0, "a;b", ';'), "");
    EXPECT_EQ(FieldAt(-3, "a;b", ';'), "");
    EXPECT_EQ(FieldAt(2, "a;", ';'), "");
    EXPECT_EQ(FieldAt(2, "a;b", ';'), "b");
    EXPECT_EQ(FieldAt(1, ";", ';'), "");
    EXPECT_EQ(FieldAt(2, ";", ';'), "");
    EXPECT_EQ(FieldAt(2, "a;;b", ';'), "");
    EXPECT_EQ(FieldAt(3, "a;;b", ';'), "b");
    EXPECT_EQ(FieldAt(1, "reget.log;descript.ion;", ';'), "reget.log");
    EXPECT_EQ(FieldAt(2, "reget.log;descript.ion;", ';'), "descript.ion");
    EXPECT_EQ(FieldAt(3, "reget.log;descript.ion;", ';'), "");
    EXPECT_EQ(FieldAt(4, "reget.log;descript.ion;", ';'), "");
    EXPECT_EQ(FieldAt(1, "C:\\a b.exe\" \"%1\"", '"'), "C:\\a b.exe");
    EXPECT_EQ(FieldTail(1, "x", ';'), "x");
    EXPECT_EQ(FieldTail(2, "x", ';'), "");
    EXPECT_EQ(FieldTail(2, "a;b;c", ';'), "b;c");
    EXPECT_EQ(FieldTail(1, "", ';'), "");
}

TEST(UpperCase, FoldsLatinAndCyrillicSmallLettersOnly)
{
    EXPECT_EQ(UpperCase1251("setup.zip"), "SETUP.ZIP");
    EXPECT_EQ(UpperCase1251("\xB8\xE6"), "\xB8\xC6");  // ё stays, ж -> Ж
    EXPECT_EQ(UpperCase1251(FromUtf8("абвгдеёжзийклмнопрстуфхцчшщъыьэюя")),
              FromUtf8("АБВГДЕёЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ"));
    EXPECT_EQ(UpperCase1251(FromUtf8("ґєії")), FromUtf8("ґєії"));
    EXPECT_EQ(UpperCase1251("09 !@[]{}~\x7F"), "09 !@[]{}~\x7F");
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    const std::string upper = UpperCase1251(all);
    ASSERT_EQ(upper.size(), 256u);
    // Exactly a-z (0x61-0x7A) and 0xE0-0xFF move, by 0x20; every other byte,
    // the edges 0x60, 0x7B, 0xBF, 0xC0, 0xDF and ё (0xB8) included, stays.
    for (int b = 0; b < 256; ++b) {
        const bool folds = (b >= 0x61 && b <= 0x7A) || b >= 0xE0;
        EXPECT_EQ(static_cast<unsigned char>(upper[b]), folds ? b - 0x20 : b) << "byte " << b;
        EXPECT_EQ(UpCase1251(static_cast<char>(b)), upper[b]) << "byte " << b;
    }
    EXPECT_EQ(upper[0x60], '\x60');
    EXPECT_EQ(upper[0x7B], '\x7B');
    EXPECT_EQ(upper[0xBF], '\xBF');
    EXPECT_EQ(upper[0xC0], '\xC0');
    EXPECT_EQ(upper[0xDF], '\xDF');
    EXPECT_EQ(upper[0xE0], '\xC0');
    EXPECT_EQ(upper[0xFF], '\xDF');
    EXPECT_EQ(upper[0xB8], '\xB8') << "ё is not folded to Ё (0xA8)";
    EXPECT_EQ(upper[0xA8], '\xA8');
}

TEST(UpperCase, LowCaseAndTheCaseBitFollowTheSameRule)
{
    // Every letter pair of the rule, and nothing else, comes back from
    // LowCase1251; the two cases differ in kCaseBit1251 alone.
    for (int b = 0; b < 256; ++b) {
        const char c = static_cast<char>(b);
        const char lower = LowCase1251(c);
        if (lower != c) {
            EXPECT_EQ(UpCase1251(lower), c) << "byte " << b;
            EXPECT_EQ(static_cast<unsigned char>(lower ^ c), kCaseBit1251) << "byte " << b;
        } else {
            EXPECT_FALSE((b >= 'A' && b <= 'Z') || (b >= 0xC0 && b <= 0xDF)) << "byte " << b;
        }
    }
    EXPECT_EQ(LowCase1251('A'), 'a');
    EXPECT_EQ(LowCase1251('\xC0'), '\xE0');
    EXPECT_EQ(LowCase1251('\xDF'), '\xFF');
    EXPECT_EQ(LowCase1251('\xA8'), '\xA8') << "Ё has no lower case under the rule";
    EXPECT_EQ(LowCase1251('a'), 'a');
}

TEST(Trim, OnlyTheGivenCharacter)
{
    EXPECT_EQ(TrimSpaces("   "), "");
    EXPECT_EQ(TrimSpaces(" a b "), "a b");
    EXPECT_EQ(TrimSpaces("\ta\t"), "\ta\t");
    EXPECT_EQ(TrimSpaces(""), "");
    EXPECT_EQ(TrimLeftSpaces("  a "), "a ");
    EXPECT_EQ(TrimLeftChar("xxa", 'x'), "a");
    EXPECT_EQ(TrimRightChar("axx", 'x'), "a");
    EXPECT_EQ(TrimRightChar("xxx", 'x'), "");
}

TEST(StripQuotes, RemovesEveryQuote)
{
    EXPECT_EQ(StripQuotes("\"D:\\a b\\c.zip\""), "D:\\a b\\c.zip");
    EXPECT_EQ(StripQuotes("a\"b"), "ab");
    EXPECT_EQ(StripQuotes("\"\"\""), "");
    EXPECT_EQ(StripQuotes(""), "");
}
