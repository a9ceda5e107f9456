// The program's own registry entries: the settings read at start-up, the
// viewer's colours, and the repair of the comment-file association.
#pragma once

#include <cstdint>

#include "core/settings.h"
#include "shell/registry_backend.h"

namespace glossira {

// The defaults overlaid with what HKEY_LOCAL_MACHINE\Software\Orvik\Glossira
// holds, then with the colours the same key of HKEY_CURRENT_USER holds
// (read-only access; a key that cannot be opened leaves what was there).
// A value of the wrong type fails with "Invalid data type for '%s'".
Settings LoadSettings(RegistryBackend& registry);
// The same into `inOut`, which keeps what was read before a failure. An
// empty Ext becomes "txt", also when a later value fails.
void LoadSettings(RegistryBackend& registry, Settings& inOut);

// Viewer mode: an unquoted open command of "GlossiraFile" (under
// HKEY_LOCAL_MACHINE\Software\Classes, where it is written) gets its program
// quoted, `C:\Tools\glossira.exe %1` -> `"C:\Tools\glossira.exe %1" "%1"`.
// A missing key or value, an empty or already quoted command is left alone;
// so is one whose text before its first quote is blank.
void RepairAssociation(RegistryBackend& registry);

// The viewer's "save colours": ColorBack then ColorText into the settings
// key of the machine, which then also takes the user's own colours away;
// when the machine's key cannot be written, into the same key of
// HKEY_CURRENT_USER, a person's preference. False when neither can be
// written.
bool SaveColors(RegistryBackend& registry, std::uint32_t back, std::uint32_t text);

}  // namespace glossira
