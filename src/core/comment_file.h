// The comment file: its line ends, the text a control shows, and the exact
// bytes a save writes.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace glossira {

// CR LF, a lone CR and a lone LF each become CR LF.
std::string NormalizeLineEnds(std::string_view bytes);

// The edit control cannot hold NUL: it is shown as U+2400 (the symbol for
// NUL) and turned back into a NUL byte when the text is saved, so a file
// holding NUL bytes is never shortened by a save.
std::u16string ToControlText(std::string_view cp1251);
// Fails with a clear error when the text holds a character outside
// Windows-1251 (typed or pasted by the user).
std::string FromControlText(std::u16string_view text);

// The new content of the comment file: the editor's text exactly as it is,
// then every list item on a line of its own ending in CR LF; the first item
// starts on a new line when the text does not end with one.
std::string ComposeComment(std::string_view editorText, const std::vector<std::string>& listItems);
// What ComposeComment adds after the text (the arrow button appends it too).
std::string ListSuffix(std::string_view editorText, const std::vector<std::string>& listItems);

}  // namespace glossira
