#include "core/selection.h"

#include "core/command_line.h"
#include "core/paths.h"

namespace glossira {
namespace {

std::u16string Quoted(const std::u16string& text) { return u"\"" + text + u"\""; }

}  // namespace

std::string PieceTarget(const std::u16string& piece) { return JoinTarget({u"", piece}); }

std::optional<std::vector<std::u16string>> SeparatePaths(const std::vector<std::u16string>& pieces,
                                                         const std::function<bool(const std::string&)>& exists)
{
    if (pieces.size() < 3) return std::nullopt;
    if (exists(JoinTarget(pieces))) return std::nullopt;
    std::vector<std::u16string> paths(pieces.begin() + 1, pieces.end());
    for (const auto& path : paths) {
        const std::string target = PieceTarget(path);
        if (!IsFullPath(target) || !exists(target)) return std::nullopt;
    }
    return paths;
}

std::vector<std::u16string> QuotedCommandLines(const std::u16string& program,
                                               const std::vector<std::u16string>& arguments, std::size_t maxChars)
{
    std::vector<std::u16string> lines;
    const std::u16string head = Quoted(program);
    std::u16string line = head;
    for (const auto& argument : arguments) {
        const std::u16string more = u" " + Quoted(argument);
        if (head.size() + more.size() > maxChars) continue;
        if (line.size() + more.size() > maxChars) {
            lines.push_back(std::move(line));
            line = head;
        }
        line += more;
    }
    if (line.size() > head.size()) lines.push_back(std::move(line));
    return lines;
}

}  // namespace glossira
