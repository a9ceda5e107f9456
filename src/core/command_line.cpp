#include "core/command_line.h"

#include "core/cp1251.h"
#include "core/text.h"

namespace glossira {

std::vector<std::u16string> SplitCommandLine(std::u16string_view raw)
{
    std::vector<std::u16string> pieces;
    std::size_t i = 0;
    const std::size_t n = raw.size();
    auto separator = [](char16_t c) { return c >= 1 && c <= 0x20; };
    for (;;) {
        // Skip separators and empty quoted runs before a piece.
        for (;;) {
            while (i < n && separator(raw[i])) ++i;
            if (i + 1 < n && raw[i] == u'"' && raw[i + 1] == u'"') i += 2;
            else break;
        }
        if (i >= n || raw[i] == 0) break;
        std::u16string piece;
        bool quoted = false;
        while (i < n && raw[i] != 0 && (quoted || !separator(raw[i]))) {
            if (raw[i] == u'"') quoted = !quoted;
            else piece += raw[i];
            ++i;
        }
        pieces.push_back(std::move(piece));
    }
    return pieces;
}

std::string JoinTarget(const std::vector<std::u16string>& pieces)
{
    std::string joined;
    for (std::size_t i = 1; i <= static_cast<std::size_t>(kMaxPieces) && i < pieces.size(); ++i) {
        if (pieces[i].empty()) break;
        joined += ToCp1251(pieces[i]);
        joined += ' ';
    }
    return StripQuotes(TrimSpaces(joined));
}

std::optional<std::u16string> QuotedCommandLine(const std::u16string& program,
                                                const std::vector<std::u16string>& pieces, std::size_t maxChars)
{
    std::size_t size = program.size() + 2;
    for (const auto& piece : pieces) size += piece.size() + 3;
    if (size > maxChars) return std::nullopt;
    std::u16string line;
    line.reserve(size);
    line.append(u"\"").append(program).append(u"\"");
    for (const auto& piece : pieces) line.append(u" \"").append(piece).append(u"\"");
    return line;
}

}  // namespace glossira
