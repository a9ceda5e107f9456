// Hostile targets and comment files: the program explains, loses nothing and
// never hangs.
#include <gtest/gtest.h>

#include "core/cp1251.h"
#include "driver.h"
#include "inspect.h"
#include "ui/editor_layout.h"

using namespace glossira;
using namespace glossira::e2e;
using namespace glossira::editor_ids;

namespace {


// Presses OK on the expected message box and returns its text.
std::wstring Acknowledge(Program& app)
{
    HWND box = app.WaitMessageBox();
    if (!box) return L"<no message box>";
    std::wstring text = MessageText(box);
    HWND owner = GetWindow(box, GW_OWNER);
    Answer(box, IDOK);
    EXPECT_TRUE(Eventually([&] { return !IsWindow(box); }));
    // The program goes on from the box: what it does next is done before the test looks.
    if (owner) {
        EXPECT_TRUE(WaitHandled(owner));
    }
    return text;
}

// Clicks a button and waits until the click has been handled.
void ClickAndSettle(HWND editor, int id)
{
    Click(Control(editor, id));
    EXPECT_TRUE(WaitHandled(editor));
}

// Saving must fail with "Cannot create file" and keep the editor and its text.
void SaveIsRefused(Program& app, HWND editor, const std::wstring& commentPath)
{
    HWND memo = Control(editor, kMemo1);
    Type(memo, L"kept");
    Click(Control(editor, kBitBtn2));
    std::wstring text = Acknowledge(app);
    EXPECT_EQ(text.rfind(L"Cannot create file \"" + commentPath + L"\". ", 0), 0u) << Narrow8(text.substr(0, 300));
    EXPECT_TRUE(app.HasVisibleWindow(L"TForm1"));
    EXPECT_EQ(EditText(memo), L"kept");
}

}  // namespace

TEST(BadInput, NameOutsideWindows1251IsExplainedAndNothingIsWritten)
{
    Folder dir;
    Program app(L"\"" + (dir / L"文件.zip") + L"\"");
    std::wstring text = Acknowledge(app);
    EXPECT_NE(text.find(L"Windows-1251"), std::wstring::npos) << Narrow8(text);
    HWND editor = app.WaitWindow(L"TForm1");
    ASSERT_TRUE(editor);
    Click(Control(editor, kBitBtn2));
    text = Acknowledge(app);
    EXPECT_NE(text.find(L"запись отменена"), std::wstring::npos);
    EXPECT_TRUE(app.HasVisibleWindow(L"TForm1"));
    CloseBox(editor);
    EXPECT_EQ(app.WaitExit(), 0);
    EXPECT_EQ(ReadFileBytes(dir / L".txt"), "<missing>");
}

TEST(BadInput, FolderNamedLikeTheCommentIsRefusedOnSave)
{
    Folder dir;
    CreateDirectoryW((dir / L"a.txt").c_str(), nullptr);
    Program app(L"\"" + (dir / L"a.zip") + L"\"");
    HWND editor = app.WaitWindow(L"TForm1");
    ASSERT_TRUE(editor);
    Type(Control(editor, kMemo1), L"kept");
    Click(Control(editor, kBitBtn2));
    std::wstring text = Acknowledge(app);
    EXPECT_EQ(text.rfind(L"Cannot create file \"" + (dir / L"a.txt") + L"\". ", 0), 0u) << Narrow8(text);
    EXPECT_EQ(EditText(Control(editor, kMemo1)), L"kept");
    EXPECT_FALSE(CloseAndAnswer(app, editor, IDNO).empty());
    EXPECT_EQ(app.WaitExit(), 0);
}

TEST(BadInput, MissingFolderIsExplainedAndTheTextStays)
{
    Folder dir;
    Program app(L"\"" + (dir / L"no such folder\\a.zip") + L"\"");
    HWND editor = app.WaitWindow(L"TForm1");
    ASSERT_TRUE(editor);
    Type(Control(editor, kMemo1), L"text");
    Click(Control(editor, kBitBtn2));
    std::wstring text = Acknowledge(app);
    EXPECT_EQ(text.rfind(L"Cannot create file \"", 0), 0u) << Narrow8(text);
    EXPECT_EQ(EditText(Control(editor, kMemo1)), L"text");
    EXPECT_FALSE(CloseAndAnswer(app, editor, IDNO).empty());
    EXPECT_EQ(app.WaitExit(), 0);
}

TEST(BadInput, DeviceNamesNeitherHangNorWrite)
{
    Folder dir;
    Program app(L"\"" + (dir / L"CON") + L"\"");
    // CON.txt is a device: it is not read (an error may say so), never waited
    // on. Such an error comes before the editor shows.
    HWND box = nullptr;
    ASSERT_TRUE(Eventually([&] {
        box = VisibleWindowOf(app.Pid(), L"#32770");
        return box || app.HasVisibleWindow(L"TForm1");
    }));
    if (box) {
        std::wstring text = MessageText(box);
        EXPECT_EQ(text.rfind(L"Cannot open file", 0), 0u) << Narrow8(text);
        Answer(box, IDOK);
    }
    HWND editor = app.WaitWindow(L"TForm1");
    ASSERT_TRUE(editor);
    Click(Control(editor, kBitBtn2));
    std::wstring text = Acknowledge(app);
    EXPECT_NE(text, L"<no message box>");
    CloseBox(editor);
    EXPECT_EQ(app.WaitExit(), 0);
}

TEST(BadInput, NulBytesRoundTripThroughTheEditor)
{
    Folder dir;
    std::string bytes("before\0after\r\nline", 18);
    WriteFileBytes(dir / L"n.txt", bytes);
    Program app(L"\"" + (dir / L"n.zip") + L"\"");
    HWND editor = app.WaitWindow(L"TForm1");
    ASSERT_TRUE(editor);
    EXPECT_EQ(EditText(Control(editor, kMemo1)), L"before\u2400after\r\nline");
    Click(Control(editor, kBitBtn2));
    EXPECT_EQ(app.WaitExit(), 0);
    EXPECT_EQ(ReadFileBytes(dir / L"n.txt"), bytes);
}

TEST(BadInput, MixedLineEndsAndCtrlZAreKept)
{
    Folder dir;
    WriteFileBytes(dir / L"m.txt", "a\rb\nc\r\nd\x1A" "e");
    Program app(L"\"" + (dir / L"m.zip") + L"\"");
    HWND editor = app.WaitWindow(L"TForm1");
    ASSERT_TRUE(editor);
    Click(Control(editor, kBitBtn2));
    EXPECT_EQ(app.WaitExit(), 0);
    EXPECT_EQ(ReadFileBytes(dir / L"m.txt"), "a\r\nb\r\nc\r\nd\x1A" "e");
}

TEST(BadInput, MoreThanAHundredPiecesUseTheFirstHundred)
{
    Folder dir;
    std::wstring name;
    for (int i = 0; i < 99; ++i) name += L"p ";
    name += L"x.zip";
    WriteFileBytes(dir / (name.substr(0, name.size() - 4) + L".txt"), "found");
    std::wstring arguments = dir.path + name + L" extra pieces beyond the hundredth";
    Program app(arguments);
    HWND editor = app.WaitWindow(L"TForm1");
    ASSERT_TRUE(editor);
    EXPECT_EQ(EditText(Control(editor, kMemo1)), L"found");
    CloseBox(editor);
    EXPECT_EQ(app.WaitExit(), 0);
}

// As CF_TEXT gives it: each character Windows-1251 lacks becomes '?', and
// the harvest runs afterwards all the same.
TEST(BadInput, ClipboardOutsideWindows1251IsImportedWithQuestionMarksAndTheHarvestRuns)
{
    Folder dir;
    Program app(L"\"" + (dir / L"a.zip") + L"\"");
    HWND editor = app.WaitWindow(L"TForm1");
    ASSERT_TRUE(editor);
    HWND list = Control(editor, kListBox2);
    HWND memo = Control(editor, kMemo1);
    ASSERT_TRUE(PutOnClipboard(L"kept"));
    ClickAndSettle(editor, kBitBtn1);
    ASSERT_EQ(ListItems(list), std::vector<std::wstring>{L"kept"});

    // The log appears only now: nothing was found at start-up.
    WriteFileBytes(dir / L"reget.log", "08.12.2026 http://example.org/a.zip 22\r\n");
    ASSERT_TRUE(PutOnClipboard(L"before \u4E2D\u6587 after \U0001F600\r\n" + std::wstring(100000, L'z')));
    Click(Control(editor, kBitBtn1));
    const std::vector<std::wstring> items{L"kept", L"before ?? after ?", std::wstring(100000, L'z')};
    EXPECT_TRUE(Eventually([&] { return ListItems(list) == items; }));
    EXPECT_TRUE(Eventually([&] { return EditText(memo) == L"08.12.2026 http://example.org/a.zip 22\r\n"; }))
        << Narrow8(EditText(memo));
    EXPECT_FALSE(app.HasVisibleWindow(L"#32770"));
    EXPECT_FALSE(CloseAndAnswer(app, editor, IDNO).empty());
    EXPECT_EQ(app.WaitExit(), 0);
}

TEST(BadInput, ClipboardHeldByAnotherProgramGivesNoTextAndNoHang)
{
    Folder dir;
    Program app(L"\"" + (dir / L"a.zip") + L"\"");
    HWND editor = app.WaitWindow(L"TForm1");
    ASSERT_TRUE(editor);
    HWND list = Control(editor, kListBox2);
    ASSERT_TRUE(PutOnClipboard(L"later"));
    ASSERT_TRUE(OpenClipboard(nullptr));
    ClickAndSettle(editor, kBitBtn1);  // returns: the program gave up after brief retries
    EXPECT_FALSE(app.HasVisibleWindow(L"#32770"));
    EXPECT_EQ(ListItems(list), std::vector<std::wstring>{});
    CloseClipboard();
    ClickAndSettle(editor, kBitBtn1);
    EXPECT_EQ(ListItems(list), std::vector<std::wstring>{L"later"});
    EXPECT_FALSE(CloseAndAnswer(app, editor, IDNO).empty());
    EXPECT_EQ(app.WaitExit(), 0);
}

TEST(BadInput, OneCharacterTargetUsesTheCurrentFolder)
{
    Folder dir;
    wchar_t before[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, before);
    SetCurrentDirectoryW(dir.path.c_str());
    Program app(L"a");
    SetCurrentDirectoryW(before);
    HWND editor = app.WaitWindow(L"TForm1");
    ASSERT_TRUE(editor);
    EXPECT_EQ(Text(editor), L"Глоссира к файлу 2.3   a");
    Type(Control(editor, kMemo1), L"one");
    Click(Control(editor, kBitBtn2));
    EXPECT_EQ(app.WaitExit(), 0);
    EXPECT_EQ(ReadFileBytes(dir / L"a.txt"), "one");
}

TEST(BadInput, PathOf32000CharactersIsRefusedClearly)
{
    Folder dir;
    std::wstring name(32000 - dir.path.size(), L'n');
    Program app(L"\"" + dir.path + name + L".zip\"");
    HWND editor = app.WaitWindow(L"TForm1");
    ASSERT_TRUE(editor);
    SaveIsRefused(app, editor, dir.path + name + L".txt");
    EXPECT_FALSE(CloseAndAnswer(app, editor, IDNO).empty());
    EXPECT_EQ(app.WaitExit(), 0);
}

TEST(BadInput, TrailingDotsAndBlanks)
{
    Folder dir;
    {
        // The extension is what follows the last full stop: here nothing.
        Program app(L"\"" + (dir / L"x.zip.") + L"\"");
        HWND editor = app.WaitWindow(L"TForm1");
        ASSERT_TRUE(editor);
        Type(Control(editor, kMemo1), L"dot");
        Click(Control(editor, kBitBtn2));
        EXPECT_EQ(app.WaitExit(), 0);
        EXPECT_EQ(ReadFileBytes(dir / L"x.zip.txt"), "dot");
    }
    {
        // Blanks at the end of the joined command line are trimmed.
        Program app(L"\"" + (dir / L"y.zip   ") + L"\"");
        HWND editor = app.WaitWindow(L"TForm1");
        ASSERT_TRUE(editor);
        EXPECT_EQ(Text(editor), L"Глоссира к файлу 2.3   y.zip");
        Type(Control(editor, kMemo1), L"blank");
        Click(Control(editor, kBitBtn2));
        EXPECT_EQ(app.WaitExit(), 0);
        EXPECT_EQ(ReadFileBytes(dir / L"y.txt"), "blank");
    }
}

TEST(BadInput, UncPathToNoServerOpensAndSavingExplains)
{
    Program app(L"\"\\\\server\\share\\a.zip\"");
    HWND editor = app.WaitWindow(L"TForm1", 30000);
    ASSERT_TRUE(editor);
    SaveIsRefused(app, editor, L"\\\\server\\share\\a.txt");
    EXPECT_FALSE(CloseAndAnswer(app, editor, IDNO).empty());
    EXPECT_EQ(app.WaitExit(), 0);
}
