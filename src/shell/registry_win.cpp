#include "shell/registry_win.h"

#include <windows.h>

#include <vector>

#include "core/unique_win.h"
#include "core/wide_win.h"

namespace glossira {

namespace {

HKEY Predefined(RootKey root)
{
    switch (root) {
    case RootKey::ClassesRoot: return HKEY_CLASSES_ROOT;
    case RootKey::CurrentUser: return HKEY_CURRENT_USER;
    case RootKey::LocalMachine: return HKEY_LOCAL_MACHINE;
    }
    return HKEY_CURRENT_USER;
}

class Win32Key final : public RegistryKey {
public:
    explicit Win32Key(HKEY predefined) : handle_(predefined) {}  // not owned
    explicit Win32Key(UniqueKey owned) : owned_(std::move(owned)), handle_(owned_.get()) {}
    HKEY get() const { return handle_; }

private:
    UniqueKey owned_;
    HKEY handle_;
};

HKEY Handle(RegistryKey& key) { return static_cast<Win32Key&>(key).get(); }

bool IsText(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ; }

}  // namespace

std::unique_ptr<RegistryKey> Win32Registry::Open(RootKey root, const std::string& path, bool create,
                                                 std::uint32_t access)
{
    HKEY base = Predefined(root);
    if (path.empty()) return std::make_unique<Win32Key>(base);
    UniqueKey key;
    std::wstring wpath = Wide(path);
    LONG rc = create ? RegCreateKeyExW(base, wpath.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr,
                                       key.put(), nullptr)
                     : RegOpenKeyExW(base, wpath.c_str(), 0, access, key.put());
    if (rc != ERROR_SUCCESS) return nullptr;
    return std::make_unique<Win32Key>(std::move(key));
}

std::optional<RegistryValue> Win32Registry::Read(RegistryKey& key, const std::string& name)
{
    std::wstring wname = Wide(name);
    DWORD type = REG_NONE;
    DWORD size = 0;
    if (RegQueryValueExW(Handle(key), wname.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return std::nullopt;
    std::vector<BYTE> data;
    for (;;) {
        // Room for a terminating NUL the stored text may lack.
        data.assign(size + sizeof(wchar_t), 0);
        DWORD got = size;
        LONG rc = RegQueryValueExW(Handle(key), wname.c_str(), nullptr, &type, data.data(), &got);
        if (rc == ERROR_SUCCESS) {
            size = got;
            break;
        }
        if (rc != ERROR_MORE_DATA) return std::nullopt;
        size = got;  // the value grew between the calls
    }

    RegistryValue value;
    value.type = static_cast<ValueType>(type);
    if (IsText(type)) {
        std::wstring_view text(reinterpret_cast<const wchar_t*>(data.data()), size / sizeof(wchar_t));
        if (auto nul = text.find(L'\0'); nul != std::wstring_view::npos) text = text.substr(0, nul);
        value.data = Narrow(text);
    } else {
        value.data.assign(reinterpret_cast<const char*>(data.data()), size);
    }
    return value;
}

bool Win32Registry::Exists(RegistryKey& key, const std::string& name)
{
    return RegQueryValueExW(Handle(key), Wide(name).c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

bool Win32Registry::Write(RegistryKey& key, const std::string& name, const RegistryValue& value)
{
    DWORD type = static_cast<DWORD>(value.type);
    std::wstring wname = Wide(name);
    if (IsText(type)) {
        std::wstring text = Wide(value.data);
        auto bytes = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));  // with its NUL
        return RegSetValueExW(Handle(key), wname.c_str(), 0, type, reinterpret_cast<const BYTE*>(text.c_str()),
                              bytes) == ERROR_SUCCESS;
    }
    return RegSetValueExW(Handle(key), wname.c_str(), 0, type, reinterpret_cast<const BYTE*>(value.data.data()),
                          static_cast<DWORD>(value.data.size())) == ERROR_SUCCESS;
}

bool Win32Registry::DeleteValue(RegistryKey& key, const std::string& name)
{
    return RegDeleteValueW(Handle(key), Wide(name).c_str()) == ERROR_SUCCESS;
}

std::vector<std::string> Win32Registry::SubKeys(RegistryKey& key)
{
    std::vector<std::string> names;
    DWORD count = 0;
    DWORD maxLen = 0;
    if (RegQueryInfoKeyW(Handle(key), nullptr, nullptr, nullptr, &count, &maxLen, nullptr, nullptr, nullptr,
                         nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        return names;
    std::vector<wchar_t> buffer(maxLen + 1);
    for (DWORD index = 0;;) {
        DWORD len = static_cast<DWORD>(buffer.size());
        LONG rc = RegEnumKeyExW(Handle(key), index, buffer.data(), &len, nullptr, nullptr, nullptr, nullptr);
        if (rc == ERROR_MORE_DATA) {
            buffer.resize(buffer.size() * 2);
            continue;
        }
        if (rc != ERROR_SUCCESS) break;
        names.push_back(Narrow(std::wstring_view(buffer.data(), len)));
        ++index;
    }
    return names;
}

std::size_t Win32Registry::ValueCount(RegistryKey& key)
{
    DWORD count = 0;
    if (RegQueryInfoKeyW(Handle(key), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, nullptr, nullptr,
                         nullptr, nullptr) != ERROR_SUCCESS)
        return 0;
    return count;
}

bool Win32Registry::DeleteSubKey(RegistryKey& key, const std::string& name)
{
    return RegDeleteKeyW(Handle(key), Wide(name).c_str()) == ERROR_SUCCESS;
}

}  // namespace glossira
