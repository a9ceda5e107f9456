// Stands in for a system tool in the install tests (icacls): adds the
// command line it was started with, as one UTF-16 line, to the file named by
// GLOSSIRA_COMMAND_RECORD, and ends with 0.
#include <windows.h>

#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    wchar_t record[32768];
    if (!GetEnvironmentVariableW(L"GLOSSIRA_COMMAND_RECORD", record, 32768)) return 2;
    HANDLE file = CreateFileW(record, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 3;
    const std::wstring line = std::wstring(GetCommandLineW()) + L"\n";
    DWORD written = 0;
    BOOL ok = WriteFile(file, line.data(), static_cast<DWORD>(line.size() * sizeof(wchar_t)), &written, nullptr);
    CloseHandle(file);
    return ok ? 0 : 4;
}
