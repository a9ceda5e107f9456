// Several files handed over at once (Send To, the context menu with a
// selection, or a list file): each path is judged on its own, those that
// cannot be opened are named once, and the program opens the first usable
// one and starts itself on the rest, so the user walks through them one
// after another.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace glossira {

using PathExistsFn = std::function<bool(const std::string&)>;

// The pieces of the command line as the paths of a selection: two or more
// pieces, each a full path, whose joined text names nothing (as Explorer
// hands a selection over). Otherwise nothing: the pieces are one path,
// joined by JoinTarget. `pieces` holds the program first.
std::optional<std::vector<std::u16string>> SelectionPieces(const std::vector<std::u16string>& pieces,
                                                           const PathExistsFn& exists);

enum class SkipReason { NotFound, Beyond1251 };

struct SkippedPath {
    std::u16string path;
    SkipReason reason;
};

struct JudgedSelection {
    std::vector<std::string> usable;  // in order, each trimmed like a joined target
    std::vector<SkippedPath> skipped;
};

// Each path on its own: one whose name Windows-1251 cannot hold, or that is
// not a full path naming an existing file or folder, is skipped.
JudgedSelection JudgeSelection(const std::vector<std::u16string>& paths, const PathExistsFn& exists);

// How many skipped paths the message names; the rest are counted.
inline constexpr std::size_t kNamedSkips = 20;
// A longer path is shown by its start and its end around an ellipsis.
inline constexpr std::size_t kShownPathChars = 260;

// The message naming the skipped paths and why, one to a line.
std::u16string SkippedMessage(const std::vector<SkippedPath>& skipped);

}  // namespace glossira
