// An in-memory registry that behaves like Windows': three roots, key and
// value names compared case-blind (Windows-1251 upper case) that keep the
// case they were created with, subkeys enumerated in name order, a key with
// subkeys that cannot be deleted directly, handles that check their access
// mask. Tests refuse opens and fail writes on demand, and read the contents.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "shell/registry_backend.h"

namespace glossira {

class MemoryRegistry final : public RegistryBackend {
public:
    MemoryRegistry();
    ~MemoryRegistry() override;
    MemoryRegistry(const MemoryRegistry&) = delete;
    MemoryRegistry& operator=(const MemoryRegistry&) = delete;

    std::unique_ptr<RegistryKey> Open(RootKey root, const std::string& path, bool create,
                                      std::uint32_t access) override;
    std::optional<RegistryValue> Read(RegistryKey& key, const std::string& name) override;
    bool Write(RegistryKey& key, const std::string& name, const RegistryValue& value) override;
    bool DeleteValue(RegistryKey& key, const std::string& name) override;
    std::vector<std::string> SubKeys(RegistryKey& key) override;
    std::size_t ValueCount(RegistryKey& key) override;
    // `name` may be a path below `key`, as RegDeleteKeyW allows.
    bool DeleteSubKey(RegistryKey& key, const std::string& name) override;

    // --- Failures on demand ---
    // root\path and every key below it grant only the rights in `granted`:
    // an open or create asking for more fails, and so does deleting such a
    // key without DELETE (0x10000). LimitAccess(LocalMachine, "Software",
    // kKeyRead) stands for a user without administrator rights.
    void LimitAccess(RootKey root, std::string_view path, std::uint32_t granted);
    // Every open of root\path or a key below it fails.
    void RefuseOpen(RootKey root, std::string_view path) { LimitAccess(root, path, 0); }
    // Writes of the value `name` (case-blind, "" = default value) fail.
    void FailWrites(std::string_view name);
    void FailAllWrites();
    void ClearFailures();  // access limits and write failures

    // --- Contents, bypassing access limits and failures ---
    bool KeyExists(RootKey root, std::string_view path) const;
    std::optional<RegistryValue> Value(RootKey root, std::string_view path, std::string_view name) const;
    std::vector<std::string> SubKeyNames(RootKey root, std::string_view path) const;  // names as created
    // Creates the key (and those on the way) and sets the value.
    void Set(RootKey root, std::string_view path, std::string_view name, const RegistryValue& value);
    void SetString(RootKey root, std::string_view path, std::string_view name, std::string_view text);
    void SetDWord(RootKey root, std::string_view path, std::string_view name, std::uint32_t v);
    // Every key of every root, depth first in enumeration order, one a line,
    // each followed by its values in the order they were first written:
    //   HKEY_LOCAL_MACHINE\Software\Orvik\Glossira
    //     Ext = REG_SZ "txt"
    //     ColorBack = REG_DWORD 0x00FFFFFF
    //     @ = REG_SZ "..."            (the default value)
    // Empty keys are listed too; a root without keys is not.
    std::string Dump() const;
    // Full paths ("HKEY_CURRENT_USER\a\b") of the keys deleted so far, in order.
    const std::vector<std::string>& DeletedKeys() const { return deleted_; }

    // "HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE".
    static const char* RootName(RootKey root);

private:
    struct Node;
    struct Rule;
    class Key;

    std::shared_ptr<Node> Find(RootKey root, std::string_view path) const;
    std::uint32_t Granted(RootKey root, const std::vector<std::string>& components) const;

    std::shared_ptr<Node> roots_[3];
    std::vector<Rule> rules_;
    std::vector<std::string> failingWrites_;  // upper-cased names
    bool failAllWrites_ = false;
    std::vector<std::string> deleted_;
};

}  // namespace glossira
