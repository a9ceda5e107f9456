#include "core/file_name_rules.h"

#include "core/error.h"
#include "core/messages.h"
#include "core/text.h"

namespace glossira {
namespace {

bool IsDeviceName(std::string_view name)
{
    const std::string stem = UpperCase1251(TrimSpaces(name.substr(0, name.find('.'))));
    for (const char* device : {"CON", "PRN", "AUX", "NUL"})
        if (stem == device) return true;
    return stem.size() == 4 && (stem.starts_with("COM") || stem.starts_with("LPT")) && stem[3] >= '1' &&
           stem[3] <= '9';
}

}  // namespace

std::optional<std::string> NameRefusal(std::string_view name)
{
    if (TrimSpaces(name).empty()) return msg::NameEmpty();
    for (char c : name)
        if (static_cast<unsigned char>(c) < 0x20 || std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos)
            return msg::NameBadCharacters();
    if (name.back() == ' ' || name.back() == '.') return msg::NameBadEnd();
    if (IsDeviceName(name)) return Format(msg::NameReserved(), name);
    return std::nullopt;
}

}  // namespace glossira
