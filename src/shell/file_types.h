// The comment files' type: an extension taken over for the program's class
// under HKEY_LOCAL_MACHINE\Software\Classes, by name (never through the
// merged HKEY_CLASSES_ROOT), and given back to the class it had.
#pragma once

#include <string>
#include <string_view>

#include "shell/registry_backend.h"

namespace glossira {

inline constexpr const char* kClassesKey = "Software\\Classes";
inline constexpr const char* kFileClass = "GlossiraFile";
// Beside the program's class in an extension key it took over, read by the
// uninstaller too: the class the extension had before (absent when it had
// none), and REG_DWORD 1 when the program created the key, 0 when it did not.
inline constexpr const char* kPreviousClassValue = "Glossira.PreviousClass";
inline constexpr const char* kCreatedValue = "Glossira.Created";

// Whether taking the extension over (any case, one leading full stop
// ignored) breaks Windows itself: programs, shortcuts, scripts, installers,
// libraries and the like.
bool IsSystemFileType(std::string_view ext);

// Key "." + ext (one full stop) = className, recording the class it
// replaces; key className = description (className when empty), and
// className\shell\open\command = "exePath" "%1". Nothing when ext,
// className or exePath is empty. A key that cannot be created fails with
// "Failed to create key %s", a value with "Failed to set data for '%s'";
// what was written before stays. Below root\Software\Classes: the
// machine's, or the current user's alone.
void RegisterFileType(RegistryBackend& registry, const std::string& ext, const std::string& className,
                      const std::string& description, const std::string& exePath,
                      RootKey root = RootKey::LocalMachine);

// Every extension key under root\Software\Classes that names className gets
// its recorded class back, or loses its default value and, when the program
// made it (or kept no record, as before records were kept) and nothing else
// is left in it, the key; a key another program has taken back loses only
// the records. Then the class key goes.
// Keys that cannot be changed are left as they are; when the classes cannot
// be listed (a name beyond Windows-1251) nothing is changed. Never fails.
void UnregisterFileType(RegistryBackend& registry, RootKey root, const std::string& className);

}  // namespace glossira
