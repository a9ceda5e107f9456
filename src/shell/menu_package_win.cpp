#include "shell/menu_package_win.h"

#include <windows.h>

#include "core/error.h"
#include "core/unique_win.h"
#include "core/wide_win.h"

namespace glossira {
namespace {

std::wstring BuildNumber()
{
    wchar_t text[64] = {};
    DWORD size = sizeof text - sizeof(wchar_t);
    if (RegGetValueW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", L"CurrentBuildNumber",
                     RRF_RT_REG_SZ, nullptr, text, &size) != ERROR_SUCCESS)
        return {};
    return text;
}

bool IsFile(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The command's standard output; it is ended when it takes longer than `ms`.
std::string RunAndRead(std::wstring command, DWORD ms)
{
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    UniqueHandle read, write;
    if (!CreatePipe(read.put(), write.put(), &inherit, 0)) return {};
    SetHandleInformation(read.get(), HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    startup.hStdOutput = write.get();
    startup.hStdError = write.get();
    PROCESS_INFORMATION info = {};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr, &startup,
                        &info))
        return {};
    UniqueHandle process(info.hProcess);
    UniqueHandle thread(info.hThread);
    write.reset();
    std::string output;
    const ULONGLONG deadline = GetTickCount64() + ms;
    for (;;) {
        DWORD waiting = 0;
        if (!PeekNamedPipe(read.get(), nullptr, 0, nullptr, &waiting, nullptr)) break;  // closed: it ended
        if (waiting > 0) {
            char buffer[4096];
            DWORD got = 0;
            if (!ReadFile(read.get(), buffer, sizeof buffer, &got, nullptr) || got == 0) break;
            output.append(buffer, got);
            continue;
        }
        if (GetTickCount64() > deadline) {
            TerminateProcess(process.get(), 1);
            break;
        }
        WaitForSingleObject(process.get(), 50);
    }
    return output;
}

}  // namespace

std::optional<bool> ApplyMenuPackage(const std::string& programDir, MenuPackageAction action)
try {
    if (!IsWindows11Build(Narrow(BuildNumber()))) return std::nullopt;
    const std::wstring dir = Wide(programDir);
    if (!IsFile(dir + Wide(kMenuPackageFile)) || !IsFile(dir + Wide(kMenuPackageScript))) return std::nullopt;
    wchar_t system[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryW(system, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return std::nullopt;
    const std::string command = MenuPackageCommand(Narrow(std::wstring(system, length) + L"\\"), programDir, action);
    const bool held = NamesMenuPackage(RunAndRead(Wide(command), 120000));
    return action == MenuPackageAction::Register ? held : !held;
} catch (const Error&) {
    return false;  // a path beyond Windows-1251: the classic menu serves alone
}

}  // namespace glossira
