#include "sources/clipboard_import.h"

namespace glossira {
namespace {

// Calls on(line) for every non-empty line of the text, as a view that
// stays valid only during the call.
template <class OnLine>
void ForEachLine(std::string_view text, OnLine on)
{
    if (auto nul = text.find('\0'); nul != std::string_view::npos) text = text.substr(0, nul);
    std::string joined;  // the line so far, when a lone CR or LF was dropped from it
    std::size_t i = 0;
    for (;;) {
        std::size_t stop = i;
        while (stop < text.size() && text[stop] != '\r' && text[stop] != '\n') ++stop;
        std::string_view piece = text.substr(i, stop - i);
        bool atEnd = stop == text.size();
        if (atEnd || (text[stop] == '\r' && stop + 1 < text.size() && text[stop + 1] == '\n')) {
            std::string_view line = piece;
            if (!joined.empty()) line = joined.append(piece);
            if (!line.empty()) on(line);
            joined.clear();
            if (atEnd) return;
            i = stop + 2;
        } else {
            joined.append(piece);  // a lone CR or LF is dropped
            i = stop + 1;
        }
    }
}

std::string_view WithoutLeadingBlanks(std::string_view s)
{
    auto first = s.find_first_not_of(' ');
    return first == std::string_view::npos ? std::string_view() : s.substr(first);
}

// Calls piece(text) for every piece of the wrapped item, in order.
template <class OnPiece>
void Wrap(std::string_view item, OnPiece piece)
{
    constexpr std::size_t kLastIgnoredBlank = 30;  // a blank at position 30 or lower does not count
    while (item.size() > kWrapWidth) {
        // Position k (1-based) is item[k - 1].
        std::size_t cut = item.substr(0, kWrapWidth).find_last_of(' ');
        if (cut == std::string_view::npos || cut < kLastIgnoredBlank) cut = item.find(' ', kWrapWidth);
        if (cut == std::string_view::npos) break;
        piece(item.substr(0, cut + 1));
        item.remove_prefix(cut + 1);
        if (item.empty()) return;
    }
    piece(item);
}

void AppendWrapped(std::string_view item, std::vector<std::string>& out)
{
    Wrap(item, [&](std::string_view piece) { out.emplace_back(piece); });
}

}  // namespace

std::vector<std::string> SplitClipboardText(std::string_view text)
{
    std::vector<std::string> lines;
    ForEachLine(text, [&](std::string_view line) { lines.emplace_back(line); });
    return lines;
}

std::vector<std::string> WrapItem(std::string_view item)
{
    std::vector<std::string> pieces;
    AppendWrapped(item, pieces);
    return pieces;
}

std::vector<std::string> ImportClipboard(std::vector<std::string> items, std::optional<std::string_view> clipboard)
{
    if (!clipboard) return items;
    // Trimming and wrapping concern each item alone, so both are done as the
    // items (old, then new) are put into the new list, counted first so that
    // the list is allocated once.
    std::size_t count = 0;
    auto countPiece = [&](std::string_view) { ++count; };
    for (const std::string& item : items) Wrap(WithoutLeadingBlanks(item), countPiece);
    ForEachLine(*clipboard, [&](std::string_view line) { Wrap(WithoutLeadingBlanks(line), countPiece); });
    std::vector<std::string> out;
    out.reserve(count);
    for (std::string& item : items) {
        if (item.size() <= kWrapWidth && (item.empty() || item[0] != ' ')) out.push_back(std::move(item));
        else AppendWrapped(WithoutLeadingBlanks(item), out);
    }
    ForEachLine(*clipboard, [&](std::string_view line) { AppendWrapped(WithoutLeadingBlanks(line), out); });
    return out;
}

}  // namespace glossira
