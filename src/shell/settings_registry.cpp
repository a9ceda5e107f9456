#include "shell/settings_registry.h"

#include "core/error.h"
#include "core/text.h"
#include "shell/file_types.h"
#include "shell/registry_store.h"

namespace glossira {

namespace {

void LoadColors(RegistryStore& store, Settings& s)
{
    if (store.ValueExists("ColorBack")) s.ColorBack = static_cast<std::uint32_t>(store.ReadInteger("ColorBack"));
    if (store.ValueExists("ColorText")) s.ColorText = static_cast<std::uint32_t>(store.ReadInteger("ColorText"));
}

void Load(RegistryStore& store, Settings& s)
{
    // Flags count by existence only; their type and content are never read.
    s.NoLog = s.NoLog || store.ValueExists("NoLog");
    s.LogPath = s.LogPath || store.ValueExists("LogPath");
    s.NoOneStr = s.NoOneStr || store.ValueExists("NoOneStr");
    s.ZoneInfo = s.ZoneInfo || store.ValueExists("ZoneInfo");
    if (store.ValueExists("Ext")) s.Ext = store.ReadString("Ext");
    if (store.ValueExists("Strlog")) s.Strlog = store.ReadString("Strlog");
    if (store.ValueExists("PathStrLog")) s.PathStrLog = store.ReadString("PathStrLog");
    LoadColors(store, s);
}

// Colours are written only together, but each counts on its own.
bool WriteColors(RegistryBackend& registry, RootKey root, std::uint32_t back, std::uint32_t text)
{
    RegistryStore store(registry);
    store.SetRoot(root);
    if (!store.OpenKey(kSettingsKey, true)) return false;
    try {
        store.WriteInteger("ColorBack", static_cast<std::int32_t>(back));
        store.WriteInteger("ColorText", static_cast<std::int32_t>(text));
    } catch (const Error&) {
        return false;
    }
    return true;
}

}  // namespace

Settings LoadSettings(RegistryBackend& registry)
{
    Settings settings;
    LoadSettings(registry, settings);
    return settings;
}

void LoadSettings(RegistryBackend& registry, Settings& inOut)
{
    RegistryStore store(registry, kKeyRead);
    store.SetRoot(RootKey::LocalMachine);
    try {
        if (store.OpenKey(kSettingsKey, false)) Load(store, inOut);
        store.SetRoot(RootKey::CurrentUser);
        if (store.OpenKey(kSettingsKey, false)) LoadColors(store, inOut);
    } catch (...) {
        inOut.DefaultEmptyExt();
        throw;
    }
    inOut.DefaultEmptyExt();
}

void RepairAssociation(RegistryBackend& registry)
{
    RegistryStore store(registry);
    store.SetRoot(RootKey::LocalMachine);  // by name, where the association is written
    const std::string command = std::string(kClassesKey) + "\\" + kFileClass + "\\shell\\open\\command";
    if (!store.OpenKey(command, false) || !store.ValueExists("")) return;
    std::string text = store.ReadString("");
    if (text.empty() || text.front() == '"') return;
    std::string program = TrimSpaces(FieldAt(1, text, '"'));
    // Nothing but blanks before a quote: quoting that would destroy the command.
    if (program.empty()) return;
    store.WriteString("", "\"" + program + "\" \"%1\"");
}

bool SaveColors(RegistryBackend& registry, std::uint32_t back, std::uint32_t text)
{
    if (WriteColors(registry, RootKey::LocalMachine, back, text)) {
        // The user's own colours would hide the ones just saved.
        RegistryStore user(registry);
        user.SetRoot(RootKey::CurrentUser);
        if (user.OpenKey(kSettingsKey, false)) {
            user.DeleteValue("ColorBack");
            user.DeleteValue("ColorText");
            user.CloseKey();
            user.DeleteKeyIfEmpty(kSettingsKey);
            user.DeleteKeyIfEmpty("Software\\Orvik");
        }
        return true;
    }
    return WriteColors(registry, RootKey::CurrentUser, back, text);
}

}  // namespace glossira
