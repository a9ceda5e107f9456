// The switches that start the program on an operation of comments that
// follow their files: the operation first, then its destination where it
// has one, then the paths (or the list file that holds them).
//   /copyto  /moveto         the program asks for the folder
//   /copyhere DEST  /movehere DEST
//   /rename                  the program asks for the new name
//   /delete
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/comment_moves.h"

namespace glossira {

struct OperationSwitch {
    Operation op = Operation::Copy;
    bool askFolder = false;                  // copy or move to a folder the user picks
    bool askName = false;                    // a rename: the user types the new name
    std::u16string destination;              // /copyhere and /movehere
    std::vector<std::u16string> rest;        // the pieces after the switch and its destination
};

// `pieces` is the split command line, the program first. Nothing when the
// first argument is no operation switch (case-blind), or when a switch
// that needs a destination has none.
std::optional<OperationSwitch> ParseOperationSwitch(const std::vector<std::u16string>& pieces);

// The switch and destination the context-menu handler passes before the paths.
std::vector<std::u16string> OperationSwitches(const std::u16string& name, const std::u16string& destination = {});

}  // namespace glossira
