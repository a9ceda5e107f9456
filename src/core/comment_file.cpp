#include "core/comment_file.h"

#include "core/cp1251.h"

namespace glossira {
namespace {
constexpr char16_t kNulSymbol = 0x2400;
}

std::string NormalizeLineEnds(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 32);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        char c = bytes[i];
        if (c == '\r') {
            if (i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
            out += "\r\n";
        } else if (c == '\n') {
            out += "\r\n";
        } else {
            out += c;
        }
    }
    return out;
}

std::u16string ToControlText(std::string_view cp1251)
{
    std::u16string text = ToUtf16(cp1251);
    for (char16_t& c : text)
        if (c == 0) c = kNulSymbol;
    return text;
}

std::string FromControlText(std::u16string_view text)
{
    std::u16string copy(text);
    for (char16_t& c : copy)
        if (c == kNulSymbol) c = 0;
    return ToCp1251(copy);
}

std::string ListSuffix(std::string_view editorText, const std::vector<std::string>& listItems)
{
    std::string out;
    if (listItems.empty()) return out;
    bool endsWithLineEnd = !editorText.empty() && (editorText.back() == '\n' || editorText.back() == '\r');
    if (!editorText.empty() && !endsWithLineEnd) out += "\r\n";
    for (const auto& item : listItems) {
        out += item;
        out += "\r\n";
    }
    return out;
}

std::string ComposeComment(std::string_view editorText, const std::vector<std::string>& listItems)
{
    std::string out(editorText);
    out += ListSuffix(editorText, listItems);
    return out;
}

}  // namespace glossira
