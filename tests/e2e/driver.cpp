#include "driver.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace glossira::e2e {
namespace {

struct FindData {
    DWORD pid;
    const wchar_t* className;
    HWND found;
};

BOOL CALLBACK FindTopLevel(HWND hwnd, LPARAM lp)
{
    auto* data = reinterpret_cast<FindData*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid != data->pid || !IsWindowVisible(hwnd)) return TRUE;
    wchar_t name[64];
    GetClassNameW(hwnd, name, 64);
    if (wcscmp(name, data->className) != 0) return TRUE;
    data->found = hwnd;
    return FALSE;
}

HWND FindVisible(DWORD pid, const wchar_t* className)
{
    FindData data{pid, className, nullptr};
    EnumWindows(&FindTopLevel, reinterpret_cast<LPARAM>(&data));
    return data.found;
}

}  // namespace

std::wstring ProgramPath()
{
    const char* env = std::getenv("GLOSSIRA_EXE");
    std::string path = env ? env : "glossira.exe";
    std::wstring wide(path.begin(), path.end());
    if (!wide.empty() && wide[0] == L'/') {
        for (auto& c : wide)
            if (c == L'/') c = L'\\';
        wide = L"Z:" + wide;
    }
    return wide;
}

Program::Program(const std::wstring& arguments) : Program(ProgramPath(), arguments) {}

Program::Program(const std::wstring& program, const std::wstring& arguments)
{
    std::wstring commandLine = L"\"" + program + L"\" " + arguments;
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        ADD_FAILURE() << "cannot start the program: " << GetLastError();
        return;
    }
    CloseHandle(pi.hThread);
    process_ = pi.hProcess;
    pid_ = pi.dwProcessId;
    WaitForInputIdle(process_, 10000);
}

Program::~Program()
{
    if (!process_) return;
    if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
        TerminateProcess(process_, 99);
        WaitForSingleObject(process_, 5000);
    }
    CloseHandle(process_);
}

HWND Program::WaitWindow(const wchar_t* className, DWORD timeoutMs)
{
    for (DWORD waited = 0; waited <= timeoutMs; waited += 50) {
        if (HWND hwnd = FindVisible(pid_, className)) return hwnd;
        Sleep(50);
    }
    ADD_FAILURE() << "no visible window of class " << std::string(className, className + wcslen(className));
    return nullptr;
}

HWND Program::WaitMessageBox(DWORD timeoutMs)
{
    for (DWORD waited = 0; waited <= timeoutMs; waited += 50) {
        if (HWND hwnd = FindVisible(pid_, L"#32770")) return hwnd;
        if (WaitForSingleObject(process_, 0) == WAIT_OBJECT_0) return nullptr;
        Sleep(50);
    }
    return nullptr;
}

bool Program::HasVisibleWindow(const wchar_t* className) { return FindVisible(pid_, className) != nullptr; }

int Program::WaitExit(DWORD timeoutMs)
{
    if (!process_ || WaitForSingleObject(process_, timeoutMs) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    GetExitCodeProcess(process_, &code);
    return static_cast<int>(code);
}

std::wstring Text(HWND window)
{
    auto length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    auto got = SendMessageW(window, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(got));
    return text;
}

std::wstring EditText(HWND edit) { return Text(edit); }

std::wstring MessageText(HWND box) { return Text(GetDlgItem(box, 0xFFFF)); }

HWND Control(HWND parent, int id) { return GetDlgItem(parent, id); }

HWND ControlByText(HWND parent, const std::wstring& text)
{
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (Text(child) == text) return child;
    return nullptr;
}

std::vector<std::wstring> ListItems(HWND list)
{
    std::vector<std::wstring> items;
    auto count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        auto length = SendMessageW(list, LB_GETTEXTLEN, i, 0);
        std::wstring item(static_cast<std::size_t>(length) + 1, L'\0');
        auto got = SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(item.data()));
        item.resize(static_cast<std::size_t>(got > 0 ? got : 0));
        items.push_back(item);
    }
    return items;
}

void Click(HWND button)
{
    PostMessageW(GetParent(button), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                 reinterpret_cast<LPARAM>(button));
}

void Answer(HWND box, int buttonId)
{
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, buttonId)));
}

void Type(HWND control, const std::wstring& text)
{
    for (wchar_t c : text) SendMessageW(control, WM_CHAR, c, 1);
}

void PressKey(HWND window, WORD key)
{
    PostMessageW(window, WM_KEYDOWN, key, 1);
    PostMessageW(window, WM_KEYUP, key, 0xC0000001);
}

void CloseBox(HWND window) { PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0); }

std::string ReadFileBytes(const std::wstring& path)
{
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                           nullptr);
    if (h == INVALID_HANDLE_VALUE) return "<missing>";
    std::string out;
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(h, buffer, sizeof buffer, &got, nullptr) && got) out.append(buffer, got);
    CloseHandle(h);
    return out;
}

void WriteFileBytes(const std::wstring& path, const std::string& bytes)
{
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(h);
}

std::wstring TempFolder(const std::wstring& leaf)
{
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    static int counter = 0;
    std::wstring folder = std::wstring(temp) + leaf + L"-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                          std::to_wstring(++counter) + L"\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

void RemoveFolder(const std::wstring& folder)
{
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = data.cFileName;
            if (name == L"." || name == L"..") continue;
            std::wstring child = folder + name;
            SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveFolder(child + L"\\");
            else DeleteFileW(child.c_str());
        } while (FindNextFileW(find, &data));
        FindClose(find);
    }
    RemoveDirectoryW(folder.c_str());
}

}  // namespace glossira::e2e
