// The clipboard import of the editor's list: the clipboard text split into
// lines, every item stripped of leading blanks, long items wrapped at 70.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace glossira {

inline constexpr std::size_t kWrapWidth = 70;

// The list after importing `clipboard` (nullopt: the clipboard holds no
// text, and the list stays as it is). The text counts up to its first NUL;
// CR LF ends a line, a lone CR or LF is dropped (the text around it joins),
// empty lines give no item. When the list is then not empty, every item,
// old ones included, loses its leading blanks and is wrapped at 70.
// Linear in the size of the list and the text.
std::vector<std::string> ImportClipboard(std::vector<std::string> items, std::optional<std::string_view> clipboard);

// The lines of a clipboard text, as ImportClipboard splits it.
std::vector<std::string> SplitClipboardText(std::string_view text);

// One item wrapped at 70: cut after the last blank among positions 31-70,
// else after the first blank beyond 70, else not at all; the piece after a
// cut is cut again in turn. Joining the pieces gives the item back.
std::vector<std::string> WrapItem(std::string_view item);

}  // namespace glossira
