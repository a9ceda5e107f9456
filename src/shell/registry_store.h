// RegistryStore: the one handle through which every part of the program
// reads and writes the registry. Created for one action, freed at its end.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "shell/registry_backend.h"

namespace glossira {

class RegistryStore {
public:
    explicit RegistryStore(RegistryBackend& backend, std::uint32_t access = kKeyAllAccess);
    ~RegistryStore();
    RegistryStore(const RegistryStore&) = delete;
    RegistryStore& operator=(const RegistryStore&) = delete;

    void SetRoot(RootKey root);  // closes the current key first
    RootKey Root() const { return root_; }
    std::uint32_t Access() const { return access_; }

    // Relative to the current key when one is open, else to the root; a
    // leading backslash makes it relative to the root.
    bool OpenKey(std::string_view path, bool create);
    void CloseKey();
    bool HasCurrentKey() const { return current_ != nullptr; }
    const std::string& CurrentPath() const { return currentPath_; }

    bool ValueExists(std::string_view name);
    std::string ReadString(std::string_view name);      // "" when missing
    std::int32_t ReadInteger(std::string_view name);    // fails when missing
    void WriteString(std::string_view name, std::string_view value);
    void WriteInteger(std::string_view name, std::int32_t value);
    void WriteBool(std::string_view name, bool value);
    bool DeleteValue(std::string_view name);             // missing: false, no error
    std::size_t ValueCount();                            // of the current key; none open: 0
    // With all its subkeys, depth first, each level from its last subkey to
    // its first; the result is that of the key's own deletion (missing:
    // false). An empty path deletes nothing.
    bool DeleteKey(std::string_view path);
    // Deletes the key (relative like OpenKey) when it holds no value and no
    // subkey; the result is that of the deletion.
    bool DeleteKeyIfEmpty(std::string_view path);
    // Creates key `section` (relative like OpenKey) when missing, writes the
    // string value into it; the current key stays as it was.
    void WriteSectionString(std::string_view section, std::string_view name, std::string_view value);

private:
    // The path from the root that `path` names.
    std::string Resolve(std::string_view path) const;
    void Write(std::string_view name, const RegistryValue& value);
    bool DeleteTree(RegistryKey& parent, const std::string& parentPath, std::string_view name);

    RegistryBackend& backend_;
    std::uint32_t access_;
    RootKey root_ = RootKey::CurrentUser;
    std::unique_ptr<RegistryKey> current_;
    std::string currentPath_;
};

}  // namespace glossira
