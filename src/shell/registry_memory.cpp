#include "shell/registry_memory.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "core/cp1251.h"
#include "core/little_endian.h"
#include "core/text.h"

namespace glossira {

namespace {

constexpr std::uint32_t kQueryValue = 0x0001;
constexpr std::uint32_t kSetValue = 0x0002;
constexpr std::uint32_t kCreateSubKey = 0x0004;
constexpr std::uint32_t kEnumerateSubKeys = 0x0008;
constexpr std::uint32_t kDelete = 0x10000;
constexpr std::uint32_t kEverything = 0xFFFFFFFF;

// The components of a key path; nothing when the path is malformed (an
// empty component, as in "a\\b" or a leading backslash). One trailing
// backslash is allowed, as Windows allows it.
std::optional<std::vector<std::string>> Split(std::string_view path)
{
    std::vector<std::string> parts;
    if (path.empty()) return parts;
    if (path.back() == '\\') path.remove_suffix(1);
    std::size_t start = 0;
    for (;;) {
        auto at = path.find('\\', start);
        std::string_view part = path.substr(start, at == std::string_view::npos ? std::string_view::npos : at - start);
        if (part.empty()) return std::nullopt;
        parts.emplace_back(part);
        if (at == std::string_view::npos) return parts;
        start = at + 1;
    }
}

bool SameName(std::string_view a, std::string_view b) { return UpperCase1251(a) == UpperCase1251(b); }

// Windows enumerates subkeys in the order of their upper-cased UTF-16 names.
std::u16string OrderKey(std::string_view name) { return ToUtf16(UpperCase1251(name)); }

bool IsText(ValueType type) { return type == ValueType::String || type == ValueType::ExpandString; }

RegistryValue Normalised(RegistryValue value)
{
    if (IsText(value.type)) {
        if (auto nul = value.data.find('\0'); nul != std::string::npos) value.data.resize(nul);
    }
    return value;
}

}  // namespace

struct MemoryRegistry::Node {
    std::string name;
    std::vector<std::pair<std::string, RegistryValue>> values;  // in order of first write
    std::vector<std::shared_ptr<Node>> children;                // in enumeration order
    bool deleted = false;

    std::shared_ptr<Node> Child(std::string_view childName) const
    {
        for (const auto& child : children)
            if (SameName(child->name, childName)) return child;
        return nullptr;
    }
    std::shared_ptr<Node> AddChild(std::string childName)
    {
        auto node = std::make_shared<Node>();
        node->name = std::move(childName);
        std::u16string order = OrderKey(node->name);
        auto at = std::find_if(children.begin(), children.end(),
                               [&](const std::shared_ptr<Node>& c) { return OrderKey(c->name) > order; });
        children.insert(at, node);
        return node;
    }
    RegistryValue* FindValue(std::string_view valueName)
    {
        for (auto& [n, v] : values)
            if (SameName(n, valueName)) return &v;
        return nullptr;
    }
};

struct MemoryRegistry::Rule {
    RootKey root;
    std::vector<std::string> components;  // upper-cased
    std::uint32_t granted;
};

class MemoryRegistry::Key final : public RegistryKey {
public:
    Key(std::shared_ptr<Node> node, RootKey root, std::vector<std::string> components, std::uint32_t access)
        : node(std::move(node)), root(root), components(std::move(components)), access(access)
    {
    }
    bool Live() const { return !node->deleted; }
    bool Allows(std::uint32_t right) const { return Live() && (access & right) == right; }

    std::shared_ptr<Node> node;
    RootKey root;
    std::vector<std::string> components;
    std::uint32_t access;
};

MemoryRegistry::MemoryRegistry()
{
    for (auto& root : roots_) root = std::make_shared<Node>();
}

MemoryRegistry::~MemoryRegistry() = default;

const char* MemoryRegistry::RootName(RootKey root)
{
    switch (root) {
    case RootKey::ClassesRoot: return "HKEY_CLASSES_ROOT";
    case RootKey::CurrentUser: return "HKEY_CURRENT_USER";
    case RootKey::LocalMachine: return "HKEY_LOCAL_MACHINE";
    }
    return "?";
}

std::uint32_t MemoryRegistry::Granted(RootKey root, const std::vector<std::string>& components) const
{
    std::uint32_t granted = kEverything;
    for (const auto& rule : rules_) {
        if (rule.root != root || rule.components.size() > components.size()) continue;
        bool below = std::equal(rule.components.begin(), rule.components.end(), components.begin(),
                                [](const std::string& r, const std::string& c) { return r == UpperCase1251(c); });
        if (below) granted &= rule.granted;
    }
    return granted;
}

std::unique_ptr<RegistryKey> MemoryRegistry::Open(RootKey root, const std::string& path, bool create,
                                                  std::uint32_t access)
{
    auto parts = Split(path);
    if (!parts) return nullptr;
    std::shared_ptr<Node> node = roots_[static_cast<int>(root)];
    std::vector<std::string> walked;
    for (const auto& part : *parts) {
        auto child = node->Child(part);
        if (!child) {
            if (!create || (Granted(root, walked) & kCreateSubKey) == 0) return nullptr;
            child = node->AddChild(part);
        }
        walked.push_back(child->name);
        node = std::move(child);
    }
    // Rights asked for beyond those granted: access denied (the key may have
    // been created on the way, as Windows leaves it too).
    if ((access & ~Granted(root, walked)) != 0) return nullptr;
    return std::make_unique<Key>(std::move(node), root, std::move(walked), access);
}

std::optional<RegistryValue> MemoryRegistry::Read(RegistryKey& key, const std::string& name)
{
    auto& k = static_cast<Key&>(key);
    if (!k.Allows(kQueryValue)) return std::nullopt;
    if (RegistryValue* value = k.node->FindValue(name)) return *value;
    return std::nullopt;
}

bool MemoryRegistry::Write(RegistryKey& key, const std::string& name, const RegistryValue& value)
{
    auto& k = static_cast<Key&>(key);
    if (!k.Allows(kSetValue) || failAllWrites_) return false;
    if (std::find(failingWrites_.begin(), failingWrites_.end(), UpperCase1251(name)) != failingWrites_.end())
        return false;
    if (RegistryValue* existing = k.node->FindValue(name)) {
        *existing = Normalised(value);
    } else {
        k.node->values.emplace_back(name, Normalised(value));
    }
    return true;
}

bool MemoryRegistry::DeleteValue(RegistryKey& key, const std::string& name)
{
    auto& k = static_cast<Key&>(key);
    if (!k.Allows(kSetValue)) return false;
    auto& values = k.node->values;
    auto at = std::find_if(values.begin(), values.end(), [&](const auto& v) { return SameName(v.first, name); });
    if (at == values.end()) return false;
    values.erase(at);
    return true;
}

std::vector<std::string> MemoryRegistry::SubKeys(RegistryKey& key)
{
    auto& k = static_cast<Key&>(key);
    std::vector<std::string> names;
    if (!k.Allows(kEnumerateSubKeys)) return names;
    for (const auto& child : k.node->children) names.push_back(child->name);
    return names;
}

std::size_t MemoryRegistry::ValueCount(RegistryKey& key)
{
    auto& k = static_cast<Key&>(key);
    return k.Allows(kQueryValue) ? k.node->values.size() : 0;
}

bool MemoryRegistry::DeleteSubKey(RegistryKey& key, const std::string& name)
{
    auto& k = static_cast<Key&>(key);
    auto parts = Split(name);
    if (!k.Live() || !parts || parts->empty()) return false;
    std::shared_ptr<Node> parent = k.node;
    std::vector<std::string> components = k.components;
    for (std::size_t i = 0; i + 1 < parts->size(); ++i) {
        parent = parent->Child((*parts)[i]);
        if (!parent) return false;
        components.push_back(parent->name);
    }
    auto target = parent->Child(parts->back());
    if (!target) return false;
    components.push_back(target->name);
    if ((Granted(k.root, components) & kDelete) == 0 || !target->children.empty()) return false;
    auto& siblings = parent->children;
    siblings.erase(std::find(siblings.begin(), siblings.end(), target));
    target->deleted = true;
    std::string full = RootName(k.root);
    for (const auto& c : components) full += "\\" + c;
    deleted_.push_back(std::move(full));
    return true;
}

void MemoryRegistry::LimitAccess(RootKey root, std::string_view path, std::uint32_t granted)
{
    std::vector<std::string> components = Split(path).value_or(std::vector<std::string>{});
    for (auto& c : components) c = UpperCase1251(c);
    rules_.push_back(Rule{root, std::move(components), granted});
}

void MemoryRegistry::FailWrites(std::string_view name) { failingWrites_.push_back(UpperCase1251(name)); }

void MemoryRegistry::FailAllWrites() { failAllWrites_ = true; }

void MemoryRegistry::ClearFailures()
{
    rules_.clear();
    failingWrites_.clear();
    failAllWrites_ = false;
}

std::shared_ptr<MemoryRegistry::Node> MemoryRegistry::Find(RootKey root, std::string_view path) const
{
    auto parts = Split(path);
    if (!parts) return nullptr;
    std::shared_ptr<Node> node = roots_[static_cast<int>(root)];
    for (const auto& part : *parts) {
        node = node->Child(part);
        if (!node) return nullptr;
    }
    return node;
}

bool MemoryRegistry::KeyExists(RootKey root, std::string_view path) const { return Find(root, path) != nullptr; }

std::optional<RegistryValue> MemoryRegistry::Value(RootKey root, std::string_view path, std::string_view name) const
{
    auto node = Find(root, path);
    if (!node) return std::nullopt;
    if (RegistryValue* value = node->FindValue(name)) return *value;
    return std::nullopt;
}

std::vector<std::string> MemoryRegistry::SubKeyNames(RootKey root, std::string_view path) const
{
    std::vector<std::string> names;
    if (auto node = Find(root, path))
        for (const auto& child : node->children) names.push_back(child->name);
    return names;
}

void MemoryRegistry::Set(RootKey root, std::string_view path, std::string_view name, const RegistryValue& value)
{
    auto parts = Split(path);
    if (!parts) return;
    std::shared_ptr<Node> node = roots_[static_cast<int>(root)];
    for (const auto& part : *parts) {
        auto child = node->Child(part);
        node = child ? child : node->AddChild(part);
    }
    if (RegistryValue* existing = node->FindValue(name)) {
        *existing = Normalised(value);
    } else {
        node->values.emplace_back(std::string(name), Normalised(value));
    }
}

void MemoryRegistry::SetString(RootKey root, std::string_view path, std::string_view name, std::string_view text)
{
    Set(root, path, name, RegistryValue{ValueType::String, std::string(text)});
}

void MemoryRegistry::SetDWord(RootKey root, std::string_view path, std::string_view name, std::uint32_t v)
{
    Set(root, path, name, RegistryValue{ValueType::DWord, PackDword(v)});
}

namespace {

std::string Describe(const RegistryValue& value)
{
    char buffer[16];
    switch (value.type) {
    case ValueType::String: return "REG_SZ \"" + value.data + "\"";
    case ValueType::ExpandString: return "REG_EXPAND_SZ \"" + value.data + "\"";
    case ValueType::DWord:
        if (value.data.size() == 4) {
            std::snprintf(buffer, sizeof buffer, "0x%08X", static_cast<unsigned>(UnpackDword(value.data)));
            return std::string("REG_DWORD ") + buffer;
        }
        break;
    default: break;
    }
    std::string out;
    switch (value.type) {
    case ValueType::None: out = "REG_NONE"; break;
    case ValueType::Binary: out = "REG_BINARY"; break;
    case ValueType::DWord: out = "REG_DWORD"; break;
    case ValueType::MultiString: out = "REG_MULTI_SZ"; break;
    case ValueType::QWord: out = "REG_QWORD"; break;
    default:
        std::snprintf(buffer, sizeof buffer, "REG_%u", static_cast<unsigned>(value.type));
        out = buffer;
    }
    for (unsigned char c : value.data) {
        std::snprintf(buffer, sizeof buffer, " %02X", c);
        out += buffer;
    }
    return out;
}

}  // namespace

std::string MemoryRegistry::Dump() const
{
    std::string out;
    auto visit = [&](auto&& self, const Node& node, const std::string& path) -> void {
        for (const auto& child : node.children) {
            std::string childPath = path + "\\" + child->name;
            out += childPath + "\n";
            for (const auto& [name, value] : child->values)
                out += "  " + (name.empty() ? std::string("@") : name) + " = " + Describe(value) + "\n";
            self(self, *child, childPath);
        }
    };
    for (RootKey root : {RootKey::ClassesRoot, RootKey::CurrentUser, RootKey::LocalMachine})
        visit(visit, *roots_[static_cast<int>(root)], RootName(root));
    return out;
}

}  // namespace glossira
