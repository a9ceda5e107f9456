// The process-wide state of one run: settings, run state, the system
// services and the four windows. Every window reaches the registry, the
// shell and the message boxes through it.
#pragma once

#include <memory>

#include "core/files_win.h"
#include "core/settings.h"
#include "shell/install.h"
#include "shell/registry_backend.h"
#include "shell/shell_services.h"

namespace glossira {

class EditorForm;
class SettingsForm;
class ViewerForm;
class EmptyForm;

struct App {
    Settings settings;
    RunState run;
    Win32FileSystem files;
    std::unique_ptr<RegistryBackend> registry;
    std::unique_ptr<ShellServices> shell;
    std::unique_ptr<Dialogs> dialogs;
    EditorForm* editor = nullptr;
    SettingsForm* settingsForm = nullptr;
    ViewerForm* viewer = nullptr;
    EmptyForm* form4 = nullptr;

    // Registry, shell, ProgramDir() and the running executable's full path.
    InstallContext Install();
    // ProgramDir() + "glossira.chm" through the shell; a missing file shows nothing.
    void OpenHelp();
};

App& TheApp();

}  // namespace glossira
