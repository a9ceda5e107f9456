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

}  // namespace

HWND VisibleWindowOf(DWORD pid, const wchar_t* className)
{
    FindData data{pid, className, nullptr};
    EnumWindows(&FindTopLevel, reinterpret_cast<LPARAM>(&data));
    return data.found;
}

std::vector<HWND> VisibleWindows(const wchar_t* className, const wchar_t* caption)
{
    struct Search {
        const wchar_t* className;
        const wchar_t* caption;
        std::vector<HWND> found;
    } search{className, caption, {}};
    EnumWindows(
        [](HWND hwnd, LPARAM lp) -> BOOL {
            auto* s = reinterpret_cast<Search*>(lp);
            wchar_t name[64] = {};
            GetClassNameW(hwnd, name, 64);
            if (IsWindowVisible(hwnd) && wcscmp(name, s->className) == 0 && (!s->caption || Text(hwnd) == s->caption))
                s->found.push_back(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindEditor(const std::wstring& name)
{
    const std::wstring suffix = L"   " + name;
    for (HWND editor : VisibleWindows(L"TForm1")) {
        const std::wstring caption = Text(editor);
        if (caption.size() >= suffix.size() && caption.compare(caption.size() - suffix.size(), suffix.size(), suffix) == 0)
            return editor;
    }
    return nullptr;
}

HWND WaitEditor(const std::wstring& name, DWORD timeoutMs)
{
    for (DWORD waited = 0;; waited += 20) {
        if (HWND editor = FindEditor(name)) return editor;
        if (waited >= timeoutMs) return nullptr;
        Sleep(20);
    }
}

bool CloseAndWait(HWND window, DWORD timeoutMs)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
    if (!process) return false;
    CloseBox(window);
    const bool ended = WaitForSingleObject(process, timeoutMs) == WAIT_OBJECT_0;
    CloseHandle(process);
    return ended;
}

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
    // Wine now and then refuses a start with ERROR_INTERNAL_ERROR while the
    // previous program is still going away; a moment later it succeeds.
    bool started = false;
    DWORD error = 0;
    for (int attempt = 0; attempt < 10 && !started; ++attempt) {
        started = CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi);
        error = started ? 0 : GetLastError();
        if (!started && error != ERROR_INTERNAL_ERROR) break;
        if (!started) Sleep(300);
    }
    if (!started) {
        ADD_FAILURE() << "cannot start the program: " << error;
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
        if (HWND hwnd = VisibleWindowOf(pid_, className)) return hwnd;
        Sleep(50);
    }
    ADD_FAILURE() << "no visible window of class " << std::string(className, className + wcslen(className));
    return nullptr;
}

HWND Program::WaitMessageBox(DWORD timeoutMs)
{
    for (DWORD waited = 0; waited <= timeoutMs; waited += 50) {
        if (HWND hwnd = VisibleWindowOf(pid_, L"#32770")) return hwnd;
        if (WaitForSingleObject(process_, 0) == WAIT_OBJECT_0) return nullptr;
        Sleep(50);
    }
    return nullptr;
}

bool Program::HasVisibleWindow(const wchar_t* className) { return VisibleWindowOf(pid_, className) != nullptr; }

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

namespace {

bool IsGroupBox(HWND window)
{
    wchar_t name[16];
    return window && GetClassNameW(window, name, 16) && _wcsicmp(name, L"Button") == 0 &&
           (GetWindowLongW(window, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX;
}

// A group box, or a label that does not notify: the system lets a click on
// either through to the window beneath.
bool LetsClicksThrough(HWND window)
{
    wchar_t name[16];
    return IsGroupBox(window) || (window && GetClassNameW(window, name, 16) && _wcsicmp(name, L"Static") == 0 &&
                                  !(GetWindowLongW(window, GWL_STYLE) & SS_NOTIFY));
}

}  // namespace

bool Clickable(HWND button)
{
    if (!button || !IsWindowVisible(button) || !IsWindowEnabled(button)) return false;
    RECT r{};
    GetWindowRect(button, &r);
    if (r.right <= r.left || r.bottom <= r.top) return false;
    // What a person would hit at the button's centre: the button, not a window over it.
    const POINT centre{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    HWND hit = WindowFromPoint(centre);
    if (hit == button) return true;
    // Wine does not ask another process's windows to hit-test, so a group
    // box around the button or a label reaching over it, which would let the
    // click through, may come first; any other window over the centre covers
    // the button.
    if (!LetsClicksThrough(hit) || GetParent(hit) != GetParent(button)) return false;
    for (HWND above = GetWindow(button, GW_HWNDPREV); above; above = GetWindow(above, GW_HWNDPREV)) {
        RECT a{};
        GetWindowRect(above, &a);
        if (IsWindowVisible(above) && !LetsClicksThrough(above) && PtInRect(&a, centre)) return false;
    }
    return true;
}

void Click(HWND button)
{
    if (!Clickable(button)) {
        ADD_FAILURE() << "the button " << Narrow8(button ? Text(button) : L"(none)")
                      << " is missing, hidden, disabled or covered";
        return;
    }
    // Posted, so the driver goes on while a box the click opens is up; the
    // button itself turns it into its notification.
    PostMessageW(button, BM_CLICK, 0, 0);
}

void Answer(HWND box, int buttonId) { Click(GetDlgItem(box, buttonId)); }

namespace {

HWND FocusOf(HWND window)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
    return info.hwndFocus;
}

}  // namespace

void Type(HWND control, const std::wstring& text)
{
    // The window may still be taking the focus it gets on showing.
    for (DWORD waited = 0; FocusOf(control) != control && waited < 5000; waited += 50) Sleep(50);
    if (FocusOf(control) != control) {
        ADD_FAILURE() << "typing into a control that does not have the focus";
        return;
    }
    for (wchar_t c : text) PostMessageW(control, WM_CHAR, c, 1);
    if (!WaitHandled(control)) ADD_FAILURE() << "the program did not take the typed characters";
}

namespace {

bool IsClass(HWND window, const wchar_t* name)
{
    wchar_t cls[32] = {};
    return GetClassNameW(window, cls, 32) && _wcsicmp(cls, name) == 0;
}

// What a control answers to a message without parameters; -1 when it
// does not answer.
LRESULT Ask(HWND control, UINT message)
{
    DWORD_PTR got = 0;
    if (!SendMessageTimeoutW(control, message, 0, 0, SMTO_NORMAL, 1000, &got)) return -1;
    return static_cast<LRESULT>(got);
}

}  // namespace

bool WaitHandled(HWND window, DWORD timeoutMs)
{
    // Posted messages are handled in order, sent ones before them: a reply
    // proves nothing, a posted change seen done does. The change: a button
    // of the window shown pressed (or released), or else an edit marked
    // modified or not; it is put back afterwards.
    HWND top = IsWindow(window) ? GetAncestor(window, GA_ROOT) : nullptr;
    if (!top) return false;
    HWND button = nullptr, edit = nullptr;
    for (HWND child = GetWindow(top, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!button && IsClass(child, L"Button") && !IsGroupBox(child)) button = child;
        if (!edit && IsClass(child, L"Edit")) edit = child;
    }
    HWND control = button ? button : edit;
    if (!control) {
        ADD_FAILURE() << "the window has no button or text to follow its messages by";
        return false;
    }
    bool handled = false;
    auto wait = [&](auto done) {
        for (DWORD waited = 0; IsWindow(control) && !handled && waited <= timeoutMs; waited += 10) {
            handled = done();
            if (!handled) Sleep(10);
        }
    };
    if (button) {
        const bool pushed = (SendMessageW(button, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
        PostMessageW(button, BM_SETSTATE, !pushed, 0);
        wait([&] {
            const LRESULT state = Ask(button, BM_GETSTATE);
            return state != -1 && ((state & BST_PUSHED) != 0) != pushed;
        });
        if (handled) SendMessageW(button, BM_SETSTATE, pushed, 0);
    } else {
        // The program never asks an edit whether it was modified.
        const bool modified = SendMessageW(edit, EM_GETMODIFY, 0, 0) != 0;
        PostMessageW(edit, EM_SETMODIFY, !modified, 0);
        wait([&] {
            const LRESULT now = Ask(edit, EM_GETMODIFY);
            return now != -1 && (now != 0) != modified;
        });
        if (handled) SendMessageW(edit, EM_SETMODIFY, modified, 0);
    }
    return handled;
}

void PressKey(HWND window, WORD key)
{
    PostMessageW(window, WM_KEYDOWN, key, 1);
    PostMessageW(window, WM_KEYUP, key, 0xC0000001);
}

bool PressXKeys(HWND window, const std::wstring& keys)
{
    RECT r{};
    GetWindowRect(window, &r);
    // Wine starts a Unix program given by its Unix path, but its process
    // handle does not follow it: the program's status comes in a file.
    static int counter = 0;
    const std::wstring done =
        L"/tmp/glossira-xkeys-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++counter);
    std::wstring commandLine = L"/bin/sh -c \"xdotool mousemove " + std::to_wstring((r.left + r.right) / 2) + L" " +
                               std::to_wstring((r.top + r.bottom) / 2) + L" key --delay 50 " + keys + L"; echo $? >" +
                               done + L".tmp; mv " + done + L".tmp " + done + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return false;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    std::wstring status = L"Z:" + done;
    for (auto& c : status)
        if (c == L'/') c = L'\\';
    for (int waited = 0; waited < 10000; waited += 50) {
        std::string code = ReadFileBytes(status);
        if (code != "<missing>") {
            DeleteFileW(status.c_str());
            return code.rfind("0", 0) == 0;
        }
        Sleep(50);
    }
    return false;
}

void ChooseMenu(HWND window, int barIndex, int itemIndex)
{
    PostMessageW(window, WM_SYSCOMMAND, SC_KEYMENU, 0);
    for (int i = 0; i < barIndex; ++i) PressKey(window, VK_RIGHT);
    if (itemIndex >= 0) {
        PressKey(window, VK_DOWN);  // opens the submenu on its first item
        for (int i = 0; i < itemIndex; ++i) PressKey(window, VK_DOWN);
    }
    PressKey(window, VK_RETURN);
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
