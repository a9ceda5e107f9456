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

// Gives one extension key back: the recorded class or none, and the key
// itself when the program made it and nothing else is left in it. A key
// that names another class loses only the records.
void GiveBack(RegistryBackend& registry, RootKey root, const std::string& name, bool ours)
{
    RegistryStore store(registry);
    store.SetRoot(root);
    if (!store.OpenKey(ClassesPath(name), false)) return;
    const bool recorded = store.ValueExists(kPreviousClassValue);
    const std::string previous = recorded ? store.ReadString(kPreviousClassValue) : "";
    const bool createdKnown = store.ValueExists(kCreatedValue);
    const bool created = createdKnown && store.ReadInteger(kCreatedValue) == 1;
    store.DeleteValue(kPreviousClassValue);
    store.DeleteValue(kCreatedValue);
    if (!ours) return;
    if (recorded) store.WriteString("", previous);
    else store.DeleteValue("");
    store.CloseKey();
    if (created || (!createdKnown && !recorded)) store.DeleteKeyIfEmpty(ClassesPath(name));
}

}  // namespace

bool IsSystemFileType(std::string_view ext)
{
    if (!ext.empty() && ext.front() == '.') ext.remove_prefix(1);
    const std::string upper = UpperCase1251(ext);
    return std::find(std::begin(kSystemTypes), std::end(kSystemTypes), upper) != std::end(kSystemTypes);
}

void RegisterFileType(RegistryBackend& registry, const std::string& ext, const std::string& className,
                      const std::string& description, const std::string& exePath, RootKey root)
{
    if (ext.empty() || className.empty() || exePath.empty()) return;
    const std::string extKey = ext.front() == '.' ? ext : "." + ext;
    // Keys below Software\Classes are named as the user knows them.
    RegistryStore store(registry);
    store.SetRoot(root);
    if (!store.OpenKey(kClassesKey, true)) throw Error(Format(msg::FailedToCreateKey(), extKey));
    // The class the extension has now is recorded before it is replaced,
    // unless it is already the program's (whose records stay).
    auto existing = registry.Open(root, ClassesPath(extKey), false, kKeyRead);
    const std::optional<std::string> current = existing ? DefaultText(registry, *existing) : std::nullopt;
    if (!existing || !current || !SameName(*current, className)) {
        const bool existed = existing != nullptr;
        const bool createdKnown = existed && registry.Exists(*existing, kCreatedValue);
        existing.reset();
        RegistryStore records(registry);
        records.SetRoot(root);
        if (!records.OpenKey(ClassesPath(extKey), true)) throw Error(Format(msg::FailedToCreateKey(), extKey));
        if (current) records.WriteString(kPreviousClassValue, *current);
        else records.DeleteValue(kPreviousClassValue);
        if (!createdKnown) records.WriteInteger(kCreatedValue, existed ? 0 : 1);
    }
    store.WriteSectionString(extKey, "", className);
    store.WriteSectionString(className, "", description.empty() ? className : description);
    store.WriteSectionString(className + "\\shell\\open\\command", "", "\"" + exePath + "\" \"%1\"");
}

void UnregisterFileType(RegistryBackend& registry, RootKey root, const std::string& className)
{
    if (className.empty()) return;
    std::vector<std::pair<std::string, bool>> touched;  // name, names the class
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
                if (!key) continue;
                auto current = DefaultText(registry, *key);
                const bool named = current && SameName(*current, className);
                if (named || registry.Exists(*key, kPreviousClassValue) || registry.Exists(*key, kCreatedValue))
                    touched.emplace_back(name, named);
            } catch (const Error&) {
                // a value beyond Windows-1251 is not the program's
            }
        }
    }
    for (const auto& [name, named] : touched) {
        try {
            GiveBack(registry, root, name, named);
        } catch (const Error&) {
            // left as it is
        }
    }
    RegistryStore store(registry);
    store.SetRoot(root);
    store.DeleteKey(ClassesPath(className));
}

}  // namespace glossira
