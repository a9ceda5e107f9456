#include "shell/file_types.h"

#include <algorithm>
#include <iterator>

#include "core/error.h"
#include "core/messages.h"
#include "core/text.h"
#include "shell/registry_store.h"

namespace glossira {
namespace {

// Taking any of these over stops programs, shortcuts, scripts, installers
// or system components from opening.
constexpr std::string_view kSystemTypes[] = {
    "EXE", "COM", "BAT", "CMD", "LNK", "URL", "PIF", "SCF", "MSI", "MSP", "MSC", "CPL", "SCR", "DLL", "OCX", "SYS",
    "DRV", "INF", "REG", "HTA", "JS", "JSE", "VBS", "VBE", "WSF", "WSH", "PS1", "LIBRARY-MS", "SEARCH-MS",
};

std::string ClassesPath(std::string_view key) { return std::string(kClassesKey) + "\\" + std::string(key); }

bool SameName(std::string_view a, std::string_view b) { return UpperCase1251(a) == UpperCase1251(b); }

// The default value's text when it is text, else nothing.
std::optional<std::string> DefaultText(RegistryBackend& registry, RegistryKey& key)
{
    auto value = registry.Read(key, "");
    if (!value || (value->type != ValueType::String && value->type != ValueType::ExpandString)) return std::nullopt;
    return value->data;
}

// Gives one extension key back: the recorded class, or no class at all and,
// for a key the program made, no key when nothing else is in it.
void GiveBack(RegistryBackend& registry, RootKey root, const std::string& name)
{
    RegistryStore store(registry);
    store.SetRoot(root);
    if (!store.OpenKey(ClassesPath(name), false)) return;
    if (store.ValueExists(kPreviousClassValue)) {
        const std::string previous = store.ReadString(kPreviousClassValue);
        if (previous.empty()) store.DeleteValue("");
        else store.WriteString("", previous);
        store.DeleteValue(kPreviousClassValue);
        return;
    }
    store.DeleteValue("");
    store.CloseKey();
    store.DeleteKeyIfEmpty(ClassesPath(name));
}

}  // namespace

bool IsSystemFileType(std::string_view ext)
{
    if (!ext.empty() && ext.front() == '.') ext.remove_prefix(1);
    const std::string upper = UpperCase1251(ext);
    return std::find(std::begin(kSystemTypes), std::end(kSystemTypes), upper) != std::end(kSystemTypes);
}

void RegisterFileType(RegistryBackend& registry, const std::string& ext, const std::string& className,
                      const std::string& description, const std::string& exePath)
{
    if (ext.empty() || className.empty() || exePath.empty()) return;
    const std::string extKey = ext.front() == '.' ? ext : "." + ext;
    // Keys below Software\Classes are named as the user knows them.
    RegistryStore store(registry);
    store.SetRoot(RootKey::LocalMachine);
    if (!store.OpenKey(kClassesKey, true)) throw Error(Format(msg::FailedToCreateKey(), extKey));
    // The class the extension has now is recorded before it is replaced,
    // unless it is already the program's (whose record stays).
    if (auto existing = registry.Open(RootKey::LocalMachine, ClassesPath(extKey), false, kKeyRead)) {
        const std::string current = DefaultText(registry, *existing).value_or("");
        if (!SameName(current, className)) store.WriteSectionString(extKey, kPreviousClassValue, current);
    }
    store.WriteSectionString(extKey, "", className);
    store.WriteSectionString(className, "", description.empty() ? className : description);
    store.WriteSectionString(className + "\\shell\\open\\command", "", "\"" + exePath + "\" \"%1\"");
}

void UnregisterFileType(RegistryBackend& registry, RootKey root, const std::string& className)
{
    if (className.empty()) return;
    std::vector<std::string> ours;
    if (auto classes = registry.Open(root, kClassesKey, false, kKeyRead)) {
        std::vector<std::string> names;
        try {
            names = registry.SubKeys(*classes);
        } catch (const Error&) {
            return;  // a name beyond Windows-1251: the type stays whole rather than half removed
        }
        for (const auto& name : names) {
            if (name.empty() || name.front() != '.') continue;
            try {
                auto key = registry.Open(root, ClassesPath(name), false, kKeyRead);
                auto current = key ? DefaultText(registry, *key) : std::nullopt;
                if (current && SameName(*current, className)) ours.push_back(name);
            } catch (const Error&) {
                // a value beyond Windows-1251 is not the program's
            }
        }
    }
    for (const auto& name : ours) {
        try {
            GiveBack(registry, root, name);
        } catch (const Error&) {
            // left as it is
        }
    }
    RegistryStore store(registry);
    store.SetRoot(root);
    store.DeleteKey(ClassesPath(className));
}

}  // namespace glossira
