// Several files handed over on one command line, as Send To does, or in a
// list file: each path judged on its own, the skipped ones named once, the
// others opened one editor after another.
#include <gtest/gtest.h>

#include "core/cp1251.h"
#include "core/error.h"
#include "core/list_file.h"
#include "core/messages.h"
#include "driver.h"
#include "ui/editor_layout.h"

using namespace glossira;
using namespace glossira::e2e;

namespace {

std::wstring Quoted(const std::wstring& path) { return L"\"" + path + L"\""; }

std::wstring WideOf(const std::string& cp1251)
{
    const std::u16string text = ToUtf16(cp1251);
    return std::wstring(text.begin(), text.end());
}

// The skipped-files box of the first program: its heading, then one line
// for each skipped path with its reason.
void ExpectSkipped(Program& app, const std::vector<std::pair<std::wstring, const std::string*>>& skipped)
{
    HWND box = app.WaitMessageBox();
    ASSERT_TRUE(box) << "no message before the first editor";
    EXPECT_EQ(Text(box), L"Глоссира");
    EXPECT_TRUE(VisibleWindows(L"TForm1").empty()) << "an editor opened before the message";
    std::wstring expected = WideOf(msg::SkippedFiles());
    for (const auto& [path, reason] : skipped) expected += L"\n" + path + L" \u2014 " + WideOf(*reason);
    EXPECT_EQ(MessageText(box), expected) << Narrow8(MessageText(box));
    Answer(box, IDOK);
}

// The editors of `names`, one after another and never two at once.
void WalkEditors(const std::vector<std::wstring>& names)
{
    for (const auto& name : names) {
        HWND editor = WaitEditor(name);
        ASSERT_TRUE(editor) << Narrow8(name);
        EXPECT_EQ(VisibleWindows(L"TForm1").size(), 1u);
        EXPECT_TRUE(CloseAndWait(editor));
    }
    Sleep(500);
    EXPECT_TRUE(VisibleWindows(L"TForm1").empty());
}

struct Selection : ::testing::Test {
    Folder dir;
    void SetUp() override
    {
        for (auto name : {L"a.zip", L"b.zip", L"caf\u00e9.zip"}) WriteFileBytes(dir / name, "x");
    }
};

}  // namespace

TEST_F(Selection, ANameBeyond1251IsSkippedAndTheOthersOpen)
{
    Program app(Quoted(dir / L"a.zip") + L" " + Quoted(dir / L"caf\u00e9.zip") + L" " + Quoted(dir / L"b.zip"));
    ExpectSkipped(app, {{dir / L"caf\u00e9.zip", &msg::SkippedBeyond1251()}});
    WalkEditors({L"a.zip", L"b.zip"});
}

TEST_F(Selection, AMissingFileIsSkippedAndTheOthersOpenOnTheirOwnPaths)
{
    Program app(Quoted(dir / L"a.zip") + L" " + Quoted(dir / L"gone.zip") + L" " + Quoted(dir / L"b.zip"));
    ExpectSkipped(app, {{dir / L"gone.zip", &msg::SkippedNotFound()}});
    HWND first = WaitEditor(L"a.zip");
    ASSERT_TRUE(first);
    EXPECT_EQ(Text(first), L"Глоссира к файлу 2.3   a.zip");
    Click(Control(first, editor_ids::kBitBtn2));  // «Запись и Выход»: the comment of a.zip itself
    WalkEditors({L"b.zip"});
    EXPECT_NE(ReadFileBytes(dir / L"a.txt"), "<missing>");
}

TEST_F(Selection, AListFileIsWalkedAndRemovedAndAFileThatIsNoListIsKept)
{
    const std::wstring list = dir / L"selection.lst";
    auto u16 = [](const std::wstring& w) { return std::u16string(w.begin(), w.end()); };
    WriteFileBytes(list, EncodeListFile({u16(dir / L"gone.zip"), u16(dir / L"a.zip"), u16(dir / L"b.zip")}));
    {
        Program app(L"/list " + Quoted(list));
        ExpectSkipped(app, {{dir / L"gone.zip", &msg::SkippedNotFound()}});
        EXPECT_TRUE(WaitEditor(L"a.zip"));
        EXPECT_EQ(ReadFileBytes(list), "<missing>");
        WalkEditors({L"a.zip", L"b.zip"});
    }

    WriteFileBytes(list, "C:\\a.zip\r\n");
    Program app(L"/list " + Quoted(list));
    HWND box = app.WaitMessageBox();
    ASSERT_TRUE(box);
    EXPECT_EQ(MessageText(box), WideOf(Format(msg::NotAList(), Narrow8(list))) + L".");
    Answer(box, IDOK);
    EXPECT_EQ(app.WaitExit(), 0);
    EXPECT_FALSE(app.HasVisibleWindow(L"TForm1"));
    EXPECT_EQ(ReadFileBytes(list), "C:\\a.zip\r\n");
}
