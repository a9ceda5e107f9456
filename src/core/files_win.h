// The file system of Windows.
#pragma once

#include "core/file_system.h"

namespace glossira {

class Win32FileSystem final : public FileSystem {
public:
    bool FileExists(const std::string& path) override;
    bool PathExists(const std::string& path);  // a file or a folder
    std::unique_ptr<InputFile> OpenRead(const std::string& path) override;
    std::string ReadWhole(const std::string& path) override;
    void WriteAtomically(const std::string& path, const std::string& bytes) override;
};

}  // namespace glossira
