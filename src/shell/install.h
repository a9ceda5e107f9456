// Installation into the shell and removal from it: the Send To shortcut,
// the context-menu handler's registration with the application path, and
// full removal with the uninstaller scheduled. Each procedure computes a
// plan of registry and file actions and applies it.
#pragma once

#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "shell/registry_backend.h"
#include "shell/shell_services.h"

namespace glossira {

inline constexpr const char* kHandlerClassId = "{AECEEFEA-3DF8-11D1-9577-0000837A2FDA}";
// The right-drag menu's handler in the same library, registered and removed
// with the context-menu handler.
inline constexpr const char* kDropHandlerClassId = "{B53500FB-FCA5-4D56-B161-E17C5A5D564F}";
// HKEY_LOCAL_MACHINE; its value "path" holds the program's full path.
inline constexpr const char* kAppPathKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\glossira.exe";

// Opens `key` with create and writes the string values in order. When the
// key cannot be opened nothing is written and `openFailure` is raised.
struct WriteKeyValues {
    RootKey root;
    std::string key;
    std::vector<std::pair<std::string, std::string>> values;  // name ("" = default), data
    std::string openFailure;
};
// Deletes a key with all its subkeys; a missing key is no error.
struct DeleteKeyTree {
    RootKey root;
    std::string key;
};
struct MakeShortcut {
    std::string link, arguments, target, workingDir;
};
// Deletes a file; a missing file or a failed deletion is ignored.
struct RemoveFile {
    std::string path;
};

using InstallAction = std::variant<WriteKeyValues, DeleteKeyTree, MakeShortcut, RemoveFile>;
using InstallPlan = std::vector<InstallAction>;

InstallPlan InstallSendToPlan(const std::string& sendToFolder, const std::string& exePath);
InstallPlan RemoveSendToPlan(const std::string& sendToFolder);
InstallPlan RegisterContextMenuPlan(const std::string& programDir, const std::string& exePath);
InstallPlan UnregisterContextMenuPlan();
// RemoveSendTo, UnregisterContextMenu, then the uninstaller under RunOnce.
InstallPlan FullRemovalPlan(const std::string& sendToFolder, const std::string& programDir);

// Applies the actions in order; the first error stops it, actions applied
// before stay.
void ApplyPlan(const InstallPlan& plan, RegistryBackend& registry, ShellServices& shell);

// What the procedures work on.
struct InstallContext {
    RegistryBackend& registry;
    ShellServices& shell;
    std::string programDir;  // with its trailing backslash
    std::string exePath;     // full path of the running executable
};

void InstallSendTo(const InstallContext& context);
void RemoveSendTo(const InstallContext& context);
void RegisterContextMenu(const InstallContext& context);
void UnregisterContextMenu(const InstallContext& context);

enum class RemovalResult { Declined, Removed };
// Asks first; only Yes goes on. On Removed the caller ends the process.
RemovalResult ScheduleFullRemoval(const InstallContext& context, Dialogs& dialogs);

}  // namespace glossira
