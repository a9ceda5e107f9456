// The clipboard import against a literal reading of its rules (split byte by
// byte, trim every item, then walk the list re-reading its length and
// inserting tails), and the wrapping invariants: a wrapped item's pieces
// join back to the trimmed item, and a piece is longer than 70 only when no
// blank stands at positions 31 to 70.
//
// Input: flags, then old items and the clipboard text. Flag 1: the
// clipboard holds text; flag 2: bytes are mapped onto blanks, letters, CR,
// LF and NUL so that lines and blanks are frequent. Byte 0xFE separates the
// old items from the text, 0xFD the old items from each other.
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "core/text.h"
#include "sources/clipboard_import.h"

using namespace glossira;

namespace {

std::vector<std::string> Literal(std::vector<std::string> list, const std::optional<std::string>& clipboard)
{
    if (!clipboard) return list;
    const char* p = clipboard->c_str();  // a zero-terminated string
    std::string line;
    for (std::size_t i = 0; p[i] != '\0'; ++i) {
        if (p[i] == '\r' && p[i + 1] == '\n') {
            if (!line.empty()) list.push_back(line);
            line.clear();
            ++i;
        } else if (p[i] != '\r' && p[i] != '\n') {
            line += p[i];
        }
    }
    if (!line.empty()) list.push_back(line);
    if (list.empty()) return list;
    for (auto& item : list) item = TrimLeftSpaces(item);
    for (std::size_t i = 0; i < list.size(); ++i) {
        const std::string s = list[i];
        std::size_t length = s.size();
        if (length <= 70) continue;
        std::size_t cut = 0;  // 1-based
        for (std::size_t pos = 31; pos <= 70; ++pos)
            if (s[pos - 1] == ' ') cut = pos;
        for (std::size_t pos = 71; cut == 0 && pos <= length; ++pos)
            if (s[pos - 1] == ' ') cut = pos;
        if (cut == 0) continue;
        list[i] = s.substr(0, cut);
        if (cut != length) list.insert(list.begin() + static_cast<std::ptrdiff_t>(i) + 1, s.substr(cut));
    }
    return list;
}

void CheckWrap(const std::string& item)
{
    std::vector<std::string> pieces = WrapItem(item);
    std::string joined;
    for (std::size_t k = 0; k < pieces.size(); ++k) {
        const std::string& piece = pieces[k];
        std::string rest = item.substr(joined.size());
        bool last = k + 1 == pieces.size();
        if (!last && (piece.empty() || piece.back() != ' ')) std::abort();
        if (piece.size() > 70) {
            if (rest.substr(30, 40).find(' ') != std::string::npos) std::abort();
            std::size_t first = rest.find(' ', 70);
            if (last ? (first != std::string::npos && first + 1 != rest.size()) : first + 1 != piece.size())
                std::abort();
        } else if (!last) {
            if (piece.size() < 31 || rest.substr(piece.size(), 70 - piece.size()).find(' ') != std::string::npos)
                std::abort();
        }
        joined += piece;
    }
    if (joined != item) std::abort();
}

char Small(std::uint8_t b)
{
    static const char kAlphabet[] = {' ', ' ', ' ', 'x', 'y', 'x', '\r', '\n', '\t', ' ', 'z', 'x', '\0'};
    std::size_t i = b % sizeof kAlphabet;
    if (kAlphabet[i] == '\0' && b < 240) i = 3;
    return kAlphabet[i];
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1) return 0;
    bool hasText = data[0] & 1;
    bool small = data[0] & 2;
    std::string rest(reinterpret_cast<const char*>(data + 1), size - 1);
    std::size_t split = rest.find('\xfe');
    std::string oldPart = split == std::string::npos ? std::string() : rest.substr(0, split);
    std::string text = split == std::string::npos ? rest : rest.substr(split + 1);
    if (small)
        for (char& c : text) c = Small(static_cast<std::uint8_t>(c));

    std::vector<std::string> items;
    if (split != std::string::npos) {
        std::size_t start = 0;
        for (;;) {
            std::size_t end = oldPart.find('\xfd', start);
            std::string item = oldPart.substr(start, end == std::string::npos ? std::string::npos : end - start);
            if (small)
                for (char& c : item) c = Small(static_cast<std::uint8_t>(c));
            items.push_back(item);
            if (end == std::string::npos) break;
            start = end + 1;
        }
    }
    std::optional<std::string> clipboard;
    if (hasText) clipboard = text;

    std::vector<std::string> got = ImportClipboard(items, clipboard);
    if (got != Literal(items, clipboard)) std::abort();
    for (const std::string& item : items) CheckWrap(TrimLeftSpaces(item));
    CheckWrap(TrimLeftSpaces(text.substr(0, text.find_first_of(std::string("\r\n\0", 3)))));
    return 0;
}
