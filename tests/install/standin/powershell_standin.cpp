// Stands in for powershell.exe in the install tests: appends its command
// line (UTF-16, one line) to the file named by GLOSSIRA_POWERSHELL_RECORD,
// prints GLOSSIRA_POWERSHELL_ANSWER, and answers 0 whatever it was asked,
// as Wine's own stub does.
#include <windows.h>

#include <string>

int wmain()
{
    wchar_t record[32768];
    if (GetEnvironmentVariableW(L"GLOSSIRA_POWERSHELL_RECORD", record, 32768)) {
        HANDLE file = CreateFileW(record, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, 0, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            const std::wstring line = std::wstring(GetCommandLineW()) + L"\n";
            DWORD written = 0;
            WriteFile(file, line.data(), static_cast<DWORD>(line.size() * sizeof(wchar_t)), &written, nullptr);
            CloseHandle(file);
        }
    }
    char answer[4096];
    const DWORD length = GetEnvironmentVariableA("GLOSSIRA_POWERSHELL_ANSWER", answer, sizeof answer);
    if (length > 0 && length < sizeof answer) {
        DWORD written = 0;
        WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), answer, length, &written, nullptr);
    }
    return 0;
}
