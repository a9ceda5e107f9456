// List files on disk: written in the user's temporary folder by whoever
// starts the program on more paths than one command line holds, read and
// deleted by the program.
#pragma once

#include <string>
#include <vector>

namespace glossira {

// Writes the paths as a new list file in the user's temporary folder and
// returns its full path; empty when it cannot (the last error says why, and
// nothing is left behind).
std::wstring WriteListFile(const std::vector<std::u16string>& paths);

// The paths of the list file, which is then deleted. A file that cannot be
// read raises "Cannot open file"; one that is not a list raises Error and
// is left alone.
std::vector<std::u16string> TakeListFile(const std::u16string& file);

}  // namespace glossira
