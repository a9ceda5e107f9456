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

// The longest command line Windows passes to CreateProcess, in characters
// without its terminating zero.
inline constexpr std::size_t kMaxCommandLine = 32766;

// The arguments spread over as few command lines as the limit allows, in
// order, each holding at least one argument; an argument too long for any
// command line is left out.
std::vector<std::u16string> QuotedCommandLines(const std::u16string& program,
                                               const std::vector<std::u16string>& arguments,
                                               std::size_t maxChars = kMaxCommandLine);

}  // namespace glossira
