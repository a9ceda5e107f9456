#include "sources/description_text.h"

#include "core/text.h"

namespace glossira {
namespace {

constexpr char kNoBreakSpace = '\xA0';

void SplitAt(std::string_view text, std::string_view separator, std::vector<std::string>& lines)
{
    for (std::size_t start = 0;;) {
        std::size_t brk = text.find(separator, start);
        lines.emplace_back(text.substr(start, brk == std::string_view::npos ? brk : brk - start));
        if (brk == std::string_view::npos) return;
        start = brk + separator.size();
    }
}

}  // namespace

std::vector<std::string> DescriptionLines(std::string_view line, bool noBreakSpaceBreaks)
{
    const std::size_t areas = line.find('\x04');
    const std::string_view text = line.substr(0, areas);
    bool severalLines = false;
    for (std::size_t at = areas; at != std::string_view::npos;) {
        std::size_t next = line.find('\x04', at + 1);
        severalLines = severalLines || line.substr(at, next == std::string_view::npos ? next : next - at) == "\x04\xC2";
        at = next;
    }
    std::vector<std::string> lines;
    if (severalLines) SplitAt(text, "\\n", lines);
    else lines.emplace_back(text);
    if (!noBreakSpaceBreaks) return lines;
    std::vector<std::string> split;
    for (const std::string& part : lines) SplitAt(part, std::string_view(&kNoBreakSpace, 1), split);
    return split;
}

bool AsInserted(std::string& line, std::string_view upperName, bool noBreakSpaceBreaks)
{
    noBreakSpaceBreaks = noBreakSpaceBreaks && upperName.find(kNoBreakSpace) == std::string_view::npos;
    if (line.find('\x04') == std::string::npos &&
        (!noBreakSpaceBreaks || line.find(kNoBreakSpace) == std::string::npos))
        return true;
    std::string joined;
    for (const auto& part : DescriptionLines(line, noBreakSpaceBreaks)) joined.append(part).append("\n");
    joined.pop_back();
    if (UpperCase1251(joined).find(upperName) == std::string::npos) return false;
    line = std::move(joined);
    return true;
}

}  // namespace glossira
