// The registry as the program needs it: keys named by root and path, values
// with their types. Win32 implementation: registry_win; in-memory double:
// registry_memory. Names are Windows-1251; key names compare case-blind.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace glossira {

enum class RootKey { ClassesRoot, CurrentUser, LocalMachine };

inline constexpr std::uint32_t kKeyRead = 0x20019;       // KEY_READ
inline constexpr std::uint32_t kKeyAllAccess = 0xF003F;  // KEY_ALL_ACCESS

// Value types, numbered as Windows numbers them.
enum class ValueType : std::uint32_t {
    None = 0, String = 1, ExpandString = 2, Binary = 3, DWord = 4, MultiString = 7, QWord = 11
};

struct RegistryValue {
    ValueType type = ValueType::None;
    // String types: the text up to its first NUL, Windows-1251. Other types:
    // the raw bytes (a DWORD as 4 little-endian bytes).
    std::string data;
};

// An open key; closing is the destructor's.
class RegistryKey {
public:
    virtual ~RegistryKey() = default;
};

class RegistryBackend {
public:
    virtual ~RegistryBackend() = default;

    // Opens root\path (path without a leading backslash; empty = the root
    // itself) with the access mask; with create, missing keys on the way are
    // created. nullptr on failure.
    virtual std::unique_ptr<RegistryKey> Open(RootKey root, const std::string& path, bool create,
                                              std::uint32_t access) = 0;
    // The value, or nothing when it does not exist. Name "" = default value.
    virtual std::optional<RegistryValue> Read(RegistryKey& key, const std::string& name) = 0;
    // Whether the value exists, without reading (or converting) its data.
    virtual bool Exists(RegistryKey& key, const std::string& name) { return Read(key, name).has_value(); }
    virtual bool Write(RegistryKey& key, const std::string& name, const RegistryValue& value) = 0;
    virtual bool DeleteValue(RegistryKey& key, const std::string& name) = 0;
    // Names of the direct subkeys, in the registry's order.
    virtual std::vector<std::string> SubKeys(RegistryKey& key) = 0;
    // How many values the key holds, its default value included when set.
    virtual std::size_t ValueCount(RegistryKey& key) = 0;
    // Deletes the subkey `name` of `key`, which must have no subkeys itself.
    virtual bool DeleteSubKey(RegistryKey& key, const std::string& name) = 0;
};

}  // namespace glossira
