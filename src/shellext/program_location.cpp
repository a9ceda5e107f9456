#include "shellext/program_location.h"

#include <windows.h>

#include "core/paths.h"
#include "core/wide_win.h"
#include "shell/install.h"
#include "shell/registry_store.h"
#include "shell/registry_win.h"
#include "shellext/module.h"

namespace glossira::shellext {
namespace {

bool IsFile(const std::wstring& path)
{
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string RegisteredPath()
{
    Win32Registry registry;
    RegistryStore store(registry, kKeyRead);
    store.SetRoot(RootKey::LocalMachine);
    if (!store.OpenKey(kAppPathKey, false)) return {};
    return store.ReadString("path");
}

}  // namespace

std::wstring ProgramLocation()
{
    const std::wstring library = ModulePath(ThisModule());
    const std::wstring beside = library.substr(0, library.find_last_of(L'\\') + 1) + L"glossira.exe";
    if (IsFile(beside)) return beside;
    std::string registered;
    try {
        registered = RegisteredPath();
    } catch (...) {
        return {};  // a value of the wrong type or beyond Windows-1251
    }
    if (!IsFullPath(registered)) return {};
    const std::wstring path = Wide(registered);
    return IsFile(path) ? path : std::wstring();
}

}  // namespace glossira::shellext
