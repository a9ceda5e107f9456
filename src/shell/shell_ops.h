// Small system operations the windows and the installation procedures use:
// the machine-wide write probes, the Send To folder, shortcuts and the shell
// launcher.
#pragma once

#include <cstdint>
#include <string>

#include "shell/registry_backend.h"
#include "shell/shell_services.h"

namespace glossira {

inline constexpr int kSwShowNormal = 1;  // SW_SHOWNORMAL

// Whether a machine-wide key opens with full access. Never fails.
bool HasMachineWriteAccess(RegistryBackend& registry);
bool LacksMachineWriteAccess(RegistryBackend& registry);

// The user's Send To folder with one trailing backslash, or "" when it is
// not recorded. A "SendTo" value that is not text fails with Error.
std::string SendToFolder(RegistryBackend& registry);

// A shortcut to `target` with its folder (separator kept) as working dir.
void CreateShortcut(ShellServices& shell, const std::string& linkPath, const std::string& arguments,
                    const std::string& target);

// Opens `file` through the shell, or with `wait` starts it as a program and
// waits until it ends. Show 0 means SW_SHOWNORMAL; an empty directory means
// the file's folder. Waiting: false for a missing file; the program path is
// quoted in the command line and its folder is the current directory.
bool ShellLaunch(ShellServices& shell, const std::string& file, const std::string& parameters,
                 const std::string& directory, bool wait, int show);
// Exit code of the program the last waiting ShellLaunch started; every
// ShellLaunch call resets it to 0.
std::int32_t LastExitCode();

// The help file of the program folder, opened through the shell.
void OpenHelp(ShellServices& shell, const std::string& programDir);

}  // namespace glossira
