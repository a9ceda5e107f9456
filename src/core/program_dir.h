// The program's folder with one trailing backslash, set once at start-up;
// the help file, the context-menu library and the uninstaller lie there.
#pragma once

#include <string>

namespace glossira {

const std::string& ProgramDir();
void SetProgramDir(std::string dir);

}  // namespace glossira
