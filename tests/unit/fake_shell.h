// Test doubles of the shell and the user's answers: links are kept as
// records, files as a set of paths, launches are recorded.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "shell/shell_services.h"

namespace glossira {

class FakeShell final : public ShellServices {
public:
    struct Link {
        std::string arguments, target, workingDir;
    };
    struct Launch {
        std::string fileOrCommand, parametersOrEmpty, directory;
        int show;
    };

    std::map<std::string, Link> links;  // by link path
    std::set<std::string> files;        // every existing file, links included
    std::vector<Launch> opens, runs;
    bool openAccepted = true;
    std::optional<std::int32_t> exitCode = 0;  // nothing: the process cannot start
    int calls = 0;
    // Access lists by path; a path not listed has one like Program Files'
    // (Administrators change, Users read and run), an unreadable one none.
    std::map<std::string, AccessList> access;
    std::set<std::string> unreadable;

    void CreateLink(const std::string& linkPath, const std::string& arguments, const std::string& target,
                    const std::string& workingDir) override
    {
        ++calls;
        links[linkPath] = Link{arguments, target, workingDir};
        files.insert(linkPath);
    }
    bool EraseFile(const std::string& path) override
    {
        ++calls;
        links.erase(path);
        return files.erase(path) != 0;
    }
    bool FileExists(const std::string& path) override { return files.count(path) != 0; }
    bool ShellOpen(const std::string& file, const std::string& parameters, const std::string& directory,
                   int show) override
    {
        ++calls;
        opens.push_back({file, parameters, directory, show});
        return openAccepted;
    }
    std::optional<std::int32_t> RunAndWait(const std::string& commandLine, const std::string& currentDir,
                                           int show) override
    {
        ++calls;
        runs.push_back({commandLine, "", currentDir, show});
        return exitCode;
    }
    std::optional<AccessList> ReadAccessList(const std::string& path) override
    {
        if (unreadable.count(path)) return std::nullopt;
        if (auto it = access.find(path); it != access.end()) return it->second;
        return AccessList{"S-1-5-32-544", false, {{true, "S-1-5-32-544", 0x1F01FF}, {true, "S-1-5-32-545", 0x1200A9}}};
    }
};

class ScriptedDialogs final : public Dialogs {
public:
    explicit ScriptedDialogs(bool yes) : yes_(yes) {}
    bool Confirm(const std::string& text, const std::string& caption) override
    {
        questions.push_back(caption + "|" + text);
        return yes_;
    }
    void Inform(const std::string& text, const std::string& title) override { messages.push_back(title + "|" + text); }

    std::vector<std::string> questions, messages;

private:
    bool yes_;
};

}  // namespace glossira
