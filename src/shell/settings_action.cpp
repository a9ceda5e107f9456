#include "shell/settings_action.h"

#include "core/error.h"
#include "core/messages.h"
#include "core/text.h"
#include "shell/file_types.h"
#include "shell/registry_store.h"
#include "shell/shell_ops.h"

namespace glossira {
namespace {

using C = SettingsChoices;

// Installing and removing the same thing exclude each other; full removal
// excludes everything else.
constexpr ChoiceBox kByInstallSendTo[] = {&C::fullRemoval, &C::removeSendTo};
constexpr ChoiceBox kByRemoveSendTo[] = {&C::fullRemoval, &C::installSendTo};
constexpr ChoiceBox kByRegisterMenu[] = {&C::fullRemoval, &C::unregisterContextMenu};
constexpr ChoiceBox kByUnregisterMenu[] = {&C::fullRemoval, &C::registerContextMenu};
constexpr ChoiceBox kByFullRemoval[] = {&C::installSendTo, &C::registerContextMenu, &C::removeSendTo,
                                        &C::unregisterContextMenu};

constexpr struct {
    ChoiceBox box;
    std::span<const ChoiceBox> unchecks;
} kInterlock[] = {
    {&C::installSendTo, kByInstallSendTo},   {&C::removeSendTo, kByRemoveSendTo},
    {&C::registerContextMenu, kByRegisterMenu}, {&C::unregisterContextMenu, kByUnregisterMenu},
    {&C::fullRemoval, kByFullRemoval},
};

// A flag exists as REG_DWORD 1 while set and is deleted when cleared.
void WriteFlag(RegistryStore& store, const char* name, bool set)
{
    if (set) store.WriteBool(name, true);
    else store.DeleteValue(name);
}

}  // namespace

std::span<const ChoiceBox> BoxesUncheckedBy(ChoiceBox box)
{
    for (const auto& rule : kInterlock)
        if (rule.box == box) return rule.unchecks;
    return {};
}

SettingsChoices ChoicesFor(const Settings& s)
{
    SettingsChoices c;
    c.harvestLogs = !s.NoLog;
    c.logNames = s.Strlog;
    c.harvestLogPath = s.LogPath;
    c.logPath = s.PathStrLog;
    c.firstLineOnly = !s.NoOneStr;
    c.zoneInfo = s.ZoneInfo;
    c.ext = s.Ext;
    return c;
}

std::string SavedExtension(std::string_view typed)
{
    std::string ext = TrimSpaces(typed);
    // A character no file name may hold would also name another key than
    // the extension's ("txt\\shell").
    if (ext.empty() || IsSystemFileType(ext) || ext.find_first_of("\\/:*?\"<>|") != std::string::npos) return "###";
    return ext;
}

void SaveSettings(RegistryBackend& registry, const SettingsChoices& c, const std::string& ext,
                  const std::string& exePath, RootKey classesRoot)
{
    RegistryStore store(registry);
    store.SetRoot(RootKey::LocalMachine);
    store.OpenKey(kSettingsKey, true);  // a key that failed to open fails the first write
    store.WriteString("Ext", ext);
    WriteFlag(store, "NoLog", !c.harvestLogs);
    WriteFlag(store, "LogPath", c.harvestLogPath);
    WriteFlag(store, "NoOneStr", !c.firstLineOnly);
    WriteFlag(store, "ZoneInfo", c.zoneInfo);
    store.WriteString("Strlog", c.logNames);
    store.WriteString("PathStrLog", StripQuotes(c.logPath));
    if (c.associate) RegisterFileType(registry, ext, kFileClass, "Glossira Document", exePath, classesRoot);
}

SettingsOutcome SettingsOk(const SettingsChoices& c, const InstallContext& context, Dialogs& dialogs)
{
    SettingsOutcome outcome;
    try {
        if (c.installSendTo) InstallSendTo(context);
        if (c.removeSendTo) RemoveSendTo(context);
        if (!HasMachineWriteAccess(context.registry)) {
            outcome.message = msg::NeedAdministrator();
            return outcome;
        }
        const bool forOneUser = c.registerContextMenu && RegisterContextMenu(context) == Scope::User;
        if (c.unregisterContextMenu) UnregisterContextMenu(context);
        if (c.fullRemoval) {
            outcome.terminate = ScheduleFullRemoval(context, dialogs) != RemovalResult::Declined;
            return outcome;
        }
        const std::string ext = SavedExtension(c.ext);
        outcome.ext = ext;  // shown before anything is written
        // Opening a file type runs the program: for every user only from a
        // folder ordinary users cannot change.
        SaveSettings(context.registry, c, ext, context.exePath, RootOf(ScopeFor(context.shell, context.exePath)));
        outcome.message = msg::SettingsSaved();
        if (forOneUser) *outcome.message += "\r\n\r\n" + msg::MenuForCurrentUser();
        outcome.terminate = true;
    } catch (const Error& e) {
        outcome.error = e.what();
        outcome.message.reset();
        outcome.terminate = false;
    }
    return outcome;
}

}  // namespace glossira
