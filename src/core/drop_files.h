// The CF_HDROP block of a data object: a DROPFILES header and the file
// names one after another, each ended by a zero, the list by one more.
// Read in one pass (DragQueryFile starts again from the first name for every
// name) and checked against the block's size, since any program may hand
// the shell such a block.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace glossira {

struct DropFiles {
    bool wide = true;
    std::vector<std::u16string> paths;  // UTF-16 names (wide)
    std::vector<std::string> narrow;    // ANSI code page names (not wide)
};

// Nothing when the header does not fit or points outside the block. A list
// whose last name runs to the end of the block without its zero keeps that
// name.
std::optional<DropFiles> ParseDropFiles(std::string_view block);

}  // namespace glossira
