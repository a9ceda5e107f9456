#include <gtest/gtest.h>

#include <map>
#include <set>

#include "core/cp1251.h"
#include "core/error.h"
#include "core/paths.h"
#include "core/text.h"
#include "shell/comment_operation.h"

using namespace glossira;

namespace {

// Files by full path, found in any case as Windows does; the system's
// operation moves, copies and recycles them, failing for the sources listed
// in `refuse`.
class MemoryDisk final : public FileOperations {
public:
    std::map<std::string, std::string> files;
    std::set<std::string> refuse, refuseWrite;
    std::size_t cancelAfter = static_cast<std::size_t>(-1);  // items done before the user cancels
    std::vector<std::string> recycled;
    std::vector<std::pair<Operation, bool>> runs;  // each operation, and whether it was shown

    std::map<std::string, std::string>::iterator Find(const std::string& path)
    {
        for (auto it = files.begin(); it != files.end(); ++it)
            if (UpperCase1251(it->first) == UpperCase1251(path)) return it;
        return files.end();
    }
    void Put(const std::string& path, const std::string& bytes)
    {
        auto it = Find(path);
        if (it == files.end()) files[path] = bytes;
        else it->second = bytes;
    }
    bool IsFile(const std::string& path) override { return Find(path) != files.end(); }
    bool Exists(const std::string& path) override { return IsFile(path); }
    std::vector<std::string> FileNames(const std::string& folder) override
    {
        std::vector<std::string> names;
        for (const auto& [path, bytes] : files)
            if (FolderWithSeparator(path) == folder) names.push_back(FileNamePart(path));
        return names;
    }
    std::optional<std::string> Read(const std::string& path) override
    {
        auto it = Find(path);
        return it == files.end() ? std::nullopt : std::optional(it->second);
    }
    void Write(const std::string& path, const std::string& bytes) override
    {
        if (refuseWrite.count(path)) throw Error("Access is denied");
        Put(path, bytes);
    }
    RunOutcome Run(Operation op, const std::vector<Transfer>& items, bool shown) override
    {
        runs.emplace_back(op, shown);
        bool all = true;
        for (std::size_t i = 0; i < items.size(); ++i) {
            if (i == cancelAfter) return RunOutcome::Cancelled;
            const Transfer& item = items[i];
            auto it = Find(item.from);
            if (refuse.count(item.from) || it == files.end()) {
                all = false;
                continue;
            }
            const std::string bytes = it->second;
            if (op != Operation::Copy) files.erase(it);
            if (op == Operation::Delete) recycled.push_back(item.from);
            else Put(item.to, bytes);
        }
        return all ? RunOutcome::Done : RunOutcome::Failed;
    }
};

OperationRequest Request(Operation op, std::vector<std::string> sources, std::string destination = {})
{
    return {op, std::move(sources), std::move(destination)};
}

}  // namespace

TEST(CommentMoves, RenameGivesTheCommentTheNewName)
{
    MemoryDisk disk;
    disk.files = {{"D:\\dl\\setup.zip", "zip"}, {"D:\\dl\\setup.txt", "about"}};
    auto plan = PlanOperation(Request(Operation::Rename, {"D:\\dl\\setup.zip"}, "setup-2.3.zip"), "txt", disk);
    ASSERT_EQ(plan.files.size(), 1u);
    EXPECT_EQ(plan.files[0].target, "D:\\dl\\setup-2.3.zip");
    EXPECT_EQ(plan.files[0].commentTarget, "D:\\dl\\setup-2.3.txt");
    EXPECT_EQ(plan.files[0].step, CommentStep::Carry);
    EXPECT_TRUE(CarryOut(plan, disk).empty());
    EXPECT_EQ(disk.files, (std::map<std::string, std::string>{{"D:\\dl\\setup-2.3.zip", "zip"},
                                                              {"D:\\dl\\setup-2.3.txt", "about"}}));
    // The files in the shown operation, the comment silently after it.
    ASSERT_EQ(disk.runs.size(), 2u);
    EXPECT_TRUE(disk.runs[0].second);
    EXPECT_FALSE(disk.runs[1].second);

    // A new name with the same stem, or one that is itself a comment's
    // name, leaves the comment where it is.
    for (const char* name : {"SETUP-2.3.7z", "notes.TXT"}) {
        plan = PlanOperation(Request(Operation::Rename, {"D:\\dl\\setup-2.3.zip"}, name), "txt", disk);
        EXPECT_TRUE(plan.files[0].comment.empty()) << name;
    }
}

TEST(CommentMoves, PlainFilesAndCommentsThemselvesGoAlone)
{
    MemoryDisk disk;
    disk.files = {{"D:\\dl\\a.zip", "a"},         {"D:\\dl\\notes.txt", "n"}, {"D:\\dl\\b.zip", "b"},
                  {"D:\\dl\\b.txt", "about b"},   {"D:\\dl\\README", "r"},    {"D:\\dl\\README.nfo", "about r"}};
    // No comment; a comment file; a comment that is selected itself.
    auto plan = PlanOperation(
        Request(Operation::Move, {"D:\\dl\\a.zip", "D:\\dl\\notes.txt", "D:\\dl\\b.zip", "D:\\dl\\b.txt"}, "E:\\"),
        "txt", disk);
    ASSERT_EQ(plan.files.size(), 4u);
    for (const auto& file : plan.files) EXPECT_EQ(file.step, CommentStep::None) << file.source;
    EXPECT_EQ(plan.files[0].target, "E:\\a.zip");
    EXPECT_TRUE(CarryOut(plan, disk).empty());
    EXPECT_EQ(disk.files.count("E:\\b.txt"), 1u);

    // Another extension, in any case; a name without an extension.
    plan = PlanOperation(Request(Operation::Copy, {"D:\\dl\\README"}, "E:\\keep"), "NFO", disk);
    EXPECT_EQ(plan.files[0].commentTarget, "E:\\keep\\README.NFO");
    // Copied twice into its own folder, or moved there: refused before anything.
    plan = PlanOperation(Request(Operation::Move, {"D:\\dl\\README"}, "d:\\DL\\"), "nfo", disk);
    ASSERT_TRUE(plan.refusal);
    EXPECT_TRUE(plan.files.empty());
}

TEST(CommentMoves, ASharedCommentIsCopiedAndNeverTaken)
{
    MemoryDisk disk;
    disk.files = {{"D:\\dl\\setup.zip", "zip"}, {"D:\\dl\\SETUP.RAR", "rar"}, {"D:\\dl\\setup.txt", "both"}};
    auto plan = PlanOperation(Request(Operation::Move, {"D:\\dl\\setup.zip"}, "D:\\Archive"), "txt", disk);
    ASSERT_EQ(plan.files.size(), 1u);
    EXPECT_TRUE(plan.files[0].shared);
    EXPECT_EQ(plan.files[0].step, CommentStep::CopyShared);
    EXPECT_TRUE(CarryOut(plan, disk).empty());
    EXPECT_EQ(disk.files["D:\\Archive\\setup.txt"], "both");
    EXPECT_EQ(disk.files["D:\\dl\\setup.txt"], "both");

    // Deleting one of them leaves the comment.
    disk.files["D:\\dl\\setup.zip"] = "zip";
    plan = PlanOperation(Request(Operation::Delete, {"D:\\dl\\SETUP.RAR"}), "txt", disk);
    EXPECT_EQ(plan.files[0].step, CommentStep::None);

    // Both taken at once: the comment goes once, with the first, and is no
    // longer shared.
    plan = PlanOperation(Request(Operation::Delete, {"D:\\dl\\setup.zip", "D:\\dl\\SETUP.RAR"}), "txt", disk);
    EXPECT_EQ(plan.files[0].step, CommentStep::Carry);
    EXPECT_EQ(plan.files[1].step, CommentStep::None);
    EXPECT_TRUE(CarryOut(plan, disk).empty());
    EXPECT_EQ(disk.recycled,
              (std::vector<std::string>{"D:\\dl\\setup.zip", "D:\\dl\\SETUP.RAR", "D:\\dl\\setup.txt"}));
}

TEST(CommentMoves, ACommentAtTheDestinationIsNeverOverwritten)
{
    MemoryDisk disk;
    disk.files = {{"D:\\dl\\a.zip", "a"},           {"D:\\dl\\a.txt", "same"},  {"E:\\a.txt", "same"},
                  {"D:\\dl\\b.zip", "b"},           {"D:\\dl\\b.txt", "new b"}, {"E:\\b.txt", "\xEF\xBB\xBFold b\r\n"},
                  {"D:\\dl\\c.zip", "c"},           {"D:\\dl\\c.txt", "new c"}, {"E:\\c.txt", "old c"},
                  {"D:\\dl\\d.zip", "d"},           {"D:\\dl\\d.txt", "new d"}, {"E:\\d.txt", "old d"}};
    auto plan = PlanOperation(
        Request(Operation::Move, {"D:\\dl\\a.zip", "D:\\dl\\b.zip", "D:\\dl\\c.zip", "D:\\dl\\d.zip"}, "E:\\"), "txt",
        disk);
    ASSERT_EQ(plan.files.size(), 4u);
    EXPECT_EQ(plan.files[0].step, CommentStep::Same);
    for (std::size_t i = 1; i < 4; ++i) EXPECT_EQ(plan.files[i].step, CommentStep::Ask);
    EXPECT_NE(QuestionFor(plan.files[1]).find("E:\\b.txt"), std::string::npos);
    ApplyAnswer(plan, 3, Answer::SkipFile);
    ApplyAnswer(plan, 2, Answer::Leave);
    ApplyAnswer(plan, 1, Answer::Append);

    EXPECT_TRUE(CarryOut(plan, disk).empty());
    // The same text: the moved comment is the one already there.
    EXPECT_EQ(disk.files.count("D:\\dl\\a.txt"), 0u);
    EXPECT_EQ(disk.recycled, (std::vector<std::string>{"D:\\dl\\a.txt", "D:\\dl\\b.txt"}));
    // Yes: appended after an empty line, in that file's UTF-8 with its mark.
    EXPECT_EQ(disk.files["E:\\b.txt"], "\xEF\xBB\xBFold b\r\n\r\nnew b");
    // No: the file went alone. Cancel: the file and its comment stayed.
    EXPECT_EQ(disk.files["E:\\c.txt"], "old c");
    EXPECT_EQ(disk.files["D:\\dl\\c.txt"], "new c");
    EXPECT_EQ(disk.files.count("E:\\c.zip"), 1u);
    EXPECT_EQ(disk.files["D:\\dl\\d.zip"], "d");
    EXPECT_EQ(disk.files["E:\\d.txt"], "old d");
}

TEST(CommentMoves, AFailureLosesNothingAndIsNamed)
{
    MemoryDisk disk;
    disk.files = {{"D:\\dl\\a.zip", "a"}, {"D:\\dl\\a.txt", "about a"}, {"D:\\dl\\b.zip", "b"},
                  {"D:\\dl\\b.txt", "about b"}, {"D:\\dl\\c.zip", "c"}, {"D:\\dl\\c.txt", "about c"},
                  {"E:\\c.txt", "old c"}};
    auto plan = PlanOperation(Request(Operation::Move, {"D:\\dl\\a.zip", "D:\\dl\\b.zip", "D:\\dl\\c.zip"}, "E:\\"),
                              "txt", disk);
    ApplyAnswer(plan, 2, Answer::Append);
    disk.refuse = {"D:\\dl\\a.zip", "D:\\dl\\b.txt"};  // a file, and a comment after its file went
    disk.refuseWrite = {"E:\\c.txt"};
    const auto lines = CarryOut(plan, disk);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], FromUtf8("файл \"D:\\dl\\a.zip\" остался на месте"));
    EXPECT_NE(lines[1].find("E:\\c.txt"), std::string::npos);
    EXPECT_NE(lines[2].find("D:\\dl\\b.txt"), std::string::npos);
    // The file that stayed keeps its comment; a comment that could not be
    // added to the destination's stays where it was.
    EXPECT_EQ(disk.files["D:\\dl\\a.zip"], "a");
    EXPECT_EQ(disk.files["D:\\dl\\a.txt"], "about a");
    EXPECT_EQ(disk.files["D:\\dl\\b.txt"], "about b");
    EXPECT_EQ(disk.files["D:\\dl\\c.txt"], "about c");
    EXPECT_EQ(disk.files["E:\\c.txt"], "old c");
    EXPECT_TRUE(disk.recycled.empty());

    // The user stops the operation after the first file: that one has its
    // comment, the other keeps its own, and nothing is reported.
    disk.refuse.clear();
    disk.cancelAfter = 1;
    plan = PlanOperation(Request(Operation::Move, {"E:\\c.zip", "D:\\dl\\a.zip"}, "F:\\"), "txt", disk);
    EXPECT_TRUE(CarryOut(plan, disk).empty());
    EXPECT_EQ(disk.files["F:\\c.zip"], "c");
    EXPECT_EQ(disk.files["F:\\c.txt"], "old c");
    EXPECT_EQ(disk.files["D:\\dl\\a.txt"], "about a");
    EXPECT_EQ(disk.files.count("F:\\a.txt"), 0u);
}

TEST(CommentMoves, AppendingKeepsTheDestinationsEncoding)
{
    const std::string utf8 = "\xD0\xB4\xD0\xB0";  // "да"
    const std::string cp1251 = "\xE4\xE0";
    // Windows-1251 destination, UTF-8 addition; and the other way round.
    EXPECT_EQ(AppendedComment("old", utf8), "old\r\n\r\n" + cp1251);
    EXPECT_EQ(AppendedComment(utf8 + "\r\n", cp1251), utf8 + "\r\n\r\n" + utf8);
    EXPECT_EQ(AppendedComment(utf8, "\xEF\xBB\xBF" + utf8), utf8 + "\r\n\r\n" + utf8);
    // Nothing to separate from; nothing the destination could hold.
    EXPECT_EQ(AppendedComment("", "new"), "new");
    EXPECT_EQ(AppendedComment("\xEF\xBB\xBF", "new"), "\xEF\xBB\xBFnew");
    EXPECT_FALSE(AppendedComment("old", "\xE4\xB8\xAD"));  // a Chinese character
}
