#include "shellext/program_location.h"

#include <windows.h>

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

bool IsFullPath(const std::wstring& path)
{
    return (path.size() > 2 && path[1] == L':' && path[2] == L'\\') || path.rfind(L"\\\\", 0) == 0;
}

std::wstring RegisteredPath()
{
    Win32Registry registry;
    RegistryStore store(registry, kKeyRead);
    store.SetRoot(RootKey::LocalMachine);
    if (!store.OpenKey(kAppPathKey, false)) return {};
    return Wide(store.ReadString("path"));
}

}  // namespace

std::wstring ProgramLocation()
{
    const std::wstring library = ModulePath(ThisModule());
    const std::wstring beside = library.substr(0, library.find_last_of(L'\\') + 1) + L"glossira.exe";
    if (IsFile(beside)) return beside;
    std::wstring registered;
    try {
        registered = RegisteredPath();
    } catch (...) {
        return {};  // a value of the wrong type or beyond Windows-1251
    }
    if (IsFullPath(registered) && IsFile(registered)) return registered;
    return {};
}

}  // namespace glossira::shellext
