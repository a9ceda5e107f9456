// Hostile targets and comment files: the program explains, loses nothing and
// never hangs.
#include <gtest/gtest.h>

#include "core/cp1251.h"
#include "driver.h"

using namespace glossira;
using namespace glossira::e2e;

namespace {

constexpr int kMemo1 = 101;
constexpr int kBitBtn2 = 105;

struct Folder {
    std::wstring path = TempFolder(L"glossira-bad");
    ~Folder() { RemoveFolder(path); }
    std::wstring operator/(const std::wstring& name) const { return path + name; }
};

std::string Narrow8(const std::wstring& w) { return std::string(w.begin(), w.end()); }

// Presses OK on the expected message box and returns its text.
std::wstring Acknowledge(Program& app)
{
    HWND box = app.WaitMessageBox();
    if (!box) return L"<no message box>";
    std::wstring text = MessageText(box);
    Answer(box, IDOK);
    Sleep(200);
    return text;
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
    CloseBox(editor);
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
    CloseBox(editor);
    EXPECT_EQ(app.WaitExit(), 0);
}

TEST(BadInput, DeviceNamesNeitherHangNorWrite)
{
    Folder dir;
    Program app(L"\"" + (dir / L"CON") + L"\"");
    // CON.txt is a device: it is not read (an error may say so), never waited on.
    if (HWND box = app.WaitMessageBox(3000)) {
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
