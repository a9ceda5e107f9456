#include "core/list_file.h"

#include "core/cp1251.h"
#include "core/error.h"
#include "core/messages.h"
#include "core/paths.h"

namespace glossira {
namespace {

void PutUnit(std::string& out, char16_t unit)
{
    out += static_cast<char>(unit & 0xFF);
    out += static_cast<char>(unit >> 8);
}

bool High(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool Low(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

bool ValidLine(const std::u16string& line)
{
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char16_t c = line[i];
        if (c == 0 || c == u'\r' || c == u'\n' || Low(c)) return false;
        if (High(c) && !(i + 1 < line.size() && Low(line[++i]))) return false;
    }
    return IsFullPath(ToCp1251Lossy(line));
}

char16_t Lower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c; }

}  // namespace

std::string EncodeListFile(const std::vector<std::u16string>& paths)
{
    std::string out = "\xFF\xFE";
    for (const auto& path : paths) {
        for (char16_t unit : path) PutUnit(out, unit);
        PutUnit(out, u'\r');
        PutUnit(out, u'\n');
    }
    return out;
}

std::optional<std::vector<std::u16string>> DecodeListFile(std::string_view bytes)
{
    if (bytes.size() < 2 || bytes.size() % 2 != 0 || bytes.substr(0, 2) != "\xFF\xFE") return std::nullopt;
    std::u16string text;
    text.reserve(bytes.size() / 2 - 1);
    for (std::size_t i = 2; i < bytes.size(); i += 2)
        text += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                      static_cast<unsigned char>(bytes[i + 1]) << 8);
    std::vector<std::u16string> paths;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(u"\r\n", start);
        if (end == std::u16string::npos) end = text.size();
        std::u16string line = text.substr(start, end - start);
        if (!ValidLine(line)) return std::nullopt;
        paths.push_back(std::move(line));
        start = end + 2;
    }
    if (paths.empty()) return std::nullopt;
    return paths;
}

bool IsSwitch(std::u16string_view piece, std::u16string_view name)
{
    if (piece.size() != name.size()) return false;
    for (std::size_t i = 0; i < piece.size(); ++i)
        if (Lower(piece[i]) != Lower(name[i])) return false;
    return true;
}

std::optional<std::u16string> ListSwitchAt(const std::vector<std::u16string>& pieces, std::size_t at)
{
    if (at >= pieces.size() || !IsSwitch(pieces[at], kListSwitch)) return std::nullopt;
    const std::string name = ToCp1251Lossy(kListSwitch);
    if (at + 1 >= pieces.size()) throw Error(Format(msg::SwitchWithoutValue(), name));
    if (at + 2 < pieces.size()) throw Error(Format(msg::UnexpectedArgument(), ToCp1251Lossy(pieces[at + 2])));
    return pieces[at + 1];
}

}  // namespace glossira
