// Stands in for the help viewer in end-to-end tests: registered as the open
// command of .chm files, it writes the file it was asked to open and its
// current folder, as two UTF-16 lines, to the file named by
// GLOSSIRA_HELP_RECORD, and ends.
#include <windows.h>
#include <shellapi.h>

#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    wchar_t record[32768];
    if (!GetEnvironmentVariableW(L"GLOSSIRA_HELP_RECORD", record, 32768)) return 2;
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    std::wstring text = argv && argc > 1 ? argv[1] : L"";
    wchar_t folder[32768];
    DWORD length = GetCurrentDirectoryW(32768, folder);
    text += L"\n" + std::wstring(folder, length) + L"\n";
    // Written aside and moved into place, so that a reader sees all or nothing.
    std::wstring partial = std::wstring(record) + L".part";
    HANDLE file = CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 3;
    DWORD written = 0;
    BOOL ok = WriteFile(file, text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t)), &written, nullptr);
    CloseHandle(file);
    if (!ok || !MoveFileExW(partial.c_str(), record, MOVEFILE_REPLACE_EXISTING)) return 4;
    return 0;
}
