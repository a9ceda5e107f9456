// A list file: the paths of a selection too long for one command line,
// handed to the program with the switch `/list FILE`. UTF-16 LE with a
// byte-order mark, one full path per line, each line ended by CR LF. The
// program reads it, deletes it and walks the paths.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace glossira {

inline constexpr std::u16string_view kListSwitch = u"/list";

// The bytes of a list file holding these paths (none holds CR, LF or NUL).
std::string EncodeListFile(const std::vector<std::u16string>& paths);

// The paths of a list file; nothing when the bytes are not one: no mark, an
// odd length, a NUL, a lone CR or LF, a broken surrogate, an empty line, a
// line that is not a full path, or no line at all. The last line may lack
// its CR LF.
std::optional<std::vector<std::u16string>> DecodeListFile(std::string_view bytes);

// Whether a piece of the command line is the switch `name`, letters in any case.
bool IsSwitch(std::u16string_view piece, std::u16string_view name);

// The list file named by `/list FILE` at pieces[at]; nothing when the piece
// there is not `/list`. The list stands last: a missing FILE or a piece
// after it raises Error.
std::optional<std::u16string> ListSwitchAt(const std::vector<std::u16string>& pieces, std::size_t at);

}  // namespace glossira
