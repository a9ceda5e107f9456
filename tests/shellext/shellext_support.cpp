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
