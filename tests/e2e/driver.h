// Drives the real glossira.exe as a person would: starts it, finds its
// windows and controls, clicks, types, answers message boxes, and waits for
// it to end.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace glossira::e2e {

// The program under test (GLOSSIRA_EXE, a Unix or Windows path).
std::wstring ProgramPath();

class Program {
public:
    // Starts the program with the raw text after its quoted path.
    explicit Program(const std::wstring& arguments);
    // Starts another program, given by its Windows path, the same way.
    Program(const std::wstring& program, const std::wstring& arguments);
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // The visible top-level window of the program with this class; fails
    // the test after the timeout.
    HWND WaitWindow(const wchar_t* className, DWORD timeoutMs = 15000);
    // A visible message box of the program, or nullptr after the timeout.
    HWND WaitMessageBox(DWORD timeoutMs = 15000);
    bool HasVisibleWindow(const wchar_t* className);
    // Waits for the process to end; returns its exit code or -1 on timeout.
    int WaitExit(DWORD timeoutMs = 15000);
    DWORD Pid() const { return pid_; }

private:
    HANDLE process_ = nullptr;
    DWORD pid_ = 0;
};

// A visible top-level window of the process with this class, or nullptr.
HWND VisibleWindowOf(DWORD pid, const wchar_t* className);
// The visible top-level windows of every process with this class (and,
// when given, this caption).
std::vector<HWND> VisibleWindows(const wchar_t* className, const wchar_t* caption = nullptr);
// The visible editor window of any process whose caption ends in three
// blanks and `name`, or nullptr; WaitEditor waits for it.
HWND FindEditor(const std::wstring& name);
HWND WaitEditor(const std::wstring& name, DWORD timeoutMs = 15000);
// Asks a window to close and waits until its process ended.
bool CloseAndWait(HWND window, DWORD timeoutMs = 15000);

// A wide text for a failure message (characters beyond Latin-1 are cut).
inline std::string Narrow8(const std::wstring& w) { return std::string(w.begin(), w.end()); }

std::wstring Text(HWND window);
// The whole text of an edit control, read as a driver can across processes.
std::wstring EditText(HWND edit);
std::wstring MessageText(HWND box);
HWND Control(HWND parent, int id);
HWND ControlByText(HWND parent, const std::wstring& text);
std::vector<std::wstring> ListItems(HWND list);

// Whether a person could click the button: visible, enabled, not covered.
bool Clickable(HWND button);
// Clicks a button without waiting for what it opens; a button a person
// could not click fails the test.
void Click(HWND button);
// Presses one of a message box's buttons (IDOK, IDYES, IDNO).
void Answer(HWND box, int buttonId);
// Types text into the focused control as a person's keys reach it: each
// character posted through the program's message loop. Waits until they
// have been handled; a control without the focus fails the test.
void Type(HWND control, const std::wstring& text);
// Waits until the program has handled every message posted so far to the
// thread of `window` (keys, clicks): true once it has, false when the
// window went away or the program stayed busy past the timeout.
bool WaitHandled(HWND window, DWORD timeoutMs = 15000);
void PressKey(HWND window, WORD key);
// Keys pressed on the X server (xdotool key KEYS) with the pointer over
// `window`, reaching the focused control as a person's keys do; false when
// xdotool cannot run.
bool PressXKeys(HWND window, const std::wstring& keys);
// Chooses a menu item with the keyboard, as F10 and the arrow keys do: the
// bar item `barIndex` (from 0), then, when `itemIndex` is given, that item
// of its submenu.
void ChooseMenu(HWND window, int barIndex, int itemIndex = -1);
// Asks a top-level window to close, as its close box does.
void CloseBox(HWND window);

// Unix path of a Windows-1251 test file, written or read byte for byte.
std::string ReadFileBytes(const std::wstring& path);
void WriteFileBytes(const std::wstring& path, const std::string& bytes);
std::wstring TempFolder(const std::wstring& leaf);
void RemoveFolder(const std::wstring& folder);

// A scratch folder of the test, removed with its files afterwards.
struct Folder {
    std::wstring path = TempFolder(L"glossira-e2e");
    Folder() = default;
    Folder(const Folder&) = delete;
    Folder& operator=(const Folder&) = delete;
    ~Folder() { RemoveFolder(path); }
    std::wstring operator/(const std::wstring& name) const { return path + name; }
};

}  // namespace glossira::e2e
