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

}  // namespace

TEST(EditorEsc, FromEveryControlDoesNothingAndTheTextIsSaved)
{
    Folder dir;
    WriteFileBytes(dir / L"a.txt", "old");
    Program app(L"\"" + (dir / L"a.zip") + L"\"");
    HWND editor = app.WaitWindow(L"TForm1");
    ASSERT_TRUE(editor);
    HWND memo = Control(editor, kMemo1);
    SendMessageW(memo, EM_SETSEL, 0, 0);
    Type(memo, L"typed ");
    for (int id : {kMemo1, kMemo3, kListBox2, kBitBtn1, kBitBtn2, kBitBtn3, kBitBtn4, kSpeedButton1, kSpeedButton2}) {
        PressKey(Control(editor, id), VK_ESCAPE);
        ASSERT_TRUE(Settle(memo)) << "Esc on control " << id << " ended the editor";
        EXPECT_TRUE(app.HasVisibleWindow(L"TForm1")) << id;
    }
    PressKey(editor, VK_ESCAPE);
    ASSERT_TRUE(Settle(memo));
    EXPECT_EQ(EditText(memo), L"##########typed old");
    EXPECT_FALSE(app.HasVisibleWindow(L"#32770"));
    Click(Control(editor, kBitBtn2));
    EXPECT_EQ(app.WaitExit(), 0);
    EXPECT_EQ(ReadFileBytes(dir / L"a.txt"), "##########typed old");
}

TEST(EditorEsc, ARealKeyInTheCommentDoesNothing)
{
    Folder dir;
    WriteFileBytes(dir / L"a.txt", "old");
    Program app(L"\"" + (dir / L"a.zip") + L"\"");
    HWND editor = app.WaitWindow(L"TForm1");
    ASSERT_TRUE(editor);
    HWND memo = Control(editor, kMemo1);
    ASSERT_TRUE(Eventually([&] { return Focus(editor) == memo; }));
    // The key after Esc shows that Esc has been handled.
    ASSERT_TRUE(PressXKeys(memo, L"Escape x")) << "xdotool (tools/setup installs it)";
    ASSERT_TRUE(Eventually([&] { return EditText(memo) == L"xold"; })) << Narrow8(EditText(memo));
    ASSERT_TRUE(Settle(memo));
    EXPECT_TRUE(app.HasVisibleWindow(L"TForm1"));
    Click(Control(editor, kBitBtn2));
    EXPECT_EQ(app.WaitExit(), 0);
    EXPECT_EQ(ReadFileBytes(dir / L"a.txt"), "#xold");
}

TEST(EditorEsc, DoesNothingInTheEditorReachedFromTheViewer)
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
    CloseBox(editor);
    EXPECT_EQ(app.WaitExit(), 0);
}

