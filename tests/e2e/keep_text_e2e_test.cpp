// Nothing typed is lost: Esc in the editor does nothing, from any control
// and by a real key; a second editor on the same comment asks before it
// writes over what the first one saved.
#include <gtest/gtest.h>

#include "core/cp1251.h"
#include "driver.h"
#include "inspect.h"
#include "ui/editor_layout.h"
#include "ui/viewer_layout.h"

using namespace glossira;
using namespace glossira::e2e;
using namespace glossira::editor_ids;

namespace {

HWND Focus(HWND window)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
    return info.hwndFocus;
}

// Waits until every message posted to the editor so far has been handled:
// a character posted now reaches the start of the memo. A WM_CLOSE posted
// by a control on Esc comes before it.
bool Settle(HWND memo)
{
    const std::wstring before = L"#" + EditText(memo);
    SendMessageW(memo, EM_SETSEL, 0, 0);
    PostMessageW(memo, WM_CHAR, L'#', 1);
    return Eventually([&] { return EditText(memo) == before; }, 10000);
}


struct Editor {
    std::unique_ptr<Program> app;
    HWND window = nullptr;
    HWND memo = nullptr;
    HWND list = nullptr;
};

Editor StartEditor(const std::wstring& target)
{
    Editor e;
    e.app = std::make_unique<Program>(L"\"" + target + L"\"");
    e.window = e.app->WaitWindow(L"TForm1");
    if (e.window) {
        e.memo = Control(e.window, kMemo1);
        e.list = Control(e.window, kListBox2);
    }
    return e;
}

// Brings an editor to the front, as a click on it does: keys reach its comment.
void Activate(const Editor& e)
{
    SetForegroundWindow(e.window);
    EXPECT_TRUE(Eventually([&] { return Focus(e.window) == e.memo; }));
}

// Presses "Запись и Выход" and returns the question asked, if any.
HWND SaveAsks(Editor& e)
{
    Click(Control(e.window, kBitBtn2));
    return e.app->WaitMessageBox(5000);
}

}  // namespace

// The editor on a.zip, whose comment a.txt holds "old".
class EditorEsc : public ::testing::Test {
protected:
    void SetUp() override
    {
        WriteFileBytes(dir / L"a.txt", "old");
        e = StartEditor(dir / L"a.zip");
        ASSERT_TRUE(e.window);
    }
    // "Запись и Выход" writes what the editor holds and ends the program.
    void SavesAs(const std::string& expected)
    {
        Click(Control(e.window, kBitBtn2));
        EXPECT_EQ(e.app->WaitExit(), 0);
        EXPECT_EQ(ReadFileBytes(dir / L"a.txt"), expected);
    }
    Folder dir;
    Editor e;
};

TEST_F(EditorEsc, FromEveryControlDoesNothingAndTheTextIsSaved)
{
    SendMessageW(e.memo, EM_SETSEL, 0, 0);
    Type(e.memo, L"typed ");
    for (int id : {kMemo1, kMemo3, kListBox2, kBitBtn1, kBitBtn2, kBitBtn3, kBitBtn4, kSpeedButton1, kSpeedButton2}) {
        PressKey(Control(e.window, id), VK_ESCAPE);
        ASSERT_TRUE(Settle(e.memo)) << "Esc on control " << id << " ended the editor";
        EXPECT_TRUE(e.app->HasVisibleWindow(L"TForm1")) << id;
    }
    PressKey(e.window, VK_ESCAPE);
    ASSERT_TRUE(Settle(e.memo));
    EXPECT_EQ(EditText(e.memo), L"##########typed old");
    EXPECT_FALSE(e.app->HasVisibleWindow(L"#32770"));
    SavesAs("##########typed old");
}

TEST_F(EditorEsc, ARealKeyInTheCommentDoesNothing)
{
    ASSERT_TRUE(Eventually([&] { return Focus(e.window) == e.memo; }));
    // The key after Esc shows that Esc has been handled.
    ASSERT_TRUE(PressXKeys(e.memo, L"Escape x")) << "xdotool (tools/setup installs it)";
    ASSERT_TRUE(Eventually([&] { return EditText(e.memo) == L"oldx"; })) << Narrow8(EditText(e.memo));
    ASSERT_TRUE(Settle(e.memo));
    EXPECT_TRUE(e.app->HasVisibleWindow(L"TForm1"));
    SavesAs("#oldx");
}

TEST(EditorEscFromTheViewer, DoesNothingInTheEditorReachedThroughItsMenu)
{
    Folder dir;
    WriteFileBytes(dir / L"a.txt", "old");
    Program app(L"\"" + (dir / L"a.txt") + L"\"");
    HWND viewer = app.WaitWindow(L"TForm3", 60000);
    ASSERT_TRUE(viewer);
    ChooseMenu(viewer, 1);  // "Редактор"
    HWND editor = app.WaitWindow(L"TForm1");
    ASSERT_TRUE(editor);
    HWND memo = Control(editor, kMemo1);
    Type(memo, L"typed");
    PressKey(memo, VK_ESCAPE);
    ASSERT_TRUE(Settle(memo));
    EXPECT_TRUE(app.HasVisibleWindow(L"TForm1"));
    EXPECT_FALSE(CloseAndAnswer(app, editor, IDNO).empty()) << "no question in the editor reached through the viewer";
    EXPECT_EQ(app.WaitExit(), 0);
    EXPECT_EQ(ReadFileBytes(dir / L"a.txt"), "old");
}

// setup.zip and setup.rar share setup.txt.
TEST(TwoEditors, TheSecondSaveAsksAndNoKeepsItsTextAndList)
{
    Folder dir;
    WriteFileBytes(dir / L"a.txt", "old");
    Editor first = StartEditor(dir / L"a.zip");
    Editor second = StartEditor(dir / L"a.rar");
    ASSERT_TRUE(first.window && second.window);
    // Both open at the same place: the second is moved aside to reach the first.
    SetWindowPos(second.window, nullptr, 600, 39, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    Activate(first);
    SendMessageW(first.memo, EM_SETSEL, 0, 0);
    Type(first.memo, L"first ");
    Activate(second);
    SendMessageW(second.memo, EM_SETSEL, 0, 0);
    Type(second.memo, L"second ");
    ASSERT_TRUE(PutOnClipboard(L"из буфера"));
    Click(Control(second.window, kBitBtn1));
    ASSERT_TRUE(Eventually([&] { return ListItems(second.list) == std::vector<std::wstring>{L"из буфера"}; }));

    EXPECT_FALSE(SaveAsks(first)) << "an unchanged file asks nothing";
    EXPECT_EQ(first.app->WaitExit(), 0);
    EXPECT_EQ(ReadFileBytes(dir / L"a.txt"), "first old");

    HWND box = SaveAsks(second);
    ASSERT_TRUE(box);
    EXPECT_EQ(Text(box), L"Глоссира");
    EXPECT_NE(MessageText(box).find(dir / L"a.txt"), std::wstring::npos) << Narrow8(MessageText(box));
    EXPECT_TRUE(GetDlgItem(box, IDYES) && GetDlgItem(box, IDNO));
    EXPECT_FALSE(GetDlgItem(box, IDOK));
    Answer(box, IDNO);
    ASSERT_TRUE(Eventually([&] { return !IsWindow(box); }));
    ASSERT_TRUE(Settle(second.memo));
    EXPECT_TRUE(second.app->HasVisibleWindow(L"TForm1"));
    EXPECT_EQ(EditText(second.memo), L"#second old");
    EXPECT_EQ(ListItems(second.list), std::vector<std::wstring>{L"из буфера"});
    EXPECT_EQ(ReadFileBytes(dir / L"a.txt"), "first old");

    box = SaveAsks(second);
    ASSERT_TRUE(box);
    Answer(box, IDYES);
    EXPECT_EQ(second.app->WaitExit(), 0);
    EXPECT_EQ(ReadFileBytes(dir / L"a.txt"), FromUtf8("#second old\r\nиз буфера\r\n"));
}

TEST(TwoEditors, ACommentThatAppearedSinceAnEmptyStartIsAsked)
{
    Folder dir;
    Editor e = StartEditor(dir / L"a.zip");
    ASSERT_TRUE(e.window);
    Type(e.memo, L"mine");
    WriteFileBytes(dir / L"a.txt", "theirs");
    HWND box = SaveAsks(e);
    ASSERT_TRUE(box);
    Answer(box, IDNO);
    ASSERT_TRUE(Settle(e.memo));
    EXPECT_EQ(ReadFileBytes(dir / L"a.txt"), "theirs");
    box = SaveAsks(e);
    ASSERT_TRUE(box);
    Answer(box, IDYES);
    EXPECT_EQ(e.app->WaitExit(), 0);
    EXPECT_EQ(ReadFileBytes(dir / L"a.txt"), "#mine");
}
