// Starting the program on paths: glossira.exe's walk through a selection,
// tavrex.dll's context-menu command and any other caller use this one
// function. The program is started by its own full path, never searched
// for, and every piece of its command line is in double quotes.
#pragma once

#include <string>
#include <vector>

namespace glossira {

// Starts `program` once, without waiting. Its command line holds `switches`
// first, then `paths`. A switch begins with "/"; one that takes a value has
// it as the next element, e.g. {u"/copyto", u"D:\\Archive"}. `/list` is the
// only switch defined here; operations add their own switches in the code
// that understands them, and the program reads `/list` after them.
//
// When the whole does not fit one command line (kMaxCommandLine), the paths
// go into a list file written in the user's temporary folder and the command
// line carries `/list FILE` in their place; the program reads and deletes it.
//
// A start refused for a moment (ERROR_INTERNAL_ERROR while a previous
// process goes away) is tried again. False when nothing was started: the
// last error then says why, and no list file is left behind.
bool StartProgram(const std::wstring& program, const std::vector<std::u16string>& switches,
                  const std::vector<std::u16string>& paths, int show);

}  // namespace glossira
