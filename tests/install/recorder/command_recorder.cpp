// Stands in for a system tool in the install tests (icacls, PowerShell):
// adds the command line it was started with, as one UTF-16 line, to the file
// named by GLOSSIRA_COMMAND_RECORD, writes GLOSSIRA_COMMAND_ANSWER (if any)
// to its standard output, and ends with 0, as Wine's PowerShell stub does.
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
    char answer[4096];
    const DWORD length = GetEnvironmentVariableA("GLOSSIRA_COMMAND_ANSWER", answer, sizeof answer);
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    if (length > 0 && length < sizeof answer && out && out != INVALID_HANDLE_VALUE)
        WriteFile(out, answer, length, &written, nullptr);
    return ok ? 0 : 4;
}
