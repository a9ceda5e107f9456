// The folder of the running executable with one trailing backslash, set once
// at start-up; the help file, the handler library and the uninstaller lie
// there.
#pragma once

#include <string>

namespace glossira {

const std::string& ProgramDir();
void SetProgramDir(std::string dir);

}  // namespace glossira
