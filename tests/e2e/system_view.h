// What the program and its setup leave in the system, read back by tests:
// registry values and keys, files and shell links.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace glossira::e2e {

// The keys the program writes.
inline const std::wstring kClassKey = L"CLSID\\{AECEEFEA-3DF8-11D1-9577-0000837A2FDA}";
inline const std::wstring kHandlerKey = L"*\\shellex\\ContextMenuHandlers\\Glossira";
inline const std::wstring kAppPathKey = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\glossira.exe";
inline const std::wstring kRunOnceKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
inline const std::wstring kSettingsKey = L"Software\\Orvik\\Glossira";

struct RegValue {
    DWORD type = REG_NONE;
    std::wstring text;  // REG_SZ
    DWORD number = 0;   // REG_DWORD
};
std::optional<RegValue> ReadValue(HKEY root, const std::wstring& path, const std::wstring& name);
// A REG_SZ value, "<missing>" or "<type N>".
std::wstring ReadText(HKEY root, const std::wstring& path, const std::wstring& name);
bool KeyExists(HKEY root, const std::wstring& path);

// The user's Send To folder as the registry names it, without a trailing backslash.
std::wstring SendToFolder();
bool FileExists(const std::wstring& path);

struct Shortcut {
    std::wstring target = L"<unreadable>";
    std::wstring arguments;
};
Shortcut ReadShortcut(const std::wstring& link);

}  // namespace glossira::e2e
