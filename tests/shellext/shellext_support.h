// What the library's tests share: where the library lies, saving the editors
// its items start, and its unload answer.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <memory>
#include <string>
#include <vector>

namespace glossira::e2e {

std::wstring ProgramFolder();
std::wstring LibraryPath();

struct PidlFree {
    void operator()(ITEMIDLIST* p) const { CoTaskMemFree(p); }
};
using UniquePidl = std::unique_ptr<ITEMIDLIST, PidlFree>;

// Saves the editor with "Запись и Выход" and waits until its process ended.
void SaveEditor(HWND editor);
// One editor after the other, each on its file and saved before the next shows.
void SaveInTurn(const std::vector<std::wstring>& names);

// The loaded library's DllCanUnloadNow; E_FAIL when it is not loaded.
HRESULT CanUnload();

}  // namespace glossira::e2e
