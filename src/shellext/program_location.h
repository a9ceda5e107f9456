// Where the handler finds glossira.exe: beside the library, else the full
// path the registration wrote under App Paths. Never a search.
#pragma once

#include <string>

namespace glossira::shellext {

// Empty when neither names an existing file.
std::wstring ProgramLocation();

}  // namespace glossira::shellext
