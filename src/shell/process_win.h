// Starting the program on a list of paths: its own full path, each argument
// in double quotes, never a search for the program.
#pragma once

#include <string>
#include <vector>

namespace glossira {

// Starts `program` once for each command line the arguments need (one but
// for very long lists), without waiting. False when a start failed; the
// system's error code is then the last error.
bool StartProgram(const std::wstring& program, const std::vector<std::u16string>& arguments, int show);

}  // namespace glossira
