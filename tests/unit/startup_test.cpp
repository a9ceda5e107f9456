#include <gtest/gtest.h>

#include <map>
#include <set>
#include <vector>

#include "core/cp1251.h"
#include "core/error.h"
#include "core/messages.h"
#include "core/startup.h"

using namespace glossira;

namespace {

struct FakeHost : StartupHost {
    std::map<std::string, std::string> files;  // path -> text already normalised
    std::string editor = "design text";
    std::string caption;
    std::string settingsError;
    std::string ext = "txt";
    int harvests = 0;
    int repairs = 0;
    std::vector<std::string> calls;

    void ClearEditor() override { editor.clear(); }
    void LoadSettings(Settings& s) override
    {
        s.Ext = ext;
        if (!settingsError.empty()) throw Error(settingsError);
    }
    bool FileExists(const std::string& path) override { return files.count(path) != 0; }
    std::set<std::string> folders;
    bool PathExists(const std::string& path) override { return FileExists(path) || folders.count(path) != 0; }
    std::map<std::u16string, std::vector<std::u16string>> lists;  // a list file and its paths
    std::vector<std::u16string> TakeList(const std::u16string& file) override
    {
        auto found = lists.find(file);
        if (found == lists.end()) throw Error("Cannot open file");
        auto paths = found->second;
        lists.erase(found);
        return paths;
    }
    void LoadComment(const std::string& path) override
    {
        calls.push_back("load " + path);
        if (files[path] == "<unreadable>") throw Error("Cannot read file");
        editor = files[path];
    }
    std::optional<std::string> EditorFirstRow() override
    {
        if (editor.empty()) return std::nullopt;
        return editor.substr(0, editor.find("\r\n"));
    }
    void SetEditorCaption(const std::string& c) override { caption = c; }
    void Harvest() override { ++harvests; }
    void RepairAssociation() override { ++repairs; }
};

struct Started {
    FakeHost host;
    Settings settings;
    RunState run;
    StartupOutcome Start(std::u16string_view raw) { return RunStartup(host, raw, settings, run); }
};

}  // namespace

TEST(Startup, NoArgumentsMeansSettingsWindow)
{
    Started r;
    auto out = r.Start(u"\"C:\\g\\glossira.exe\"  ");
    EXPECT_EQ(out.mode, Mode::Settings);
    EXPECT_TRUE(r.run.SettingsPending);
    EXPECT_FALSE(out.showMainWindow);
    EXPECT_TRUE(out.timerEnabled);
    EXPECT_EQ(r.run.TargetPath, "");
    EXPECT_EQ(r.host.harvests, 0);
    EXPECT_EQ(r.host.editor, "");
}

TEST(Startup, EditorModeLoadsCommentAndHarvests)
{
    Started r;
    r.host.files["D:\\dl\\setup.txt"] = "old\r\ntext";
    auto out = r.Start(u"g.exe D:\\dl\\setup.zip");
    EXPECT_EQ(out.mode, Mode::Editor);
    EXPECT_FALSE(out.timerEnabled);
    EXPECT_TRUE(out.showMainWindow);
    EXPECT_TRUE(out.saveAllowed);
    EXPECT_EQ(r.run.TargetDir, "D:\\dl\\");
    EXPECT_EQ(r.run.TargetName, "setup.zip");
    EXPECT_EQ(r.run.CommentName, "setup.txt");
    EXPECT_EQ(r.host.editor, "old\r\ntext");
    EXPECT_EQ(r.host.caption, FromUtf8("Глоссира к файлу 2.3   setup.zip"));
    EXPECT_EQ(r.host.harvests, 1);
}

TEST(Startup, FirstLineNamingTheTargetSkipsTheHarvest)
{
    Started r;
    r.host.files["D:\\dl\\setup.txt"] = "from setup.zip site\r\nx";
    r.Start(u"g.exe D:\\dl\\setup.zip");
    EXPECT_TRUE(r.run.HeaderFound);
    EXPECT_EQ(r.host.harvests, 0);

    Started caseDiffers;
    caseDiffers.host.files["D:\\dl\\setup.txt"] = "SETUP.ZIP\r\n";
    caseDiffers.Start(u"g.exe D:\\dl\\setup.zip");
    EXPECT_FALSE(caseDiffers.run.HeaderFound);  // case-sensitive test
    EXPECT_EQ(caseDiffers.host.harvests, 1);

    Started secondLine;
    secondLine.host.files["D:\\dl\\setup.txt"] = "x\r\nsetup.zip";
    secondLine.Start(u"g.exe D:\\dl\\setup.zip");
    EXPECT_FALSE(secondLine.run.HeaderFound);
}

TEST(Startup, CommentFileItselfMeansViewerInAnyCase)
{
    for (auto raw : {u"g.exe D:\\dl\\a.txt", u"g.exe D:\\DL\\A.TXT", u"g.exe \"D:\\dl\\\u0444.TXT\""}) {
        Started r;
        auto out = r.Start(raw);
        EXPECT_EQ(out.mode, Mode::Viewer);
        EXPECT_TRUE(r.run.ViewerPending);
        EXPECT_FALSE(out.showMainWindow);
        EXPECT_TRUE(out.timerEnabled);
        EXPECT_EQ(r.host.repairs, 1);
    }
}

TEST(Startup, ExtensionDecidesTheCommentName)
{
    Started r;
    r.host.ext = "nfo";
    r.Start(u"g.exe D:\\dl\\setup.zip");
    EXPECT_EQ(r.run.CommentName, "setup.nfo");
    Started empty;
    empty.host.ext = "";
    empty.Start(u"g.exe D:\\dl\\README");
    EXPECT_EQ(empty.settings.Ext, "txt");
    EXPECT_EQ(empty.run.CommentName, "README.txt");
}

TEST(Startup, ErrorStopsTheStepsAndKeepsTheEditor)
{
    Started r;
    r.host.settingsError = "Invalid data type for 'Ext'";
    auto out = r.Start(u"g.exe D:\\dl\\a.txt");
    ASSERT_TRUE(out.error);
    EXPECT_EQ(*out.error, "Invalid data type for 'Ext'");
    EXPECT_EQ(out.mode, Mode::Editor);
    EXPECT_TRUE(out.showMainWindow);
    EXPECT_TRUE(out.timerEnabled);
    EXPECT_FALSE(out.saveAllowed);
    EXPECT_FALSE(r.run.ViewerPending);
    EXPECT_FALSE(r.run.SettingsPending);
    EXPECT_EQ(r.run.TargetPath, "");

    Started unreadable;
    unreadable.host.files["D:\\dl\\a.txt"] = "<unreadable>";
    auto bad = unreadable.Start(u"g.exe D:\\dl\\a.zip");
    EXPECT_TRUE(bad.error);
    EXPECT_FALSE(bad.saveAllowed);  // saving would destroy the unread comment
    EXPECT_EQ(unreadable.host.harvests, 0);
}

TEST(Startup, UnquotedPiecesAreJoined)
{
    Started r;
    r.Start(u"g.exe D:\\My Files\\a.zip");
    EXPECT_EQ(r.run.TargetPath, "D:\\My Files\\a.zip");
    EXPECT_EQ(r.run.TargetDir, "D:\\My Files\\");
}

TEST(Startup, EditorModeNeverRepairsTheAssociation)
{
    Started plain;
    plain.Start(u"g.exe D:\\dl\\setup.zip");
    Started withHeader;
    withHeader.host.files["D:\\dl\\setup.txt"] = "setup.zip\r\n";
    withHeader.Start(u"g.exe D:\\dl\\setup.zip");
    Started failed;
    failed.host.files["D:\\dl\\setup.txt"] = "<unreadable>";
    failed.Start(u"g.exe D:\\dl\\setup.zip");
    for (const Started* r : {&plain, &withHeader, &failed}) EXPECT_EQ(r->host.repairs, 0);
}

TEST(Startup, EmptyTargetNameNeverFindsTheHeader)
{
    Started r;
    r.host.files["D:\\dl\\.txt"] = "anything\r\n";
    auto out = r.Start(u"g.exe D:\\dl\\");
    EXPECT_EQ(out.mode, Mode::Editor);
    EXPECT_EQ(r.run.TargetName, "");
    EXPECT_EQ(r.run.CommentName, ".txt");
    EXPECT_FALSE(r.run.HeaderFound);  // "" is in every line, yet names nothing
    EXPECT_EQ(r.host.harvests, 1);
    EXPECT_EQ(r.host.editor, "anything\r\n");
}

TEST(Startup, SeveralFilesOpenTheFirstAndKeepTheRest)
{
    Started r;
    r.host.files["D:\\dl\\a.zip"] = "";
    r.host.folders.insert("D:\\dl\\sub");
    r.host.files["D:\\dl\\a.txt"] = "old comment";
    auto out = r.Start(u"g.exe \"D:\\dl\\a.zip\" \"D:\\dl\\sub\" \"D:\\dl\\a.txt\"");
    EXPECT_EQ(r.run.TargetPath, "D:\\dl\\a.zip");
    EXPECT_EQ(r.run.TargetName, "a.zip");
    EXPECT_EQ(r.host.caption, msg::EditorCaption() + "   a.zip");
    EXPECT_EQ(r.host.editor, "old comment");
    EXPECT_EQ(out.mode, Mode::Editor);
    EXPECT_EQ(out.remaining, (std::vector<std::u16string>{u"D:\\dl\\sub", u"D:\\dl\\a.txt"}));

    // The first of them a comment file: the viewer, and still the rest after it.
    Started viewer;
    viewer.host.files["D:\\dl\\a.txt"] = "x";
    viewer.host.files["D:\\dl\\b.zip"] = "";
    auto shown = viewer.Start(u"g.exe D:\\dl\\a.txt D:\\dl\\b.zip");
    EXPECT_EQ(shown.mode, Mode::Viewer);
    EXPECT_EQ(shown.remaining, (std::vector<std::u16string>{u"D:\\dl\\b.zip"}));
}

TEST(Startup, PiecesThatAreNotAllPathsBehaveAsBefore)
{
    // A path with blanks, unquoted: the joined text exists and wins even
    // when its pieces exist too.
    Started joined;
    joined.host.files["D:\\My Files\\a.zip"] = "";
    joined.host.folders.insert("D:\\My");
    joined.host.files["Files\\a.zip"] = "";
    auto a = joined.Start(u"g.exe D:\\My Files\\a.zip");
    EXPECT_EQ(joined.run.TargetPath, "D:\\My Files\\a.zip");
    EXPECT_TRUE(a.remaining.empty());

    // A piece that is no full path: the joined text, as always.
    Started relative;
    relative.host.files["D:\\dl\\a.zip"] = "";
    relative.host.files["b.zip"] = "";
    auto b = relative.Start(u"g.exe D:\\dl\\a.zip b.zip");
    EXPECT_EQ(relative.run.TargetPath, "D:\\dl\\a.zip b.zip");
    EXPECT_TRUE(b.remaining.empty());
    EXPECT_FALSE(b.skipped);

    // A single piece that names nothing: the target as given.
    Started single;
    auto c = single.Start(u"g.exe D:\\dl\\new.zip");
    EXPECT_EQ(single.run.TargetPath, "D:\\dl\\new.zip");
    EXPECT_TRUE(c.remaining.empty());
}

TEST(Startup, PathsOfASelectionThatCannotBeOpenedAreNamedAndSkipped)
{
    Started r;
    r.host.files["D:\\dl\\a.zip"] = "";
    r.host.files["D:\\dl\\b.zip"] = "";
    auto out = r.Start(u"g.exe \"D:\\dl\\caf\u00e9.zip\" \"D:\\dl\\a.zip\" \"D:\\dl\\gone.zip\" \"D:\\dl\\b.zip\"");
    EXPECT_EQ(r.run.TargetPath, "D:\\dl\\a.zip");
    EXPECT_EQ(r.host.caption, msg::EditorCaption() + "   a.zip");
    EXPECT_EQ(out.mode, Mode::Editor);
    EXPECT_FALSE(out.end);
    EXPECT_FALSE(out.error);
    EXPECT_EQ(out.remaining, (std::vector<std::u16string>{u"D:\\dl\\b.zip"}));
    ASSERT_TRUE(out.skipped);
    EXPECT_NE(out.skipped->find(u"D:\\dl\\caf\u00e9.zip"), std::u16string::npos);
    EXPECT_NE(out.skipped->find(u"D:\\dl\\gone.zip"), std::u16string::npos);

    // Nothing usable: the message, then the end, with no editor step taken.
    Started none;
    auto ended = none.Start(u"g.exe D:\\dl\\gone.zip D:\\dl\\caf\u00e9.zip");
    EXPECT_TRUE(ended.end);
    EXPECT_TRUE(ended.skipped);
    EXPECT_FALSE(ended.showMainWindow);
    EXPECT_EQ(none.host.caption, "");
    EXPECT_EQ(none.host.harvests, 0);
}

TEST(Startup, AListFileIsWalkedLikeASelection)
{
    Started r;
    r.host.files["D:\\dl\\a.zip"] = "";
    r.host.files["D:\\dl\\b.zip"] = "";
    r.host.lists[u"C:\\t\\l.tmp"] = {u"D:\\dl\\gone.zip", u"D:\\dl\\a.zip", u"D:\\dl\\b.zip"};
    auto out = r.Start(u"g.exe /list C:\\t\\l.tmp");
    EXPECT_TRUE(r.host.lists.empty());
    EXPECT_EQ(r.run.TargetPath, "D:\\dl\\a.zip");
    EXPECT_EQ(out.remaining, (std::vector<std::u16string>{u"D:\\dl\\b.zip"}));
    EXPECT_TRUE(out.skipped);
    EXPECT_EQ(r.host.harvests, 1);

    // One path in a list is judged too.
    Started one;
    one.host.lists[u"C:\\t\\l.tmp"] = {u"D:\\dl\\gone.zip"};
    EXPECT_TRUE(one.Start(u"g.exe /list C:\\t\\l.tmp").end);

    // A list that cannot be read, or a /list without its file: the error,
    // then the end rather than an empty editor.
    for (auto raw : {u"g.exe /list C:\\t\\missing.tmp", u"g.exe /list"}) {
        Started bad;
        auto failed = bad.Start(raw);
        EXPECT_TRUE(failed.error);
        EXPECT_TRUE(failed.end);
        EXPECT_FALSE(failed.showMainWindow);
        EXPECT_EQ(bad.host.caption, "");
    }
}
