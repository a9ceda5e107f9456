#include "shellext/verbs.h"

#include <shellapi.h>

#include <cstring>

#include "core/operation_switches.h"
#include "core/wide_win.h"
#include "shell/process_win.h"
#include "shellext/program_location.h"

namespace glossira::shellext {
namespace {

std::wstring WideAscii(const char* text) { return std::wstring(text, text + std::strlen(text)); }

template <class Char>
HRESULT CopyOut(const std::basic_string<Char>& text, Char* buffer, UINT size)
{
    if (!buffer || size == 0) return E_INVALIDARG;
    const std::size_t n = std::min<std::size_t>(text.size(), size - 1);
    text.copy(buffer, n);
    buffer[n] = 0;
    return S_OK;
}

// The help text in the ANSI code page, which is what the ANSI form means.
std::string AnsiText(const std::wstring& text)
{
    int size = WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                   nullptr);
    std::string out(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    if (size > 0)
        WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), out.data(), size, nullptr, nullptr);
    return out;
}

}  // namespace

int InvokedOffset(const CMINVOKECOMMANDINFO* info, std::span<const Verb> verbs)
{
    const int count = static_cast<int>(verbs.size());
    if (info->cbSize >= sizeof(CMINVOKECOMMANDINFOEX) && (info->fMask & CMIC_MASK_UNICODE)) {
        auto ex = reinterpret_cast<const CMINVOKECOMMANDINFOEX*>(info);
        if (ex->lpVerbW && !IS_INTRESOURCE(ex->lpVerbW)) {
            for (int i = 0; i < count; ++i)
                if (lstrcmpiW(ex->lpVerbW, WideAscii(verbs[i].name).c_str()) == 0) return i;
            return -1;
        }
    }
    if (IS_INTRESOURCE(info->lpVerb)) {
        const int offset = LOWORD(reinterpret_cast<UINT_PTR>(info->lpVerb));
        return offset < count ? offset : -1;
    }
    for (int i = 0; i < count; ++i)
        if (lstrcmpiA(info->lpVerb, verbs[i].name) == 0) return i;
    return -1;
}

HRESULT VerbString(const Verb& verb, UINT type, CHAR* buffer, UINT size)
{
    switch (type) {
    case GCS_VERBA: return CopyOut(std::string(verb.name), buffer, size);
    case GCS_VERBW: return CopyOut(WideAscii(verb.name), reinterpret_cast<wchar_t*>(buffer), size);
    case GCS_HELPTEXTA: return CopyOut(AnsiText(Wide(verb.help())), buffer, size);
    case GCS_HELPTEXTW: return CopyOut(Wide(verb.help()), reinterpret_cast<wchar_t*>(buffer), size);
    case GCS_VALIDATEA:
    case GCS_VALIDATEW: return S_OK;
    default: return E_INVALIDARG;
    }
}

bool InsertItem(HMENU menu, UINT position, UINT id, const std::string& text, HBITMAP picture, HMENU submenu)
{
    std::wstring wide = Wide(text);
    MENUITEMINFOW item = {};
    item.cbSize = sizeof item;
    item.fMask = MIIM_STRING | MIIM_ID | (picture ? MIIM_BITMAP : 0) | (submenu ? MIIM_SUBMENU : 0);
    item.wID = id;
    item.dwTypeData = wide.data();
    item.hbmpItem = picture;
    item.hSubMenu = submenu;
    return InsertMenuItemW(menu, position, TRUE, &item) != FALSE;
}

HRESULT StartVerb(const Verb& verb, const std::vector<std::wstring>& paths, const std::wstring& destination, int show)
{
    if (paths.empty()) return E_UNEXPECTED;
    const std::wstring program = ProgramLocation();
    if (program.empty()) return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
    std::vector<std::u16string> arguments;
    arguments.reserve(paths.size());
    for (const auto& path : paths) arguments.emplace_back(path.begin(), path.end());
    std::vector<std::u16string> switches;
    if (verb.operation)
        switches = OperationSwitches(verb.operation, std::u16string(destination.begin(), destination.end()));
    // A caller that leaves nShow zero still wants to see the program.
    if (StartProgram(program, switches, arguments, show == SW_HIDE ? SW_SHOWNORMAL : show)) return S_OK;
    const DWORD error = GetLastError();
    return error ? HRESULT_FROM_WIN32(error) : E_FAIL;
}

}  // namespace glossira::shellext
