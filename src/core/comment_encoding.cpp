#include "core/comment_encoding.h"

#include "core/cp1251.h"
#include "core/unicode_1251.h"

namespace glossira {
namespace {
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
}

DecodedComment DecodeComment(std::string_view bytes)
{
    DecodedComment out;
    const bool mark = bytes.substr(0, kUtf8Mark.size()) == kUtf8Mark;
    if (mark) bytes.remove_prefix(kUtf8Mark.size());
    Utf8To1251 decoder;
    decoder.Feed(bytes, out.text);
    decoder.Finish(out.text);
    // Without the mark a single malformed byte means Windows-1251; with it
    // the file is UTF-8 whatever it holds.
    if (mark) {
        out.encoding = CommentEncoding::Utf8WithMark;
        out.lossy = decoder.Lossy();
        return out;
    }
    if (decoder.SawMultiByte() && !decoder.Malformed()) {
        out.encoding = CommentEncoding::Utf8;
        out.lossy = decoder.Lossy();
        return out;
    }
    out.text.assign(bytes);
    return out;
}

std::string EncodeComment(std::string_view cp1251, CommentEncoding encoding)
{
    switch (encoding) {
    case CommentEncoding::Utf8: return ToUtf8(cp1251);
    case CommentEncoding::Utf8WithMark: return std::string(kUtf8Mark) + ToUtf8(cp1251);
    case CommentEncoding::Cp1251: break;
    }
    return std::string(cp1251);
}

}  // namespace glossira
