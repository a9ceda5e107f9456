// Several files handed over at once (Send To or the context menu with a
// selection): the program opens the first and starts itself on the rest, so
// the user walks through them one after another.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace glossira {

// The pieces of the command line as separate paths, when the joined text
// names nothing but there are two or more pieces and each is a full path
// naming an existing file or folder (as Explorer hands them over); otherwise
// nothing. `pieces` holds the program first.
std::optional<std::vector<std::u16string>> SeparatePaths(const std::vector<std::u16string>& pieces,
                                                         const std::function<bool(const std::string&)>& exists);

// One piece as the program reads it for its target, trimmed like the joined
// text.
std::string PieceTarget(const std::u16string& piece);

}  // namespace glossira
