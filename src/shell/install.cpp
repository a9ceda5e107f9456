#include "shell/install.h"

#include "core/cp1251.h"
#include "core/error.h"
#include "core/messages.h"
#include "core/paths.h"
#include "shell/registry_store.h"
#include "shell/shell_ops.h"

namespace glossira {
namespace {

const std::string& ShortcutName()
{
    static const std::string name = FromUtf8("Глоссира.lnk");
    return name;
}

std::string ClassKey(const char* classId = kHandlerClassId) { return std::string("CLSID\\") + classId; }
constexpr const char* kHandlerKey = "*\\shellex\\ContextMenuHandlers\\Glossira";
// Folders, drives and folder windows: where files are dropped.
constexpr const char* kDropHandlerKeys[] = {"Directory\\shellex\\DragDropHandlers\\Glossira",
                                            "Drive\\shellex\\DragDropHandlers\\Glossira",
                                            "Folder\\shellex\\DragDropHandlers\\Glossira"};
constexpr const char* kRunOnceKey = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";

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
    void operator()(const MakeShortcut& a) const { shell.CreateLink(a.link, a.arguments, a.target, a.workingDir); }
    void operator()(const RemoveFile& a) const { shell.EraseFile(a.path); }
};

}  // namespace

InstallPlan InstallSendToPlan(const std::string& sendToFolder, const std::string& exePath)
{
    return {MakeShortcut{sendToFolder + ShortcutName(), "", exePath, FolderWithSeparator(exePath)}};
}

InstallPlan RemoveSendToPlan(const std::string& sendToFolder) { return {RemoveFile{sendToFolder + ShortcutName()}}; }

// The class key and its in-process server, tavrex.dll.
InstallPlan ClassPlan(const char* classId, const char* name, const std::string& programDir)
{
    const std::string classKey = ClassKey(classId);
    const std::string serverKey = classKey + "\\InprocServer32";
    return {
        WriteKeyValues{RootKey::ClassesRoot, classKey, {{"", name}}, CannotCreate(classKey)},
        // A server key that cannot be opened fails on its threading model.
        WriteKeyValues{RootKey::ClassesRoot, serverKey,
                       {{"", programDir + "tavrex.dll"}, {"ThreadingModel", "Apartment"}},
                       CannotSet("ThreadingModel")},
    };
}

InstallPlan RegisterContextMenuPlan(const std::string& programDir, const std::string& exePath)
{
    InstallPlan plan = ClassPlan(kHandlerClassId, "Glossira", programDir);
    plan.push_back(WriteKeyValues{RootKey::ClassesRoot, kHandlerKey, {{"", kHandlerClassId}}, CannotCreate(kHandlerKey)});
    plan.push_back(WriteKeyValues{RootKey::LocalMachine, kAppPathKey, {{"path", exePath}}, CannotSet("path")});
    Append(plan, ClassPlan(kDropHandlerClassId, "Glossira drop", programDir));
    for (const char* key : kDropHandlerKeys)
        plan.push_back(WriteKeyValues{RootKey::ClassesRoot, key, {{"", kDropHandlerClassId}}, CannotCreate(key)});
    return plan;
}

InstallPlan UnregisterContextMenuPlan()
{
    InstallPlan plan = {
        DeleteKeyTree{RootKey::ClassesRoot, ClassKey()},
        DeleteKeyTree{RootKey::ClassesRoot, kHandlerKey},
        DeleteKeyTree{RootKey::LocalMachine, kAppPathKey},
        DeleteKeyTree{RootKey::ClassesRoot, ClassKey(kDropHandlerClassId)},
    };
    for (const char* key : kDropHandlerKeys) plan.push_back(DeleteKeyTree{RootKey::ClassesRoot, key});
    return plan;
}

InstallPlan FullRemovalPlan(const std::string& sendToFolder, const std::string& programDir)
{
    InstallPlan plan = RemoveSendToPlan(sendToFolder);
    Append(plan, UnregisterContextMenuPlan());
    // Quoted: RunOnce runs the text as a command line, and an unquoted path
    // with blanks would start a program placed at one of its blanks.
    plan.push_back(WriteKeyValues{RootKey::LocalMachine, kRunOnceKey,
                                  {{"glossira", "\"" + programDir + "unins000.exe\""}}, CannotSet("glossira")});
    return plan;
}

void ApplyPlan(const InstallPlan& plan, RegistryBackend& registry, ShellServices& shell)
{
    for (const auto& action : plan) std::visit(Applier{registry, shell}, action);
}

void InstallSendTo(const InstallContext& c)
{
    ApplyPlan(InstallSendToPlan(SendToFolder(c.registry), c.exePath), c.registry, c.shell);
}

void RemoveSendTo(const InstallContext& c)
{
    ApplyPlan(RemoveSendToPlan(SendToFolder(c.registry)), c.registry, c.shell);
}

void RegisterContextMenu(const InstallContext& c)
{
    ApplyPlan(RegisterContextMenuPlan(c.programDir, c.exePath), c.registry, c.shell);
}

void UnregisterContextMenu(const InstallContext& c) { ApplyPlan(UnregisterContextMenuPlan(), c.registry, c.shell); }

RemovalResult ScheduleFullRemoval(const InstallContext& c, Dialogs& dialogs)
{
    if (!dialogs.Confirm(msg::ConfirmRemoval(), msg::ConfirmCaption())) return RemovalResult::Declined;
    ApplyPlan(FullRemovalPlan(SendToFolder(c.registry), c.programDir), c.registry, c.shell);
    dialogs.Inform(msg::RemovedAfterReboot(), msg::AppTitle());
    return RemovalResult::Removed;
}

}  // namespace glossira
