// The registry of Windows behind RegistryBackend: names and texts converted
// between Windows-1251 and UTF-16 at the boundary, W functions only.
#pragma once

#include "shell/registry_backend.h"

namespace glossira {

class Win32Registry final : public RegistryBackend {
public:
    std::unique_ptr<RegistryKey> Open(RootKey root, const std::string& path, bool create,
                                      std::uint32_t access) override;
    // A text value Windows-1251 cannot hold fails with the error of Narrow().
    std::optional<RegistryValue> Read(RegistryKey& key, const std::string& name) override;
    bool Exists(RegistryKey& key, const std::string& name) override;
    bool Write(RegistryKey& key, const std::string& name, const RegistryValue& value) override;
    bool DeleteValue(RegistryKey& key, const std::string& name) override;
    // A subkey name Windows-1251 cannot hold fails with the error of Narrow().
    std::vector<std::string> SubKeys(RegistryKey& key) override;
    std::size_t ValueCount(RegistryKey& key) override;
    bool DeleteSubKey(RegistryKey& key, const std::string& name) override;
};

}  // namespace glossira
