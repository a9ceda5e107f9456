// The shell operations and installation procedures on this machine: the
// Windows registry and shell, the program's folder and executable.
#pragma once

#include "shell/install.h"
#include "shell/shell_services.h"

namespace glossira {

ShellServices& SystemShell();
Dialogs& SystemDialogs();
// Registry, shell, ProgramDir() and the running executable's full path.
InstallContext SystemInstall();
// ProgramDir() + "glossira.chm" through the shell; a missing file shows nothing.
void OpenHelp();

}  // namespace glossira
