#include "shell/shell_win.h"

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstdio>

#include "core/error.h"
#include "core/messages.h"
#include "core/unique_win.h"
#include "core/wide_win.h"
#include "shell/com_win.h"

namespace glossira {
namespace {

// The system's text for a COM failure code, else "OLE error" with the code.
std::string OleMessage(HRESULT hr)
{
    if (std::string text = SystemText(static_cast<DWORD>(hr)); !text.empty()) return text;
    char code[16];
    std::snprintf(code, sizeof code, "%.8lx", static_cast<unsigned long>(hr));
    return Format(msg::OleError(), code);
}

const wchar_t* OrNull(const std::wstring& s) { return s.empty() ? nullptr : s.c_str(); }

struct HookTraits {
    using Type = HHOOK;
    static Type Empty() { return nullptr; }
    static void Close(Type h) { ::UnhookWindowsHookEx(h); }
};
using UniqueHook = Unique<HookTraits>;

constexpr UINT_PTR kNoOnEscapeId = 1;

// A Yes/No message box has no Cancel button, so Windows ignores Escape (its
// IDCANCEL); turn that IDCANCEL into No.
LRESULT CALLBACK NoOnEscape(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR)
{
    if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
        wParam = MAKEWPARAM(IDNO, BN_CLICKED);
        lParam = reinterpret_cast<LPARAM>(GetDlgItem(hwnd, IDNO));
    } else if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(hwnd, NoOnEscape, kNoOnEscapeId);
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

// Subclasses the message box of this thread when it is activated.
LRESULT CALLBACK WatchForMessageBox(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_ACTIVATE) {
        HWND window = reinterpret_cast<HWND>(wParam);
        wchar_t name[16] = {};
        GetClassNameW(window, name, 16);
        if (lstrcmpW(name, L"#32770") == 0) SetWindowSubclass(window, NoOnEscape, kNoOnEscapeId, 0);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

void Win32Shell::CreateLink(const std::string& linkPath, const std::string& arguments, const std::string& target,
                            const std::string& workingDir)
{
    ComPtr<IUnknown> object;
    HRESULT hr = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IUnknown,
                                  object.put());
    if (FAILED(hr)) throw Error(OleMessage(hr), static_cast<std::uint32_t>(hr));
    ComPtr<IShellLinkW> link;
    ComPtr<IPersistFile> file;
    hr = object->QueryInterface(IID_IShellLinkW, link.put());
    if (SUCCEEDED(hr)) hr = object->QueryInterface(IID_IPersistFile, file.put());
    if (FAILED(hr)) throw Error(msg::InterfaceNotSupported(), static_cast<std::uint32_t>(hr));
    const std::wstring path = Wide(linkPath);
    link->SetArguments(Wide(arguments).c_str());
    link->SetPath(Wide(target).c_str());
    link->SetWorkingDirectory(Wide(workingDir).c_str());
    hr = file->Save(path.c_str(), FALSE);
    if (FAILED(hr))
        throw Error(Format(msg::CannotCreateFile(), linkPath, OleMessage(hr)), static_cast<std::uint32_t>(hr));
}

bool Win32Shell::EraseFile(const std::string& path) { return DeleteFileW(Wide(path).c_str()) != FALSE; }

bool Win32Shell::FileExists(const std::string& path)
{
    DWORD attributes = GetFileAttributesW(Wide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32Shell::ShellOpen(const std::string& file, const std::string& parameters, const std::string& directory,
                           int show)
{
    const std::wstring wideFile = Wide(file), wideParameters = Wide(parameters), dir = Wide(directory);
    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_FLAG_NO_UI;  // a missing help file shows nothing
    info.hwnd = GetActiveWindow();
    info.lpVerb = L"open";
    info.lpFile = wideFile.c_str();
    info.lpParameters = wideParameters.c_str();
    info.lpDirectory = OrNull(dir);
    info.nShow = show;
    return ShellExecuteExW(&info) && reinterpret_cast<UINT_PTR>(info.hInstApp) > 32;
}

std::optional<std::int32_t> Win32Shell::RunAndWait(const std::string& commandLine, const std::string& currentDir,
                                                   int show)
{
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(show);
    PROCESS_INFORMATION info = {};
    std::wstring command = Wide(commandLine);  // CreateProcessW may write into it
    const std::wstring dir = Wide(currentDir);
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NEW_CONSOLE | NORMAL_PRIORITY_CLASS,
                        nullptr, OrNull(dir), &startup, &info))
        return std::nullopt;
    UniqueHandle process(info.hProcess);
    UniqueHandle thread(info.hThread);
    WaitForSingleObject(process.get(), INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(process.get(), &code);
    return static_cast<std::int32_t>(code);
}

bool Win32Dialogs::Confirm(const std::string& text, const std::string& caption)
{
    UniqueHook hook(SetWindowsHookExW(WH_CBT, WatchForMessageBox, nullptr, GetCurrentThreadId()));
    // No owner: the box is centred on the screen; task-modal disables the
    // thread's windows meanwhile.
    int answer = MessageBoxW(nullptr, Wide(text).c_str(), Wide(caption).c_str(),
                             MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON1 | MB_TASKMODAL);
    return answer == IDYES;
}

void Win32Dialogs::Inform(const std::string& text, const std::string& title)
{
    MessageBoxW(nullptr, Wide(text).c_str(), Wide(title).c_str(), MB_OK | MB_TASKMODAL);
}

}  // namespace glossira
