#include "shell/process_win.h"

#include <windows.h>

#include "core/command_line.h"
#include "core/list_file.h"
#include "core/unique_win.h"
#include "shell/list_file_win.h"

namespace glossira {
namespace {

constexpr int kStartAttempts = 10;
constexpr DWORD kStartPauseMs = 300;

bool Start(const std::wstring& program, const std::u16string& line, int show)
{
    const std::wstring folder = program.substr(0, program.find_last_of(L'\\') + 1);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(show);
    for (int attempt = 1;; ++attempt) {
        std::wstring command(line.begin(), line.end());  // CreateProcessW may write into it
        PROCESS_INFORMATION info = {};
        if (CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS, nullptr,
                           folder.empty() ? nullptr : folder.c_str(), &startup, &info)) {
            UniqueHandle process(info.hProcess);
            UniqueHandle thread(info.hThread);
            return true;
        }
        if (GetLastError() != ERROR_INTERNAL_ERROR || attempt == kStartAttempts) return false;
        Sleep(kStartPauseMs);
    }
}

}  // namespace

bool StartProgram(const std::wstring& program, const std::vector<std::u16string>& switches,
                  const std::vector<std::u16string>& paths, int show)
{
    const std::u16string name(program.begin(), program.end());
    std::vector<std::u16string> pieces = switches;
    pieces.insert(pieces.end(), paths.begin(), paths.end());
    auto line = QuotedCommandLine(name, pieces);
    std::wstring list;
    if (!line) {
        list = WriteListFile(paths);
        if (list.empty()) return false;
        pieces = switches;
        pieces.emplace_back(kListSwitch);
        pieces.emplace_back(list.begin(), list.end());
        line = QuotedCommandLine(name, pieces);
        if (!line) SetLastError(ERROR_FILENAME_EXCED_RANGE);
    }
    if (line && Start(program, *line, show)) return true;
    const DWORD error = GetLastError();
    if (!list.empty()) DeleteFileW(list.c_str());
    SetLastError(error);
    return false;
}

}  // namespace glossira
