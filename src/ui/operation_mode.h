// The program started on an operation of comments that follow their files
// (a switch of core/operation_switches): it asks what it must, does the
// operation with the system's file operation and ends.
#pragma once

#include <optional>
#include <string_view>

namespace glossira {

// Nothing when the command line names no operation; otherwise the
// program's exit code once the operation is done.
std::optional<int> RunOperationMode(std::u16string_view rawCommandLine);

}  // namespace glossira
