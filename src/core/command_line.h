// The command line as the program reads it: the raw text is split by the
// platform's rule and the pieces are joined back into one target path.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace glossira {

// Characters 0x01-0x20 separate pieces; a double quote starts or ends a
// quoted run in which blanks stay; the quotes are dropped. An empty quoted
// run ("") makes no piece. Piece 0 is the program itself.
std::vector<std::u16string> SplitCommandLine(std::u16string_view raw);

inline constexpr int kMaxPieces = 100;

// Pieces 1 to 100, each followed by one blank, up to the first empty one;
// then leading and trailing blanks and every double quote are removed.
// Fails with a clear error when a piece holds a character outside
// Windows-1251.
std::string JoinTarget(const std::vector<std::u16string>& pieces);

// The longest command line Windows passes to CreateProcess, in characters
// without its terminating zero.
inline constexpr std::size_t kMaxCommandLine = 32766;

// The program and the pieces, each in double quotes, separated by blanks:
// SplitCommandLine gives back exactly these pieces (none holds a quote).
// Nothing when the line would be longer than `maxChars`.
std::optional<std::u16string> QuotedCommandLine(const std::u16string& program,
                                                const std::vector<std::u16string>& pieces,
                                                std::size_t maxChars = kMaxCommandLine);

}  // namespace glossira
