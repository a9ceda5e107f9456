#include "shell/system_win.h"

#include "core/program_dir.h"
#include "core/wide_win.h"
#include "shell/registry_win.h"
#include "shell/shell_ops.h"
#include "shell/shell_win.h"

namespace glossira {

ShellServices& SystemShell()
{
    static Win32Shell shell;
    return shell;
}

Dialogs& SystemDialogs()
{
    static Win32Dialogs dialogs;
    return dialogs;
}

InstallContext SystemInstall()
{
    static Win32Registry registry;
    return InstallContext{registry, SystemShell(), ProgramDir(), Narrow(ModulePath())};
}

void OpenHelp() { OpenHelp(SystemShell(), ProgramDir()); }

}  // namespace glossira
