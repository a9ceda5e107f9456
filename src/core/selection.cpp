#include "core/selection.h"

#include "core/command_line.h"
#include "core/cp1251.h"
#include "core/error.h"
#include "core/messages.h"
#include "core/paths.h"
#include "core/text.h"

namespace glossira {
namespace {

// A piece as the program reads a target: blanks around it and every quote gone.
std::string Trimmed(const std::string& piece) { return StripQuotes(TrimSpaces(piece)); }

bool LowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

std::u16string Shown(const std::u16string& path)
{
    if (path.size() <= kShownPathChars) return path;
    std::size_t head = kShownPathChars / 2 - 1, tail = path.size() - head;
    if (LowSurrogate(path[head])) --head;  // never half a character
    if (LowSurrogate(path[tail])) ++tail;
    return path.substr(0, head) + u"\u2026" + path.substr(tail);
}

}  // namespace

std::optional<std::vector<std::u16string>> SelectionPieces(const std::vector<std::u16string>& pieces,
                                                           const PathExistsFn& exists)
{
    if (pieces.size() < 3) return std::nullopt;
    bool representable = true;
    for (std::size_t i = 1; i < pieces.size(); ++i) {
        if (!IsFullPath(Trimmed(ToCp1251Lossy(pieces[i])))) return std::nullopt;
        if (i <= static_cast<std::size_t>(kMaxPieces)) representable = representable && TryToCp1251(pieces[i]);
    }
    if (representable && exists(JoinTarget(pieces))) return std::nullopt;
    return std::vector<std::u16string>(pieces.begin() + 1, pieces.end());
}

JudgedSelection JudgeSelection(const std::vector<std::u16string>& paths, const PathExistsFn& exists)
{
    JudgedSelection out;
    for (const auto& path : paths) {
        auto narrow = TryToCp1251(path);
        if (!narrow) {
            out.skipped.push_back({path, SkipReason::Beyond1251});
            continue;
        }
        std::string target = Trimmed(*narrow);
        if (IsFullPath(target) && exists(target)) out.usable.push_back(std::move(target));
        else out.skipped.push_back({path, SkipReason::NotFound});
    }
    return out;
}

std::u16string SkippedMessage(const std::vector<SkippedPath>& skipped)
{
    std::u16string text = ToUtf16(msg::SkippedFiles());
    const std::size_t named = std::min(skipped.size(), kNamedSkips);
    for (std::size_t i = 0; i < named; ++i) {
        const auto& reason =
            skipped[i].reason == SkipReason::NotFound ? msg::SkippedNotFound() : msg::SkippedBeyond1251();
        text += u"\n" + Shown(skipped[i].path) + u" \u2014 " + ToUtf16(reason);
    }
    if (skipped.size() > named)
        text += u"\n" + ToUtf16(Format(msg::SkippedMore(), std::to_string(skipped.size() - named)));
    return text;
}

}  // namespace glossira
