#include "shell/install.h"

#include "core/cp1251.h"
#include "core/error.h"
#include "core/messages.h"
#include "core/paths.h"
#include "core/settings.h"
#include "shell/file_security.h"
#include "shell/file_types.h"
#include "shell/registry_store.h"
#include "shell/shell_ops.h"

namespace glossira {
namespace {

const std::string& ShortcutName()
{
    static const std::string name = FromUtf8("Глоссира.lnk");
    return name;
}

constexpr const char* kRunOnceKey = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
constexpr Scope kScopes[] = {Scope::Machine, Scope::User};

std::string Classes(const std::string& key) { return std::string(kClassesKey) + "\\" + key; }
std::string ClassKey(const ShellExtensionClass& c) { return std::string("CLSID\\") + c.classId; }

std::string CannotCreate(const std::string& key) { return Format(msg::FailedToCreateKey(), key); }
std::string CannotSet(const std::string& name) { return Format(msg::FailedToSetData(), name); }

void Append(InstallPlan& plan, InstallPlan more)
{
    for (auto& action : more) plan.push_back(std::move(action));
}

struct Applier {
    RegistryBackend& registry;
    ShellServices& shell;

    void operator()(const WriteKeyValues& a) const
    {
        RegistryStore store(registry);
        store.SetRoot(a.root);
        if (!store.OpenKey(a.key, true)) throw Error(a.openFailure);
        for (const auto& [name, data] : a.values) store.WriteString(name, data);
    }
    void operator()(const DeleteKeyTree& a) const
    {
        RegistryStore store(registry);
        store.SetRoot(a.root);
        store.DeleteKey(a.key);
    }
    void operator()(const DeleteEmptyKey& a) const
    {
        RegistryStore store(registry);
        store.SetRoot(a.root);
        store.DeleteKeyIfEmpty(a.key);
    }
    void operator()(const ReleaseFileType& a) const { UnregisterFileType(registry, a.root, kFileClass); }
    void operator()(const MakeShortcut& a) const { shell.CreateLink(a.link, a.arguments, a.target, a.workingDir); }
    void operator()(const RemoveFile& a) const { shell.EraseFile(a.path); }
};

}  // namespace

const std::vector<ShellExtensionClass>& ShellExtensionClasses()
{
    static const std::vector<ShellExtensionClass> classes = {
        {kHandlerClassId, "Glossira", {"*\\shellex\\ContextMenuHandlers\\Glossira"}},
        // Folders, drives and folder windows: where files are dropped.
        {kDropHandlerClassId,
         "Glossira drop",
         {"Directory\\shellex\\DragDropHandlers\\Glossira", "Drive\\shellex\\DragDropHandlers\\Glossira",
          "Folder\\shellex\\DragDropHandlers\\Glossira"}},
    };
    return classes;
}

RootKey RootOf(Scope scope) { return scope == Scope::Machine ? RootKey::LocalMachine : RootKey::CurrentUser; }

InstallPlan InstallSendToPlan(const std::string& sendToFolder, const std::string& exePath)
{
    return {MakeShortcut{sendToFolder + ShortcutName(), "", exePath, FolderWithSeparator(exePath)}};
}

InstallPlan RemoveSendToPlan(const std::string& sendToFolder) { return {RemoveFile{sendToFolder + ShortcutName()}}; }

InstallPlan RegisterContextMenuPlan(const std::string& programDir, const std::string& exePath, Scope scope)
{
    const RootKey root = RootOf(scope);
    InstallPlan plan;
    for (const auto& c : ShellExtensionClasses()) {
        const std::string classKey = ClassKey(c);
        const std::string serverKey = classKey + "\\InprocServer32";
        plan.push_back(WriteKeyValues{root, Classes(classKey), {{"", c.name}}, CannotCreate(classKey)});
        // A server key that cannot be opened fails on its threading model.
        plan.push_back(WriteKeyValues{root, Classes(serverKey),
                                      {{"", programDir + kHandlerLibrary}, {"ThreadingModel", "Apartment"}},
                                      CannotSet("ThreadingModel")});
        for (const char* key : c.shellKeys)
            plan.push_back(WriteKeyValues{root, Classes(key), {{"", c.classId}}, CannotCreate(key)});
    }
    // The default value is what Windows reads (Win+R "glossira").
    plan.push_back(WriteKeyValues{root, kAppPathKey, {{"path", exePath}, {"", exePath}}, CannotSet("path")});
    return plan;
}

InstallPlan UnregisterContextMenuPlan()
{
    InstallPlan plan;
    for (Scope scope : kScopes) {
        const RootKey root = RootOf(scope);
        for (const auto& c : ShellExtensionClasses()) {
            plan.push_back(DeleteKeyTree{root, Classes(ClassKey(c))});
            for (const char* key : c.shellKeys) plan.push_back(DeleteKeyTree{root, Classes(key)});
        }
        plan.push_back(DeleteKeyTree{root, kAppPathKey});
    }
    return plan;
}

InstallPlan ScheduledRemovalPlan(const std::string& sendToFolder, const std::string& programDir, Scope runOnce)
{
    InstallPlan plan = RemoveSendToPlan(sendToFolder);
    Append(plan, UnregisterContextMenuPlan());
    // Quoted: RunOnce runs the text as a command line, and an unquoted path
    // with blanks would start a program placed at one of its blanks. Silent:
    // the user has answered already, and a question waiting at the next
    // logon, answered No, would leave the system half removed.
    plan.push_back(WriteKeyValues{RootOf(runOnce), kRunOnceKey,
                                  {{"glossira", "\"" + programDir + kUninstaller + "\" /S"}}, CannotSet("glossira")});
    return plan;
}

InstallPlan ImmediateRemovalPlan(const std::string& sendToFolder)
{
    InstallPlan plan = RemoveSendToPlan(sendToFolder);
    Append(plan, UnregisterContextMenuPlan());
    for (Scope scope : kScopes) {
        const RootKey root = RootOf(scope);
        plan.push_back(ReleaseFileType{root});
        plan.push_back(DeleteKeyTree{root, kSettingsKey});
        plan.push_back(DeleteEmptyKey{root, "Software\\Orvik"});  // the maker's key, when nothing else is in it
    }
    return plan;
}

void ApplyPlan(const InstallPlan& plan, RegistryBackend& registry, ShellServices& shell)
{
    for (const auto& action : plan) std::visit(Applier{registry, shell}, action);
}

Scope ScopeFor(ShellServices& shell, const std::string& file)
{
    return OrdinaryUsersMayChange(shell, file) ? Scope::User : Scope::Machine;
}

void InstallSendTo(const InstallContext& c)
{
    ApplyPlan(InstallSendToPlan(SendToFolder(c.registry), c.exePath), c.registry, c.shell);
}

void RemoveSendTo(const InstallContext& c)
{
    ApplyPlan(RemoveSendToPlan(SendToFolder(c.registry)), c.registry, c.shell);
}

Scope RegisterContextMenu(const InstallContext& c)
{
    const Scope scope = ScopeFor(c.shell, c.programDir + kHandlerLibrary);
    ApplyPlan(RegisterContextMenuPlan(c.programDir, c.exePath, scope), c.registry, c.shell);
    return scope;
}

void UnregisterContextMenu(const InstallContext& c) { ApplyPlan(UnregisterContextMenuPlan(), c.registry, c.shell); }

RemovalResult ScheduleFullRemoval(const InstallContext& c, Dialogs& dialogs)
{
    if (!dialogs.Confirm(msg::ConfirmRemoval(), msg::ConfirmCaption())) return RemovalResult::Declined;
    const std::string uninstaller = c.programDir + kUninstaller;
    if (!c.shell.FileExists(uninstaller)) {
        // A portable copy: nothing would run at the next logon.
        ApplyPlan(ImmediateRemovalPlan(SendToFolder(c.registry)), c.registry, c.shell);
        dialogs.Inform(msg::RemovedNow(), msg::AppTitle());
        return RemovalResult::Removed;
    }
    ApplyPlan(ScheduledRemovalPlan(SendToFolder(c.registry), c.programDir, ScopeFor(c.shell, uninstaller)),
              c.registry, c.shell);
    dialogs.Inform(msg::RemovedAfterReboot(), msg::AppTitle());
    return RemovalResult::Scheduled;
}

}  // namespace glossira
