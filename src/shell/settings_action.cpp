#include "shell/settings_action.h"

#include <array>

#include "core/error.h"
#include "core/messages.h"
#include "core/settings.h"
#include "core/text.h"
#include "shell/registry_store.h"
#include "shell/shell_ops.h"

namespace glossira {
namespace {

constexpr std::array<int, 2> kBy4{5, 8};
constexpr std::array<int, 2> kBy8{5, 4};
constexpr std::array<int, 2> kBy7{5, 9};
constexpr std::array<int, 2> kBy9{5, 7};
constexpr std::array<int, 4> kBy5{4, 7, 8, 9};

// A flag exists as REG_DWORD 1 while set and is deleted when cleared.
void WriteFlag(RegistryStore& store, const char* name, bool set)
{
    if (set) store.WriteBool(name, true);
    else store.DeleteValue(name);
}

}  // namespace

std::span<const int> BoxesUncheckedBy(int box)
{
    switch (box) {
    case 4: return kBy4;
    case 5: return kBy5;
    case 7: return kBy7;
    case 8: return kBy8;
    case 9: return kBy9;
    default: return {};
    }
}

std::string SavedExtension(std::string_view typed)
{
    std::string ext = TrimSpaces(typed);
    const std::string upper = UpperCase1251(ext);
    if (upper == "EXE" || upper == "COM" || upper == "BAT" || ext.empty()) return "###";
    return ext;
}

void SaveSettings(RegistryBackend& registry, const SettingsChoices& c, const std::string& ext,
                  const std::string& exePath)
{
    RegistryStore store(registry);
    store.SetRoot(RootKey::LocalMachine);
    store.OpenKey(kSettingsKey, true);  // a key that failed to open fails the first write
    store.WriteString("Ext", ext);
    WriteFlag(store, "NoLog", !c.CheckBox1);
    WriteFlag(store, "LogPath", c.CheckBox2);
    WriteFlag(store, "NoOneStr", !c.CheckBox3);
    WriteFlag(store, "ZoneInfo", c.CheckBox10);
    store.WriteString("Strlog", c.Edit1);
    store.WriteString("PathStrLog", StripQuotes(c.FilenameEdit1));
    if (c.CheckBox6) RegisterFileType(registry, ext, "GlossiraFile", "Glossira Document", exePath);
}

SettingsOutcome SettingsOk(const SettingsChoices& c, const InstallContext& context, Dialogs& dialogs)
{
    SettingsOutcome outcome;
    try {
        if (c.CheckBox4) InstallSendTo(context);
        if (c.CheckBox8) RemoveSendTo(context);
        if (!HasMachineWriteAccess(context.registry)) {
            outcome.message = msg::NeedAdministrator();
            return outcome;
        }
        if (c.CheckBox7) RegisterContextMenu(context);
        if (c.CheckBox9) UnregisterContextMenu(context);
        if (c.CheckBox5) {
            outcome.terminate = ScheduleFullRemoval(context, dialogs) == RemovalResult::Removed;
            return outcome;
        }
        const std::string ext = SavedExtension(c.Edit2);
        outcome.edit2 = ext;  // shown before anything is written
        SaveSettings(context.registry, c, ext, context.exePath);
        outcome.message = msg::SettingsSaved();
        outcome.terminate = true;
    } catch (const Error& e) {
        outcome.error = e.what();
        outcome.message.reset();
        outcome.terminate = false;
    }
    return outcome;
}

}  // namespace glossira
