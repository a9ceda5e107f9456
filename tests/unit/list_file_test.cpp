#include <gtest/gtest.h>

#include "core/error.h"
#include "core/list_file.h"
#include "utf16_bytes.h"

using namespace glossira;
using glossira::test::Utf16LeBytes;

TEST(ListFile, PathsRoundTripInUtf16WithAMarkAndCrLf)
{
    EXPECT_EQ(EncodeListFile({u"C:\\a", u"\\\\s\\b"}), "\xFF\xFE" + Utf16LeBytes(u"C:\\a\r\n\\\\s\\b\r\n"));
    const std::vector<std::u16string> paths{u"D:\\Мои файлы\\a.zip", u"D:\\caf\u00e9 \U0001F600.zip",
                                            u"C:\\" + std::u16string(32000, u'x'), u"\\\\server\\share\\b"};
    EXPECT_EQ(DecodeListFile(EncodeListFile(paths)), paths);
    // Written by hand, the last line may lack its line end.
    EXPECT_EQ(DecodeListFile("\xFF\xFE" + Utf16LeBytes(u"C:\\a\r\nC:\\b")),
              (std::vector<std::u16string>{u"C:\\a", u"C:\\b"}));
}

TEST(ListFile, AnythingElseIsRejected)
{
    const std::string mark = "\xFF\xFE";
    for (const std::string& bytes : std::vector<std::string>{
             std::string(),
             mark,                                             // no path
             Utf16LeBytes(u"C:\\a\r\n"),                       // no mark
             "\xEF\xBB\xBF" "C:\\a\r\n",                       // UTF-8
             mark + Utf16LeBytes(u"C:\\a\r\n") + "x",          // odd length
             mark + Utf16LeBytes(u"C:\\a\nC:\\b\r\n"),         // a lone LF
             mark + Utf16LeBytes(u"C:\\a\rC:\\b\r\n"),         // a lone CR
             mark + Utf16LeBytes(u"C:\\a\r"),
             mark + Utf16LeBytes(u"C:\\a\r\n\r\nC:\\b\r\n"),   // an empty line
             mark + Utf16LeBytes(u"C:\\a\r\nb.zip\r\n"),       // not a full path
             mark + Utf16LeBytes(std::u16string(u"C:\\a\0b\r\n", 8)),
             mark + Utf16LeBytes(u"C:\\a\xD800\r\n"),          // a broken surrogate
             mark + Utf16LeBytes(u"C:\\a\xDC00x\r\n"),
         })
        EXPECT_FALSE(DecodeListFile(bytes)) << bytes.size();
}

TEST(ListFile, ListSwitchTakesTheNextPieceAndStandsLast)
{
    EXPECT_EQ(ListSwitchAt({u"g.exe", u"/list", u"C:\\t\\a.tmp"}, 1), u"C:\\t\\a.tmp");
    EXPECT_EQ(ListSwitchAt({u"g.exe", u"/LIST", u"C:\\t\\a.tmp"}, 1), u"C:\\t\\a.tmp");
    EXPECT_EQ(ListSwitchAt({u"g.exe", u"/copyto", u"D:\\", u"/list", u"F"}, 3), u"F");
    EXPECT_FALSE(ListSwitchAt({u"g.exe", u"C:\\a"}, 1));
    EXPECT_FALSE(ListSwitchAt({u"g.exe", u"/lists", u"F"}, 1));
    EXPECT_FALSE(ListSwitchAt({u"g.exe"}, 1));
    EXPECT_THROW(ListSwitchAt({u"g.exe", u"/list"}, 1), Error);
    EXPECT_THROW(ListSwitchAt({u"g.exe", u"/list", u"F", u"C:\\a"}, 1), Error);
}
