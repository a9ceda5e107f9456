#include "sources/description_text.h"

#include "core/text.h"

namespace glossira {

std::vector<std::string> DescriptionLines(std::string_view line)
{
    const std::size_t areas = line.find('\x04');
    if (areas == std::string_view::npos) return {std::string(line)};
    const std::string_view text = line.substr(0, areas);
    bool severalLines = false;
    for (std::size_t at = areas; at != std::string_view::npos;) {
        std::size_t next = line.find('\x04', at + 1);
        severalLines = severalLines || line.substr(at, next == std::string_view::npos ? next : next - at) == "\x04\xC2";
        at = next;
    }
    if (!severalLines) return {std::string(text)};
    std::vector<std::string> lines;
    for (std::size_t start = 0;;) {
        std::size_t brk = text.find("\\n", start);
        lines.emplace_back(text.substr(start, brk == std::string_view::npos ? brk : brk - start));
        if (brk == std::string_view::npos) return lines;
        start = brk + 2;
    }
}

bool AsInserted(std::string& line, std::string_view upperName)
{
    if (line.find('\x04') == std::string::npos) return true;
    std::string joined;
    for (const auto& part : DescriptionLines(line)) joined.append(part).append("\n");
    joined.pop_back();
    if (UpperCase1251(joined).find(upperName) == std::string::npos) return false;
    line = std::move(joined);
    return true;
}

}  // namespace glossira
