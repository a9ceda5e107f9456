#include "ui/app.h"

#include "core/program_dir.h"
#include "core/wide_win.h"
#include "shell/shell_ops.h"

namespace glossira {

App& TheApp()
{
    static App app;
    return app;
}

InstallContext App::Install() { return InstallContext{*registry, *shell, ProgramDir(), Narrow(ModulePath())}; }

void App::OpenHelp() { glossira::OpenHelp(*shell, ProgramDir()); }

}  // namespace glossira
