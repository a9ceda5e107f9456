// Windows 11's menu package beside the program (glossira-menu.msix), which
// menu-package.ps1 registers or removes for the current user: when it is
// attempted, the command line, and how its answer is read.
#pragma once

#include <string>
#include <string_view>

namespace glossira {

inline constexpr const char* kMenuPackageFile = "glossira-menu.msix";
inline constexpr const char* kMenuPackageScript = "menu-package.ps1";

enum class MenuPackageAction { Register, Remove };

// Windows 11 is build 22000 or later; the value of CurrentBuildNumber.
bool IsWindows11Build(std::string_view currentBuildNumber);

// PowerShell (by its full path under `systemDir`, with its trailing
// backslash) running the script of `programDir` for this user.
std::string MenuPackageCommand(const std::string& systemDir, const std::string& programDir, MenuPackageAction action);

// Whether the script's output says the package manager holds the package:
// a line that starts "registered: Glossira_". Never an exit code: a
// stand-in PowerShell answers 0 to anything.
bool NamesMenuPackage(std::string_view output);

}  // namespace glossira
