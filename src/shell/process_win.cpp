#include "shell/process_win.h"

#include <windows.h>

#include "core/selection.h"
#include "core/unique_win.h"

namespace glossira {

bool StartProgram(const std::wstring& program, const std::vector<std::u16string>& arguments, int show)
{
    const std::u16string name(program.begin(), program.end());
    const std::wstring folder = program.substr(0, program.find_last_of(L'\\') + 1);
    for (const auto& line : QuotedCommandLines(name, arguments)) {
        std::wstring command(line.begin(), line.end());  // CreateProcessW may write into it
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = static_cast<WORD>(show);
        PROCESS_INFORMATION info = {};
        if (!CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS, nullptr,
                            folder.empty() ? nullptr : folder.c_str(), &startup, &info))
            return false;
        UniqueHandle process(info.hProcess);
        UniqueHandle thread(info.hThread);
    }
    return true;
}

}  // namespace glossira
