#include "shell/elevation_win.h"

#include <windows.h>
#include <shellapi.h>

#include "core/unique_win.h"
#include "core/wide_win.h"

namespace glossira {

TokenElevation Win32ProcessToken::Elevation()
{
    UniqueHandle token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.put())) return TokenElevation::Default;
    TOKEN_ELEVATION_TYPE type = TokenElevationTypeDefault;
    DWORD size = 0;
    if (!GetTokenInformation(token.get(), TokenElevationType, &type, sizeof type, &size))
        return TokenElevation::Default;
    switch (type) {
    case TokenElevationTypeFull: return TokenElevation::Full;
    case TokenElevationTypeLimited: return TokenElevation::Limited;
    default: return TokenElevation::Default;
    }
}

bool Win32ProcessToken::RestartElevated()
{
    const std::wstring program = ModulePath();
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    // The consent prompt is the system's; a refusal (ERROR_CANCELLED) is
    // no error to show.
    info.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    info.lpVerb = L"runas";
    info.lpFile = program.c_str();
    info.nShow = SW_SHOWNORMAL;
    return ShellExecuteExW(&info) != FALSE;
}

}  // namespace glossira
