// Installation into the shell and removal from it: the Send To shortcut,
// the registration of the shell extension's classes with the application
// path, and full removal. Each procedure computes a plan of registry and
// file actions and applies it.
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
// Below HKEY_LOCAL_MACHINE, or HKEY_CURRENT_USER for a registration of one
// user: the default value and "path" hold the program's full path.
inline constexpr const char* kAppPathKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\glossira.exe";
inline constexpr const char* kHandlerLibrary = "tavrex.dll";
inline constexpr const char* kUninstaller = "unins000.exe";

// A class the shell extension library serves, and the shell's keys (below
// Software\Classes) whose default value names it.
struct ShellExtensionClass {
    const char* classId;
    const char* name;  // the class key's default value
    std::vector<const char*> shellKeys;
};
// Every class of the library, registered and removed together.
const std::vector<ShellExtensionClass>& ShellExtensionClasses();

// For every user (HKEY_LOCAL_MACHINE), or for the current user alone
// (HKEY_CURRENT_USER), which needs no administrator rights.
enum class Scope { Machine, User };
RootKey RootOf(Scope scope);

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
// Deletes a key when no value and no subkey is left in it.
struct DeleteEmptyKey {
    RootKey root;
    std::string key;
};
// Gives the extensions of the program's file type back (UnregisterFileType).
struct ReleaseFileType {
    RootKey root;
};
struct MakeShortcut {
    std::string link, arguments, target, workingDir;
};
// Deletes a file; a missing file or a failed deletion is ignored.
struct RemoveFile {
    std::string path;
};

using InstallAction =
    std::variant<WriteKeyValues, DeleteKeyTree, DeleteEmptyKey, ReleaseFileType, MakeShortcut, RemoveFile>;
using InstallPlan = std::vector<InstallAction>;

InstallPlan InstallSendToPlan(const std::string& sendToFolder, const std::string& exePath);
InstallPlan RemoveSendToPlan(const std::string& sendToFolder);
InstallPlan RegisterContextMenuPlan(const std::string& programDir, const std::string& exePath, Scope scope);
// Both scopes.
InstallPlan UnregisterContextMenuPlan();
// RemoveSendTo, UnregisterContextMenu, then the uninstaller, quoted and
// silent, under the RunOnce key of the scope.
InstallPlan ScheduledRemovalPlan(const std::string& sendToFolder, const std::string& programDir, Scope runOnce);
// RemoveSendTo, UnregisterContextMenu, the file type and the settings of
// both scopes: everything the program itself wrote.
InstallPlan ImmediateRemovalPlan(const std::string& sendToFolder);

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

// Machine, unless ordinary users may change `file` or its folder: code
// every user runs must not be theirs to replace.
Scope ScopeFor(ShellServices& shell, const std::string& file);

void InstallSendTo(const InstallContext& context);
void RemoveSendTo(const InstallContext& context);
// Returns where the registration went.
Scope RegisterContextMenu(const InstallContext& context);
void UnregisterContextMenu(const InstallContext& context);

enum class RemovalResult { Declined, Scheduled, Removed };
// Asks first; only Yes goes on. With the uninstaller beside the program it
// is scheduled for the next logon, else everything goes at once; the user
// is told which. On Scheduled or Removed the caller ends the process.
RemovalResult ScheduleFullRemoval(const InstallContext& context, Dialogs& dialogs);

}  // namespace glossira
