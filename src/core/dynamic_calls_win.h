// The system functions not every supported Windows has, looked up at run
// time in one place. Each is null where this Windows lacks it.
#pragma once

#include <windows.h>

namespace glossira::dyn {

// X(library, function, return type, parameter types): the one list.
#define GLOSSIRA_DYNAMIC_CALLS(X)                                                        \
    X(L"kernel32.dll", SetDefaultDllDirectories, BOOL, (DWORD))                          \
    X(L"user32.dll", GetDpiForWindow, UINT, (HWND))                                      \
    X(L"user32.dll", AdjustWindowRectExForDpi, BOOL, (LPRECT, DWORD, BOOL, DWORD, UINT)) \
    X(L"uxtheme.dll", SetWindowTheme, HRESULT, (HWND, LPCWSTR, LPCWSTR))

#define GLOSSIRA_DECLARE_DYNAMIC_CALL(library, name, result, parameters) \
    using name##Fn = result(WINAPI*) parameters;                         \
    name##Fn name();
GLOSSIRA_DYNAMIC_CALLS(GLOSSIRA_DECLARE_DYNAMIC_CALL)
#undef GLOSSIRA_DECLARE_DYNAMIC_CALL

}  // namespace glossira::dyn
