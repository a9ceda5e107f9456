#include "shellext_support.h"

#include <gtest/gtest.h>

#include "driver.h"
#include "inspect.h"
#include "ui/editor_layout.h"

namespace glossira::e2e {

std::wstring ProgramFolder()
{
    const std::wstring exe = ProgramPath();
    return exe.substr(0, exe.find_last_of(L'\\') + 1);
}
std::wstring LibraryPath() { return ProgramFolder() + L"tavrex.dll"; }

HWND FindEditor(const std::wstring& name)
{
    struct Search {
        std::wstring suffix;
        HWND found = nullptr;
    } search{L"   " + name};
    EnumWindows(
        [](HWND hwnd, LPARAM lp) -> BOOL {
            auto* s = reinterpret_cast<Search*>(lp);
            wchar_t cls[32] = {};
            GetClassNameW(hwnd, cls, 32);
            std::wstring caption = Text(hwnd);
            if (IsWindowVisible(hwnd) && std::wstring(cls) == L"TForm1" && caption.size() >= s->suffix.size() &&
                caption.compare(caption.size() - s->suffix.size(), s->suffix.size(), s->suffix) == 0) {
                s->found = hwnd;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitEditor(const std::wstring& name)
{
    HWND editor = nullptr;
    Eventually([&] { return (editor = FindEditor(name)) != nullptr; });
    return editor;
}

void SaveEditor(HWND editor)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(editor, &pid);
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
    ASSERT_TRUE(process);
    Click(Control(editor, editor_ids::kBitBtn2));
    EXPECT_EQ(WaitForSingleObject(process, 15000), WAIT_OBJECT_0);
    CloseHandle(process);
}

void SaveInTurn(const std::vector<std::wstring>& names)
{
    for (std::size_t i = 0; i < names.size(); ++i) {
        HWND editor = WaitEditor(names[i]);
        ASSERT_TRUE(editor) << names[i];
        if (i + 1 < names.size()) {
            EXPECT_FALSE(FindEditor(names[i + 1]));
        }
        SaveEditor(editor);
    }
}

HRESULT CanUnload()
{
    using CanUnloadFn = HRESULT(WINAPI*)();
    HMODULE library = GetModuleHandleW(LibraryPath().c_str());
    if (!library) return E_FAIL;
    auto fn = reinterpret_cast<CanUnloadFn>(reinterpret_cast<void*>(GetProcAddress(library, "DllCanUnloadNow")));
    return fn ? fn() : E_FAIL;
}

}  // namespace glossira::e2e
