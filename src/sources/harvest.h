// Harvesting: the lines of the folder's download logs and description lists
// that mention the target file, for the top of a new comment.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/file_system.h"
#include "core/settings.h"

namespace glossira {

struct HarvestResult {
    // The lines to insert at the very top of the comment, in this order (the
    // last hit read comes first), each as read: no line end, no CR.
    std::vector<std::string> lines;
    // The new RunState::HeaderFound: true when it was, or when a line was found.
    bool headerFound = false;
    // Set when a log failed while being read (after it was opened): the
    // message for the error box. `lines` then holds what was found before
    // the failure; insert them first, then show the error.
    std::optional<std::string> error;
};

// Reads the Strlog files of TargetDir (unless NoLog), then PathStrLog (when
// LogPath), then, with ZoneInfo, the download address recorded in
// TargetPath's Zone.Identifier stream, in that order. Missing files, folders
// and empty fields are skipped; a file that exists but cannot be opened (held
// open for writing by another program) ends the whole harvest silently; a
// stream that is missing or cannot be read is skipped. Only the first
// matching line of each file is taken unless NoOneStr. A log that begins with
// a UTF-8 or UTF-16 mark, or whose first bytes are Russian in code page 866,
// is matched and inserted in Windows-1251; the areas other programs keep
// after a Ctrl-D are removed from a hit, and a description of several lines
// comes as its lines (in a marked log, U+00A0 breaks lines too). An empty TargetName
// matches nothing. Errors other than read errors (out of memory) propagate.
HarvestResult Harvest(FileSystem& fs, const Settings& settings, const RunState& run);

}  // namespace glossira
