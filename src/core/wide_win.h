// The boundary with Windows: Windows-1251 <-> UTF-16 for the W functions,
// and the system's text for an error code.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace glossira {

std::wstring Wide(std::string_view cp1251);
// Fails with a clear error when a character cannot be held in Windows-1251.
std::string Narrow(std::wstring_view utf16);
std::string NarrowLossy(std::wstring_view utf16);

// FormatMessageW's text for a Win32 error code or an HRESULT, without its
// trailing line end and full stop (the error box adds the full stop); empty
// when the system has none.
std::string SystemText(DWORD code);
// SystemText, or "System error N" when the system has none.
std::string SystemMessage(DWORD code);

// The full path of the running executable, or of the given module.
std::wstring ModulePath(HMODULE module = nullptr);

}  // namespace glossira
