// The disk and the system's file operation (SHFileOperationW) of Windows,
// for comments that follow their files.
#pragma once

#include <windows.h>

#include "shell/comment_operation.h"

namespace glossira {

class Win32FileOperations final : public FileOperations {
public:
    // The window the system's progress and questions belong to; may be null.
    explicit Win32FileOperations(HWND owner = nullptr) : owner_(owner) {}

    bool IsFile(const std::string& path) override;
    bool Exists(const std::string& path) override;
    std::vector<std::string> FileNames(const std::string& folder) override;
    std::optional<std::string> Read(const std::string& path) override;
    void Write(const std::string& path, const std::string& bytes) override;
    RunOutcome Run(Operation op, const std::vector<Transfer>& items, bool shown) override;

private:
    HWND owner_;
};

}  // namespace glossira
