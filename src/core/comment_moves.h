// Comments follow their files: which comment goes where when files are
// renamed, copied, moved or deleted through the program's own commands.
// The plan only reads the disk; the shell's file operation does the work
// (shell/comment_operation).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace glossira {

enum class Operation { Copy, Move, Rename, Delete };

struct OperationRequest {
    Operation op = Operation::Copy;
    std::vector<std::string> sources;  // full paths, Windows-1251
    // Copy and Move: the destination folder; Rename: the new file name
    // without a folder; Delete: nothing.
    std::string destination;
};

// What the plan reads from the disk.
class CommentDisk {
public:
    virtual ~CommentDisk() = default;
    // True for an existing file, false for a folder or nothing.
    virtual bool IsFile(const std::string& path) = 0;
    // The names of the files (not folders) in a folder.
    virtual std::vector<std::string> FileNames(const std::string& folder) = 0;
    // Every byte of a file, or nothing when it cannot be read.
    virtual std::optional<std::string> Read(const std::string& path) = 0;
};

enum class CommentStep {
    None,        // no comment goes: there is none, or it stays where it is
    Carry,       // moved, copied, renamed or deleted with its file
    CopyShared,  // other files keep it: copied to the destination, never taken
    Same,        // the destination holds the same text already
    Ask,         // the destination holds another text: the user decides
    Append,      // appended at the end of the destination's comment
};

struct PlannedFile {
    std::string source;
    std::string target;          // empty for a delete
    std::string comment;         // the comment at the source; empty when none
    std::string commentTarget;   // where it goes; empty for a delete
    bool shared = false;         // another file of the folder has this comment
    CommentStep step = CommentStep::None;
};

struct OperationPlan {
    Operation op = Operation::Copy;
    std::vector<PlannedFile> files;
    // Set when nothing may be done at all; the message says why.
    std::optional<std::string> refusal;
};

// The comment of a file by the naming rule, or empty for a file whose own
// extension is the comment extension (a comment is a plain file).
std::string CommentPathOf(const std::string& file, const std::string& ext);

// Reads the disk and decides, for each file in order, what happens to its
// comment. A source named twice goes once; a comment of two selected files
// goes once, with the first.
OperationPlan PlanOperation(const OperationRequest& request, const std::string& ext, CommentDisk& disk);

enum class Answer { Append, Leave, SkipFile };

// The question for a file whose step is Ask.
std::string QuestionFor(const PlannedFile& file);
// Append: the comment is added to the destination's; Leave: the file goes
// alone; SkipFile: the file and its comment stay (the file leaves the plan).
void ApplyAnswer(OperationPlan& plan, std::size_t index, Answer answer);

// What happens to a comment once its file has arrived.
enum class CommentAction { None, Move, Copy, Recycle, Append, AppendThenRecycle };
CommentAction ActionFor(Operation op, const PlannedFile& file);

// The destination comment's bytes with the other comment added after an
// empty line, in the destination's own encoding; its bytes stay as they are.
// Nothing when that encoding cannot hold the added text.
std::optional<std::string> AppendedComment(std::string_view destination, std::string_view addition);

}  // namespace glossira
