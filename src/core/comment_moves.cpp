#include "core/comment_moves.h"

#include <map>
#include <set>

#include "core/comment_encoding.h"
#include "core/error.h"
#include "core/messages.h"
#include "core/paths.h"
#include "core/text.h"

namespace glossira {
namespace {

bool SameName(std::string_view a, std::string_view b) { return UpperCase1251(a) == UpperCase1251(b); }

bool HasExt(std::string_view name, const std::string& ext)
{
    const std::string file = FileNamePart(name);
    const auto dot = file.rfind('.');
    return dot != std::string::npos && SameName(std::string_view(file).substr(dot + 1), ext);
}

std::string CommentName(std::string_view file, const std::string& ext) { return NameWithoutExt(file) + "." + ext; }

// The files of each folder, read once.
class FolderCache {
public:
    explicit FolderCache(CommentDisk& disk) : disk_(disk) {}
    const std::vector<std::string>& Names(const std::string& folder)
    {
        const std::string key = UpperCase1251(folder);
        auto it = names_.find(key);
        if (it == names_.end()) it = names_.emplace(key, disk_.FileNames(folder)).first;
        return it->second;
    }

private:
    CommentDisk& disk_;
    std::map<std::string, std::vector<std::string>> names_;
};

// Another file of the comment's folder, not among `taking`, has this comment.
bool IsShared(const std::string& comment, const std::string& ext, const std::set<std::string>& taking,
              FolderCache& folders)
{
    const std::string folder = FolderWithSeparator(comment);
    const std::string name = FileNamePart(comment);
    for (const auto& other : folders.Names(folder)) {
        if (SameName(other, name) || HasExt(other, ext)) continue;
        if (!SameName(CommentName(other, ext), name)) continue;
        if (!taking.count(UpperCase1251(folder + other))) return true;
    }
    return false;
}

std::string TargetOf(const OperationRequest& request, const std::string& source)
{
    switch (request.op) {
    case Operation::Copy:
    case Operation::Move: return WithTrailingBackslash(request.destination) + FileNamePart(source);
    case Operation::Rename: return FolderWithSeparator(source) + request.destination;
    case Operation::Delete: break;
    }
    return {};
}

}  // namespace

std::string CommentPathOf(const std::string& file, const std::string& ext)
{
    if (HasExt(file, ext)) return {};
    return FolderWithSeparator(file) + CommentName(file, ext);
}

OperationPlan PlanOperation(const OperationRequest& request, const std::string& ext, CommentDisk& disk)
{
    OperationPlan plan;
    plan.op = request.op;
    const bool moving = request.op == Operation::Move || request.op == Operation::Copy;

    std::set<std::string> taking;  // every source, upper-cased
    std::vector<std::string> sources;
    for (const auto& source : request.sources)
        if (taking.insert(UpperCase1251(source)).second) sources.push_back(source);

    if (moving) {
        const std::string into = UpperCase1251(StripTrailingBackslashes(request.destination));
        for (const auto& source : sources)
            if (UpperCase1251(StripTrailingBackslashes(FolderWithSeparator(source))) == into) {
                plan.refusal = Format(msg::AlreadyInFolder(), FileNamePart(source), request.destination);
                return plan;
            }
    }

    FolderCache folders(disk);
    std::set<std::string> claimed;  // comments and comment targets already planned, upper-cased
    for (const auto& source : sources) {
        PlannedFile file;
        file.source = source;
        file.target = TargetOf(request, source);
        plan.files.push_back(file);
        PlannedFile& planned = plan.files.back();

        const std::string comment = CommentPathOf(source, ext);
        if (comment.empty() || taking.count(UpperCase1251(comment)) || claimed.count(UpperCase1251(comment)))
            continue;
        if (!disk.IsFile(source) || !disk.IsFile(comment)) continue;

        std::string target;
        if (moving) target = WithTrailingBackslash(request.destination) + FileNamePart(comment);
        if (request.op == Operation::Rename) {
            // A new name that is itself a comment's name leaves the comment;
            // so does a new name whose comment is the same.
            target = CommentPathOf(planned.target, ext);
            if (target.empty() || SameName(target, comment)) continue;
        }
        if (!target.empty() && claimed.count(UpperCase1251(target))) continue;

        claimed.insert(UpperCase1251(comment));
        if (!target.empty()) claimed.insert(UpperCase1251(target));
        planned.comment = comment;
        planned.commentTarget = target;
        planned.shared = IsShared(comment, ext, taking, folders);

        if (request.op == Operation::Delete) {
            planned.step = planned.shared ? CommentStep::None : CommentStep::Carry;
            continue;
        }
        if (disk.IsFile(target)) {
            const auto here = disk.Read(comment);
            const auto there = disk.Read(target);
            planned.step = here && there && *here == *there ? CommentStep::Same : CommentStep::Ask;
            continue;
        }
        planned.step = planned.shared ? CommentStep::CopyShared : CommentStep::Carry;
    }
    return plan;
}

std::string QuestionFor(const PlannedFile& file)
{
    return Format(msg::CommentAtDestination(), FileNamePart(file.source), file.commentTarget);
}

void ApplyAnswer(OperationPlan& plan, std::size_t index, Answer answer)
{
    switch (answer) {
    case Answer::Append: plan.files[index].step = CommentStep::Append; break;
    case Answer::Leave: plan.files[index].step = CommentStep::None; break;
    case Answer::SkipFile: plan.files.erase(plan.files.begin() + static_cast<std::ptrdiff_t>(index)); break;
    }
}

CommentAction ActionFor(Operation op, const PlannedFile& file)
{
    const bool takes = (op == Operation::Move || op == Operation::Rename) && !file.shared;
    switch (file.step) {
    case CommentStep::None:
    case CommentStep::Ask: return CommentAction::None;
    case CommentStep::Carry:
        if (op == Operation::Delete) return CommentAction::Recycle;
        return op == Operation::Copy ? CommentAction::Copy : CommentAction::Move;
    case CommentStep::CopyShared: return CommentAction::Copy;
    case CommentStep::Same: return takes ? CommentAction::Recycle : CommentAction::None;
    case CommentStep::Append: return takes ? CommentAction::AppendThenRecycle : CommentAction::Append;
    }
    return CommentAction::None;
}

std::optional<std::string> AppendedComment(std::string_view destination, std::string_view addition)
{
    const DecodedComment there = DecodeComment(destination);
    const DecodedComment here = DecodeComment(addition);
    std::string added;
    if (there.encoding == CommentEncoding::Cp1251) {
        if (here.lossy) return std::nullopt;
        added = here.text;
    } else if (here.encoding == CommentEncoding::Cp1251) {
        added = EncodeComment(here.text, CommentEncoding::Utf8);
    } else {
        added.assign(addition.substr(here.encoding == CommentEncoding::Utf8WithMark ? 3 : 0));
    }
    std::string out(destination);
    if (!there.text.empty() && !added.empty()) out += out.ends_with("\r\n") ? "\r\n" : "\r\n\r\n";
    return out + added;
}

}  // namespace glossira
