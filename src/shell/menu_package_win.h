// Windows 11's menu package for the current user, through PowerShell and
// the script beside the program.
#pragma once

#include <optional>
#include <string>

#include "shell/menu_package.h"

namespace glossira {

// Nothing when nothing was attempted (not Windows 11, or no package and
// script in `programDir`); otherwise whether the package manager holds the
// package afterwards. Waits for PowerShell two minutes at most.
std::optional<bool> ApplyMenuPackage(const std::string& programDir, MenuPackageAction action);

}  // namespace glossira
