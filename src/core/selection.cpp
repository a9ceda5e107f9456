#include "core/selection.h"

#include "core/command_line.h"
#include "core/paths.h"

namespace glossira {
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

}  // namespace glossira
