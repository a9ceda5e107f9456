// Carrying out a plan of comments that follow their files: the files in
// one operation of the system (its progress window, its questions), then
// the comments of the files that arrived. Nothing is ever lost: a file that
// did not go keeps its comment, and a comment goes only where its file went.
#pragma once

#include <string>
#include <vector>

#include "core/comment_moves.h"

namespace glossira {

struct Transfer {
    std::string from;
    std::string to;  // empty for a delete
};

enum class RunOutcome { Done, Failed, Cancelled };

// The disk as the plan reads it, and the system's file operation.
class FileOperations : public CommentDisk {
public:
    // A file or a folder.
    virtual bool Exists(const std::string& path) = 0;
    // Replaces a file's content or creates it; the old content survives a
    // failure, which raises Error.
    virtual void Write(const std::string& path, const std::string& bytes) = 0;
    // The system's operation over all items at once; a delete goes to the
    // Recycle Bin. `shown`: its progress window and its questions; otherwise
    // silent. Cancelled: the user stopped it (or said No to its question).
    virtual RunOutcome Run(Operation op, const std::vector<Transfer>& items, bool shown) = 0;
};

// Does the plan. The lines name what was not done; none when all was. Files
// the user kept back by cancelling the system's operation are not listed.
std::vector<std::string> CarryOut(const OperationPlan& plan, FileOperations& disk);

}  // namespace glossira
