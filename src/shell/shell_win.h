// The Explorer shell and message boxes of Windows.
#pragma once

#include "shell/shell_services.h"

namespace glossira {

// The shell link needs COM initialised on the calling thread.
class Win32Shell final : public ShellServices {
public:
    void CreateLink(const std::string& linkPath, const std::string& arguments, const std::string& target,
                    const std::string& workingDir) override;
    bool EraseFile(const std::string& path) override;
    bool FileExists(const std::string& path) override;
    bool ShellOpen(const std::string& file, const std::string& parameters, const std::string& directory,
                   int show) override;
    std::optional<std::int32_t> RunAndWait(const std::string& commandLine, const std::string& currentDir,
                                           int show) override;
    std::optional<AccessList> ReadAccessList(const std::string& path) override;
};

// Task-modal boxes centred on the screen. The question has Yes (default)
// and No, and Escape answers No.
class Win32Dialogs final : public Dialogs {
public:
    bool Confirm(const std::string& text, const std::string& caption) override;
    void Inform(const std::string& text, const std::string& title) override;
};

}  // namespace glossira
