#include "shell/shell_ops.h"

#include "core/paths.h"
#include "shell/registry_store.h"

namespace glossira {
namespace {

std::int32_t lastExitCode = 0;

constexpr const char* kProbeKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\explorer\\Shell Folders";
constexpr const char* kUserShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

}  // namespace

bool HasMachineWriteAccess(RegistryBackend& registry)
{
    RegistryStore store(registry, kKeyAllAccess);
    store.SetRoot(RootKey::LocalMachine);
    return store.OpenKey(kProbeKey, false);
}

bool LacksMachineWriteAccess(RegistryBackend& registry) { return !HasMachineWriteAccess(registry); }

std::string SendToFolder(RegistryBackend& registry)
{
    RegistryStore store(registry, kKeyRead);
    store.SetRoot(RootKey::CurrentUser);
    std::string folder;
    if (store.OpenKey(kUserShellFolders, false) && store.ValueExists("SendTo")) folder = store.ReadString("SendTo");
    return WithTrailingBackslash(folder);
}

void CreateShortcut(ShellServices& shell, const std::string& linkPath, const std::string& arguments,
                    const std::string& target)
{
    shell.CreateLink(linkPath, arguments, target, FolderWithSeparator(target));
}

bool ShellLaunch(ShellServices& shell, const std::string& file, const std::string& parameters,
                 const std::string& directory, bool wait, int show)
{
    lastExitCode = 0;
    if (show == 0) show = kSwShowNormal;
    const std::string folder = FolderWithSeparator(file);
    if (!wait) return shell.ShellOpen(file, parameters, directory.empty() ? folder : directory, show);

    if (!shell.FileExists(file)) return false;
    // Quoted, so that a folder with blanks cannot start a program placed at
    // one of its blanks instead.
    auto code = shell.RunAndWait("\"" + file + "\" " + parameters, folder, show);
    if (!code) return false;
    lastExitCode = *code;
    return true;
}

std::int32_t LastExitCode() { return lastExitCode; }

void OpenHelp(ShellServices& shell, const std::string& programDir)
{
    ShellLaunch(shell, programDir + "glossira.chm", "", "", false, 0);
}

}  // namespace glossira
