// The Explorer shell and the user's answers as the shell operations and the
// installation procedures need them. Win32 implementation: shell_win; tests
// use doubles. Every text and path is Windows-1251.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "shell/file_security.h"

namespace glossira {

class ShellServices {
public:
    virtual ~ShellServices() = default;

    // Writes a shell link file (replacing one of that name) to `target`
    // with `arguments` and `workingDir`. Fails with Error when the shell
    // link object cannot be made or the file cannot be saved.
    virtual void CreateLink(const std::string& linkPath, const std::string& arguments,
                            const std::string& target, const std::string& workingDir) = 0;
    // False when the file is missing or cannot be deleted.
    virtual bool EraseFile(const std::string& path) = 0;
    // True for an existing file, false for a folder or nothing.
    virtual bool FileExists(const std::string& path) = 0;
    // Opens a document or program through the shell ("open" verb); an empty
    // directory means none. True when the shell accepted it.
    virtual bool ShellOpen(const std::string& file, const std::string& parameters,
                           const std::string& directory, int show) = 0;
    // Starts a process with its own console and waits until it ends; an
    // empty directory means the caller's. Its exit code, or nothing when it
    // could not be started.
    virtual std::optional<std::int32_t> RunAndWait(const std::string& commandLine,
                                                   const std::string& currentDir, int show) = 0;
    // The owner and access list of a file or folder, or nothing when they
    // cannot be read.
    virtual std::optional<AccessList> ReadAccessList(const std::string& path) = 0;
};

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // A Yes/No question; true only for Yes.
    virtual bool Confirm(const std::string& text, const std::string& caption) = 0;
    // A message with one OK button and no icon.
    virtual void Inform(const std::string& text, const std::string& title) = 0;
};

}  // namespace glossira
