// Decoding UTF-8 and UTF-16 LE into Windows-1251 a piece at a time, and the
// encoding of comment files.
#include <gtest/gtest.h>

#include "core/comment_encoding.h"
#include "core/cp1251.h"
#include "core/unicode_1251.h"
#include "utf16_bytes.h"

using namespace glossira;

namespace {

const std::string kPrivet = FromUtf8("Привет, ёж");  // Windows-1251 bytes

// Every split of `bytes` into two pieces decodes as the whole does.
template <class Decoder>
std::string DecodeSplit(const std::string& bytes, std::size_t at, bool* lossy = nullptr)
{
    Decoder decoder;
    std::string out;
    decoder.Feed(std::string_view(bytes).substr(0, at), out);
    decoder.Feed(std::string_view(bytes).substr(at), out);
    decoder.Finish(out);
    if (lossy) *lossy = decoder.Lossy();
    return out;
}

}  // namespace

TEST(Utf8To1251, DecodesTheSameHoweverTheTextIsSplit)
{
    const std::string utf8 = "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82, \xD1\x91\xD0\xB6 \xE2\x84\x96 \xE4\xB8\xAD \xF0\x9F\x98\x80!";
    const std::string expected = kPrivet + " \xB9 ? ?!";  // № is 0xB9; Chinese and the emoji have no byte
    for (std::size_t at = 0; at <= utf8.size(); ++at) {
        bool lossy = false;
        EXPECT_EQ(DecodeSplit<Utf8To1251>(utf8, at, &lossy), expected) << at;
        EXPECT_TRUE(lossy);
    }
    bool lossy = true;
    EXPECT_EQ(DecodeSplit<Utf8To1251>("\xD0\x90 z", 1, &lossy), "\xC0 z");
    EXPECT_FALSE(lossy);
}

TEST(Utf8To1251, MalformedSequencesBecomeOneQuestionMarkEachAndTheNextByteCounts)
{
    struct Case {
        std::string in, out;
    } cases[] = {
        {"\xC0\x80", "??"},              // overlong NUL: two lone bytes
        {"\xE0\x80\x80", "???"},         // overlong
        {"\xED\xA0\x80", "???"},         // a surrogate
        {"\xF4\x90\x80\x80", "????"},    // beyond U+10FFFF
        {"\xD0", "?"},                   // cut off at the end
        {"\xD0" "a", "?a"},              // cut off by an ASCII byte, which stays
        {"\xE2\x84" "\xD0\x90", "?\xC0"},  // cut off by a new sequence, which is decoded
        {"\xBF", "?"},                   // a lone continuation byte
    };
    for (const auto& c : cases) {
        for (std::size_t at = 0; at <= c.in.size(); ++at) {
            Utf8To1251 decoder;
            std::string out;
            decoder.Feed(std::string_view(c.in).substr(0, at), out);
            decoder.Feed(std::string_view(c.in).substr(at), out);
            decoder.Finish(out);
            EXPECT_EQ(out, c.out) << at;
            EXPECT_TRUE(decoder.Malformed());
        }
    }
}

TEST(Utf16LeTo1251, DecodesTheSameHoweverTheTextIsSplit)
{
    const std::string bytes = test::Utf16LeBytes(u"Привет, ёж \U0001F600 \xD800x \xDC00 中");
    const std::string expected = kPrivet + " ? ?x ? ?";
    for (std::size_t at = 0; at <= bytes.size(); ++at) EXPECT_EQ(DecodeSplit<Utf16LeTo1251>(bytes, at), expected) << at;
    EXPECT_EQ(DecodeSplit<Utf16LeTo1251>(std::string("a\0b", 3), 1), "a?");  // an odd byte at the end
}

TEST(Utf8To1251, TheMultiLineMarkOfDescriptionListsSurvivesOnlyWhereAsked)
{
    for (const std::string& utf8 : {std::string("a\x04\xC2\r\n"), std::string("a\x04\xC3\x82\r\n")}) {
        for (std::size_t at = 0; at <= utf8.size(); ++at) {
            EXPECT_EQ(DecodeSplit<Utf8To1251>(utf8, at), "a\x04?\r\n") << at;
            Utf8To1251 marks(true);
            std::string out;
            marks.Feed(std::string_view(utf8).substr(0, at), out);
            marks.Feed(std::string_view(utf8).substr(at), out);
            marks.Finish(out);
            EXPECT_EQ(out, "a\x04\xC2\r\n") << at;
        }
    }
    Utf8To1251 marks(true);
    std::string out;
    marks.Feed("\x04\xC2", out);  // at the very end
    marks.Finish(out);
    marks.Feed("x\xC2\n\x04\xC2\xA0", out);  // not after a Ctrl-D; a whole sequence after one
    marks.Finish(out);
    EXPECT_EQ(out, "\x04\xC2x?\n\x04\xA0");
    Utf16LeTo1251 wide(true);
    out.clear();
    wide.Feed(std::string("\x04\0\xC2\0\xC2\0", 6), out);
    EXPECT_EQ(out, "\x04\xC2?");
}

TEST(CommentEncoding, Utf8IsRecognisedByItsMarkOrByValidMultiByteSequences)
{
    const std::string utf8 = ToUtf8(kPrivet);
    DecodedComment marked = DecodeComment("\xEF\xBB\xBF" + utf8);
    EXPECT_EQ(marked.encoding, CommentEncoding::Utf8WithMark);
    EXPECT_EQ(marked.text, kPrivet);
    EXPECT_FALSE(marked.lossy);
    DecodedComment bare = DecodeComment(utf8 + "\r\n");
    EXPECT_EQ(bare.encoding, CommentEncoding::Utf8);
    EXPECT_EQ(bare.text, kPrivet + "\r\n");
    // A mark alone, or followed by ASCII, is UTF-8 too.
    EXPECT_EQ(DecodeComment("\xEF\xBB\xBF").encoding, CommentEncoding::Utf8WithMark);
    EXPECT_EQ(DecodeComment("\xEF\xBB\xBFhi").text, "hi");
}

TEST(CommentEncoding, EverythingElseStaysWindows1251ByteForByte)
{
    for (const std::string& bytes : {std::string(), std::string("plain ascii\r\n"), kPrivet,
                                     std::string("a\0b", 3),
                                     // valid UTF-8 up to a malformed byte
                                     ToUtf8(kPrivet) + "\xFF",
                                     // what "Рё" is in Windows-1251 is also valid UTF-8, but
                                     // Cyrillic 1251 text next to it is not
                                     std::string("\xD0\xB8\xE0\xE1")}) {
        DecodedComment c = DecodeComment(bytes);
        EXPECT_EQ(c.encoding, CommentEncoding::Cp1251);
        EXPECT_EQ(c.text, bytes);
        EXPECT_FALSE(c.lossy);
        EXPECT_EQ(EncodeComment(c.text, c.encoding), bytes);
    }
}

TEST(CommentEncoding, Utf8RoundTripsByteForByteWithTheMarkExactlyWhenItHadOne)
{
    const std::string utf8 = ToUtf8(kPrivet + "\r\n\xB9 \x98\r\n");
    for (const std::string& bytes : {utf8, "\xEF\xBB\xBF" + utf8}) {
        DecodedComment c = DecodeComment(bytes);
        EXPECT_FALSE(c.lossy);
        EXPECT_EQ(EncodeComment(c.text, c.encoding), bytes);
    }
    EXPECT_EQ(EncodeComment("x", CommentEncoding::Utf8WithMark), "\xEF\xBB\xBFx");
    EXPECT_EQ(EncodeComment("", CommentEncoding::Utf8), "");
}

TEST(CommentEncoding, CharactersBeyondWindows1251AreShownAsQuestionMarksAndFlagged)
{
    DecodedComment c = DecodeComment("\xE4\xB8\xAD\xE6\x96\x87 ok");
    EXPECT_EQ(c.encoding, CommentEncoding::Utf8);
    EXPECT_EQ(c.text, "?? ok");
    EXPECT_TRUE(c.lossy);
    // After the mark a malformed byte is lost the same way.
    DecodedComment marked = DecodeComment("\xEF\xBB\xBF" "a\xFF");
    EXPECT_EQ(marked.encoding, CommentEncoding::Utf8WithMark);
    EXPECT_EQ(marked.text, "a?");
    EXPECT_TRUE(marked.lossy);
}
