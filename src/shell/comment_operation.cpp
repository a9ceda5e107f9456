#include "shell/comment_operation.h"

#include "core/error.h"
#include "core/messages.h"
#include "core/text.h"

namespace glossira {
namespace {

bool Arrived(Operation op, const PlannedFile& file, FileOperations& disk)
{
    switch (op) {
    case Operation::Copy: return disk.Exists(file.target);
    case Operation::Move:
    case Operation::Rename:
        // A new name that differs only in case names the same file.
        return disk.Exists(file.target) &&
               (!disk.Exists(file.source) || UpperCase1251(file.source) == UpperCase1251(file.target));
    case Operation::Delete: return !disk.Exists(file.source);
    }
    return false;
}

struct CommentWork {
    std::vector<Transfer> moves, copies, recycles;
    std::vector<const PlannedFile*> appends;
};

// Appends one comment to the destination's; true when it is written.
bool Append(const PlannedFile& file, FileOperations& disk, std::vector<std::string>& report)
{
    const std::string line = Format(msg::CommentNotAppended(), file.comment, file.commentTarget);
    const auto here = disk.Read(file.comment);
    const auto there = disk.Read(file.commentTarget);
    if (!here || !there) {
        report.push_back(line);
        return false;
    }
    const auto bytes = AppendedComment(*there, *here);
    if (!bytes) {
        report.push_back(line + ": " + msg::CommentCannotHold());
        return false;
    }
    try {
        disk.Write(file.commentTarget, *bytes);
        return true;
    } catch (const Error& e) {
        report.push_back(line + ": " + e.what());
        return false;
    }
}

}  // namespace

std::vector<std::string> CarryOut(const OperationPlan& plan, FileOperations& disk)
{
    std::vector<std::string> report;
    if (plan.files.empty()) return {};
    std::vector<Transfer> files;
    for (const auto& file : plan.files) files.push_back({file.source, file.target});
    const bool cancelled = disk.Run(plan.op, files, true) == RunOutcome::Cancelled;

    CommentWork work;
    for (const auto& file : plan.files) {
        if (!Arrived(plan.op, file, disk)) {
            if (!cancelled)
                report.push_back(
                    Format(plan.op == Operation::Copy ? msg::FileNotCopied() : msg::FileStayed(), file.source));
            continue;
        }
        switch (ActionFor(plan.op, file)) {
        case CommentAction::None: break;
        case CommentAction::Move: work.moves.push_back({file.comment, file.commentTarget}); break;
        case CommentAction::Copy: work.copies.push_back({file.comment, file.commentTarget}); break;
        case CommentAction::Recycle: work.recycles.push_back({file.comment, {}}); break;
        case CommentAction::Append:
        case CommentAction::AppendThenRecycle: work.appends.push_back(&file); break;
        }
    }
    for (const PlannedFile* file : work.appends)
        if (Append(*file, disk, report) && ActionFor(plan.op, *file) == CommentAction::AppendThenRecycle)
            work.recycles.push_back({file->comment, {}});

    if (!work.moves.empty()) disk.Run(Operation::Move, work.moves, false);
    for (const auto& move : work.moves)
        if (disk.Exists(move.from) || !disk.Exists(move.to)) report.push_back(Format(msg::CommentStayed(), move.from));
    if (!work.copies.empty()) disk.Run(Operation::Copy, work.copies, false);
    for (const auto& copy : work.copies)
        if (!disk.Exists(copy.to)) report.push_back(Format(msg::CommentNotCopied(), copy.from, copy.to));
    if (!work.recycles.empty()) disk.Run(Operation::Delete, work.recycles, false);
    for (const auto& recycle : work.recycles)
        if (disk.Exists(recycle.from)) report.push_back(Format(msg::CommentStayed(), recycle.from));
    return report;
}

}  // namespace glossira
