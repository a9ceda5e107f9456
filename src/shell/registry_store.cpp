#include "shell/registry_store.h"

#include <cstring>

#include "core/error.h"
#include "core/little_endian.h"
#include "core/messages.h"

namespace glossira {

namespace {

std::string Join(std::string_view base, std::string_view path)
{
    if (base.empty()) return std::string(path);
    if (path.empty()) return std::string(base);
    std::string out(base);
    out += '\\';
    out += path;
    return out;
}

bool IsRelative(std::string_view path) { return path.empty() || path.front() != '\\'; }

std::string_view WithoutLeadingBackslash(std::string_view path)
{
    return IsRelative(path) ? path : path.substr(1);
}

RegistryValue DWordValue(std::uint32_t v)
{
    return RegistryValue{ValueType::DWord, PackDword(v)};
}

}  // namespace

RegistryStore::RegistryStore(RegistryBackend& backend, std::uint32_t access) : backend_(backend), access_(access) {}

RegistryStore::~RegistryStore() = default;

void RegistryStore::SetRoot(RootKey root)
{
    CloseKey();
    root_ = root;
}

std::string RegistryStore::Resolve(std::string_view path) const
{
    if (IsRelative(path) && current_) return Join(currentPath_, path);
    return std::string(WithoutLeadingBackslash(path));
}

bool RegistryStore::OpenKey(std::string_view path, bool create)
{
    std::string full = Resolve(path);
    bool doCreate = create && !WithoutLeadingBackslash(path).empty();
    auto key = backend_.Open(root_, full, doCreate, access_);
    if (!key) return false;
    current_ = std::move(key);
    currentPath_ = std::move(full);
    return true;
}

void RegistryStore::CloseKey()
{
    current_.reset();
    currentPath_.clear();
}

bool RegistryStore::ValueExists(std::string_view name)
{
    return current_ && backend_.Exists(*current_, std::string(name));
}

std::string RegistryStore::ReadString(std::string_view name)
{
    if (!current_) return {};
    auto value = backend_.Read(*current_, std::string(name));
    if (!value || value->data.empty()) return {};
    if (value->type != ValueType::String && value->type != ValueType::ExpandString)
        throw Error(Format(msg::InvalidDataType(), name));
    std::string text = std::move(value->data);
    if (auto nul = text.find('\0'); nul != std::string::npos) text.resize(nul);
    return text;
}

std::int32_t RegistryStore::ReadInteger(std::string_view name)
{
    std::optional<RegistryValue> value;
    if (current_) value = backend_.Read(*current_, std::string(name));
    if (!value) throw Error(Format(msg::FailedToGetData(), name));
    if (value->type != ValueType::DWord) throw Error(Format(msg::InvalidDataType(), name));
    if (value->data.size() != 4) throw Error(Format(msg::FailedToGetData(), name));
    return static_cast<std::int32_t>(UnpackDword(value->data));
}

void RegistryStore::Write(std::string_view name, const RegistryValue& value)
{
    if (!current_ || !backend_.Write(*current_, std::string(name), value))
        throw Error(Format(msg::FailedToSetData(), name));
}

void RegistryStore::WriteString(std::string_view name, std::string_view value)
{
    Write(name, RegistryValue{ValueType::String, std::string(value)});
}

void RegistryStore::WriteInteger(std::string_view name, std::int32_t value)
{
    Write(name, DWordValue(static_cast<std::uint32_t>(value)));
}

void RegistryStore::WriteBool(std::string_view name, bool value) { Write(name, DWordValue(value ? 1 : 0)); }

bool RegistryStore::DeleteValue(std::string_view name)
{
    return current_ && backend_.DeleteValue(*current_, std::string(name));
}

std::size_t RegistryStore::ValueCount() { return current_ ? backend_.ValueCount(*current_) : 0; }

bool RegistryStore::DeleteKey(std::string_view path)
{
    std::string_view relative = WithoutLeadingBackslash(path);
    // An empty path names the current key or the root itself: never deleted.
    if (relative.empty()) return false;
    if (IsRelative(path) && current_) return DeleteTree(*current_, currentPath_, relative);
    auto root = backend_.Open(root_, "", false, access_);
    return root && DeleteTree(*root, "", relative);
}

bool RegistryStore::DeleteTree(RegistryKey& parent, const std::string& parentPath, std::string_view name)
{
    std::string full = Join(parentPath, name);
    if (auto key = backend_.Open(root_, full, false, access_)) {
        std::vector<std::string> children = backend_.SubKeys(*key);
        for (auto child = children.rbegin(); child != children.rend(); ++child) DeleteTree(*key, full, *child);
    }
    return backend_.DeleteSubKey(parent, std::string(name));
}

bool RegistryStore::DeleteKeyIfEmpty(std::string_view path)
{
    const std::string full = Resolve(path);
    if (full.empty()) return false;
    {
        auto key = backend_.Open(root_, full, false, kKeyRead);
        if (!key || backend_.ValueCount(*key) != 0 || !backend_.SubKeys(*key).empty()) return false;
    }
    const auto slash = full.rfind('\\');
    auto parent = backend_.Open(root_, slash == std::string::npos ? "" : full.substr(0, slash), false, access_);
    return parent && backend_.DeleteSubKey(*parent, slash == std::string::npos ? full : full.substr(slash + 1));
}

void RegistryStore::WriteSectionString(std::string_view section, std::string_view name, std::string_view value)
{
    auto key = backend_.Open(root_, Resolve(section), !WithoutLeadingBackslash(section).empty(), access_);
    if (!key) throw Error(Format(msg::FailedToCreateKey(), section));
    if (!backend_.Write(*key, std::string(name), RegistryValue{ValueType::String, std::string(value)}))
        throw Error(Format(msg::FailedToSetData(), name));
}

}  // namespace glossira
