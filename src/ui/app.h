// The process-wide state of one run: settings, run state, the system
// services and the four windows.
#pragma once

#include <memory>

#include "core/files_win.h"
#include "core/settings.h"
#include "shell/registry_backend.h"

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
    EditorForm* editor = nullptr;
    SettingsForm* settingsForm = nullptr;
    ViewerForm* viewer = nullptr;
    EmptyForm* form4 = nullptr;
};

App& TheApp();

}  // namespace glossira
