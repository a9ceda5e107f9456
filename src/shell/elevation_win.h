// The running process's token and its elevated restart (ShellExecuteExW,
// verb "runas").
#pragma once

#include "shell/elevation.h"

namespace glossira {

class Win32ProcessToken final : public ProcessToken {
public:
    TokenElevation Elevation() override;
    bool RestartElevated() override;
};

}  // namespace glossira
