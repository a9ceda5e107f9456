// What the settings window's OK does: the installation choices, the
// privilege probe, then full removal or the saved settings. The window hands
// over its controls' state and applies the outcome.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "shell/install.h"
#include "shell/registry_backend.h"
#include "shell/shell_services.h"

namespace glossira {

// The settings window's controls, named as in the window.
struct SettingsChoices {
    bool CheckBox1 = true;   // harvest the Strlog files (not NoLog)
    bool CheckBox2 = false;  // also harvest FilenameEdit1 (LogPath)
    bool CheckBox3 = true;   // only the first matching line (not NoOneStr)
    bool CheckBox4 = false;  // install the Send To shortcut
    bool CheckBox5 = false;  // full removal
    bool CheckBox6 = false;  // associate the comment extension with the program
    bool CheckBox7 = false;  // register the context menu
    bool CheckBox8 = false;  // remove the Send To shortcut
    bool CheckBox9 = false;  // unregister the context menu
    bool CheckBox10 = false; // the download address from Zone.Identifier (ZoneInfo)
    std::string Edit1 = "reget.log;descript.ion;";
    std::string Edit2 = "txt";
    std::string FilenameEdit1;
};

// The boxes of the installation group that checking `box` (4, 5, 7, 8 or 9)
// unchecks; none for any other box.
std::span<const int> BoxesUncheckedBy(int box);

// The comment extension as saved: trimmed of blanks; EXE, COM and BAT (any
// case) and the empty text become "###".
std::string SavedExtension(std::string_view typed);

// Writes the settings key of HKEY_LOCAL_MACHINE: "Ext" = `ext`, the four
// flags as REG_DWORD 1 or deleted, "Strlog", "PathStrLog" unquoted; then,
// with CheckBox6, the association of `ext`. Fails with the registry's error;
// what was written before stays.
void SaveSettings(RegistryBackend& registry, const SettingsChoices& choices, const std::string& ext,
                  const std::string& exePath);

// What the window does after OK, in this order.
struct SettingsOutcome {
    std::optional<std::string> edit2;    // the new text of Edit2
    std::optional<std::string> error;    // shown in the error box
    std::optional<std::string> message;  // shown in a plain message box
    bool terminate = false;              // then the process ends
};

// The OK button: Send To install/remove, the probe (refused: its message,
// the window stays), context menu register/unregister, then full removal
// (asked through `dialogs`) or SaveSettings. An error stops the action
// where it happens and the window stays open.
SettingsOutcome SettingsOk(const SettingsChoices& choices, const InstallContext& context, Dialogs& dialogs);

}  // namespace glossira
