// What the settings window's OK does: the installation choices, the
// privilege probe, then full removal or the saved settings. The window hands
// over its controls' state and applies the outcome.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/settings.h"
#include "shell/install.h"
#include "shell/registry_backend.h"
#include "shell/shell_services.h"

namespace glossira {

// What the settings window's controls hold, group by group.
struct SettingsChoices {
    // The installation group.
    bool installSendTo = false;          // install the Send To shortcut
    bool registerContextMenu = false;    // register the context menu
    bool removeSendTo = false;           // remove the Send To shortcut
    bool unregisterContextMenu = false;  // unregister the context menu
    bool fullRemoval = false;
    // Where the additional comment comes from.
    bool harvestLogs = true;  // the Strlog files (not NoLog)
    std::string logNames = kDefaultLogNames;
    bool harvestLogPath = false;  // also PathStrLog (LogPath)
    std::string logPath;
    bool firstLineOnly = true;  // only the first matching line (not NoOneStr)
    bool zoneInfo = false;      // the download address from Zone.Identifier (ZoneInfo)
    // The comment extension.
    std::string ext = kDefaultExt;
    bool associate = false;  // associate the extension with the program
};

using ChoiceBox = bool SettingsChoices::*;

// The boxes of the installation group that checking `box` unchecks; none
// for a box outside that group.
std::span<const ChoiceBox> BoxesUncheckedBy(ChoiceBox box);

// The saved settings as the window shows them; the installation group and
// the association stay unchecked.
SettingsChoices ChoicesFor(const Settings& settings);

// The comment extension as saved: trimmed of blanks; the empty text, a
// type Windows itself needs (IsSystemFileType: EXE, COM, BAT, LNK, ...)
// and a text with a character no file name may hold become "###".
std::string SavedExtension(std::string_view typed);

// Writes the settings key of HKEY_LOCAL_MACHINE: "Ext" = `ext`, the four
// flags as REG_DWORD 1 or deleted, "Strlog", "PathStrLog" unquoted; then,
// with `associate`, the association of `ext` below `classesRoot`. Fails with
// the registry's error; what was written before stays.
void SaveSettings(RegistryBackend& registry, const SettingsChoices& choices, const std::string& ext,
                  const std::string& exePath, RootKey classesRoot = RootKey::LocalMachine);

// What the window does after OK, in this order.
struct SettingsOutcome {
    std::optional<std::string> ext;      // the extension field's new text
    std::optional<std::string> error;    // shown in the error box
    std::optional<std::string> message;  // shown in a plain message box
    bool terminate = false;              // then the process ends
};

// The OK button: Send To install/remove, the probe (refused: its message,
// the window stays), context menu register/unregister, then full removal
// (asked through `dialogs`) or SaveSettings. A context menu registered for
// the current user alone is said in one more sentence of the confirmation.
// An error stops the action where it happens and the window stays open.
SettingsOutcome SettingsOk(const SettingsChoices& choices, const InstallContext& context, Dialogs& dialogs);

}  // namespace glossira
