// The program started as Explorer starts it: editor, viewer and settings
// modes, loading and saving the comment.
#include <gtest/gtest.h>

#include "core/cp1251.h"
#include "driver.h"
#include "inspect.h"
#include "ui/editor_layout.h"

using namespace glossira;
using namespace glossira::e2e;
using namespace glossira::editor_ids;

TEST(Editor, OpensExistingCommentWithCaptionAndText)
{
    Folder dir;
    WriteFileBytes(dir / L"setup.txt", FromUtf8("Первая строка\nвторая\r\n"));
    Program app(L"\"" + (dir / L"setup.zip") + L"\"");
    HWND editor = app.WaitWindow(L"TForm1");
    ASSERT_TRUE(editor);
    EXPECT_EQ(Text(editor), L"Глоссира к файлу 2.3   setup.zip");
    EXPECT_EQ(EditText(Control(editor, kMemo1)), L"Первая строка\r\nвторая\r\n");
    CloseBox(editor);
    EXPECT_EQ(app.WaitExit(), 0);
}

TEST(Editor, SaveWritesExactBytesAndEnds)
{
    Folder dir;
    WriteFileBytes(dir / L"a.txt", FromUtf8("старое"));
    Program app(L"\"" + (dir / L"a.zip") + L"\"");
    HWND editor = app.WaitWindow(L"TForm1");
    ASSERT_TRUE(editor);
    HWND memo = Control(editor, kMemo1);
    SendMessageW(memo, EM_SETSEL, 0, 0);
    Type(memo, L"Новое: ");
    Click(Control(editor, kBitBtn2));
    EXPECT_EQ(app.WaitExit(), 0);
    EXPECT_EQ(ReadFileBytes(dir / L"a.txt"), FromUtf8("Новое: старое"));
}

TEST(Editor, CloseBoxAfterEditingAsksAndNoChangesNothing)
{
    Folder dir;
    WriteFileBytes(dir / L"a.txt", "keep\r\n");
    Program app(L"\"" + (dir / L"a.zip") + L"\"");
    HWND editor = app.WaitWindow(L"TForm1");
    ASSERT_TRUE(editor);
    Type(Control(editor, kMemo1), L"typed");
    const std::wstring question = CloseAndAnswer(app, editor, IDNO);
    EXPECT_EQ(question, L"Комментарий изменён. Записать его в файл \"" + (dir / L"a.txt") + L"\"?");
    EXPECT_EQ(app.WaitExit(), 0);
    EXPECT_EQ(ReadFileBytes(dir / L"a.txt"), "keep\r\n");
    EXPECT_EQ(ReadFileBytes(dir / L"a.zip"), "<missing>");
}

TEST(Editor, UnquotedPiecesWithSpacesAreJoined)
{
    Folder dir;
    CreateDirectoryW((dir / L"My Files").c_str(), nullptr);
    WriteFileBytes(dir / L"My Files\\a.txt", "joined");
    Program app(dir.path + L"My   Files\\a.zip");
    HWND editor = app.WaitWindow(L"TForm1");
    ASSERT_TRUE(editor);
    EXPECT_EQ(EditText(Control(editor, kMemo1)), L"joined");
    CloseBox(editor);
    EXPECT_EQ(app.WaitExit(), 0);
}

TEST(Editor, CyrillicPathWithSpacesRoundTripsAFiveMegabyteComment)
{
    Folder dir;
    std::wstring sub = dir / L"Мои загрузки";
    CreateDirectoryW(sub.c_str(), nullptr);
    std::string comment;
    while (comment.size() < 5 * 1024 * 1024) comment += FromUtf8("Съешь же ещё этих мягких французских булок, да выпей чаю.\r\n");
    WriteFileBytes(sub + L"\\файл с пробелами.txt", comment);
    Program app(L"\"" + sub + L"\\файл с пробелами.zip\"");
    HWND editor = app.WaitWindow(L"TForm1", 60000);
    ASSERT_TRUE(editor);
    Click(Control(editor, kBitBtn2));
    EXPECT_EQ(app.WaitExit(60000), 0);
    std::string saved = ReadFileBytes(sub + L"\\файл с пробелами.txt");
    EXPECT_EQ(saved.size(), comment.size());
    EXPECT_TRUE(saved == comment);
}

TEST(Editor, ReadOnlyCommentKeepsItsBytesAndTheEditorStays)
{
    Folder dir;
    WriteFileBytes(dir / L"ro.txt", "old bytes");
    SetFileAttributesW((dir / L"ro.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    Program app(L"\"" + (dir / L"ro.zip") + L"\"");
    HWND editor = app.WaitWindow(L"TForm1");
    ASSERT_TRUE(editor);
    Type(Control(editor, kMemo1), L"new ");
    Click(Control(editor, kBitBtn2));
    HWND box = app.WaitMessageBox();
    ASSERT_TRUE(box);
    std::wstring message = MessageText(box);
    EXPECT_NE(message.find(L"Cannot create file \"" + (dir / L"ro.txt") + L"\". "), std::wstring::npos) << std::string(message.begin(), message.end());
    EXPECT_EQ(Text(box), L"Глоссира");
    Answer(box, IDOK);
    ASSERT_TRUE(Eventually([&] { return !IsWindow(box); }));
    EXPECT_TRUE(WaitHandled(editor)) << "the editor is gone";
    EXPECT_TRUE(app.HasVisibleWindow(L"TForm1"));
    EXPECT_EQ(EditText(Control(editor, kMemo1)), L"old bytesnew ");
    // Yes on closing saves the same way, and fails the same way.
    EXPECT_FALSE(CloseAndAnswer(app, editor, IDYES).empty());
    box = app.WaitMessageBox();
    ASSERT_TRUE(box);
    EXPECT_EQ(MessageText(box), message);
    Answer(box, IDOK);
    EXPECT_TRUE(Eventually([&] { return !IsWindow(box); }));
    EXPECT_EQ(app.WaitExit(500), -1) << "the editor closed";
    EXPECT_TRUE(app.HasVisibleWindow(L"TForm1"));
    EXPECT_EQ(EditText(Control(editor, kMemo1)), L"old bytesnew ");
    SetFileAttributesW((dir / L"ro.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(ReadFileBytes(dir / L"ro.txt"), "old bytes");
    EXPECT_FALSE(CloseAndAnswer(app, editor, IDNO).empty());
    EXPECT_EQ(app.WaitExit(), 0);
}

TEST(Modes, NoArgumentsShowsTheSettingsWindow)
{
    Program app(L"");
    HWND settings = app.WaitWindow(L"TForm2");
    ASSERT_TRUE(settings);
    ASSERT_TRUE(WaitHandled(settings));
    EXPECT_FALSE(app.HasVisibleWindow(L"TForm1"));
    PostMessageW(settings, WM_CLOSE, 0, 0);
    EXPECT_EQ(app.WaitExit(), 0);
}

TEST(Modes, CommentFileInUpperCaseOpensTheViewer)
{
    Folder dir;
    WriteFileBytes(dir / L"a.txt", FromUtf8("смотреть"));
    Program app(L"\"" + (dir / L"A.TXT") + L"\"");
    HWND viewer = app.WaitWindow(L"TForm3");
    ASSERT_TRUE(viewer);
    ASSERT_TRUE(WaitHandled(viewer));
    EXPECT_FALSE(app.HasVisibleWindow(L"TForm1"));
    EXPECT_EQ(Text(viewer), L"Просмотр комментария    A.txt");
    PostMessageW(viewer, WM_CLOSE, 0, 0);
    EXPECT_EQ(app.WaitExit(), 0);
}

TEST(Modes, ViewerOfAMissingCommentEnds)
{
    Folder dir;
    Program app(L"\"" + (dir / L"gone.txt") + L"\"");
    EXPECT_EQ(app.WaitExit(), 0);
}

TEST(Modes, WrongRegistryTypeIsReportedAndTheEditorOpens)
{
    HKEY key;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Orvik\\Glossira", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &key, nullptr),
              ERROR_SUCCESS);
    DWORD one = 1;
    RegSetValueExW(key, L"Ext", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), sizeof one);
    Folder dir;
    Program app(L"\"" + (dir / L"a.zip") + L"\"");
    HWND box = app.WaitMessageBox();
    ASSERT_TRUE(box);
    EXPECT_EQ(MessageText(box), L"Invalid data type for 'Ext'");
    Answer(box, IDOK);
    HWND editor = app.WaitWindow(L"TForm1");
    RegDeleteValueW(key, L"Ext");
    RegCloseKey(key);
    ASSERT_TRUE(editor);
    CloseBox(editor);
    EXPECT_EQ(app.WaitExit(), 0);
}

namespace {

constexpr const wchar_t* kOpenCommand = L"GlossiraFile\\shell\\open\\command";

std::wstring OpenCommand()
{
    wchar_t value[512] = L"";
    DWORD size = sizeof value;
    if (RegGetValueW(HKEY_CLASSES_ROOT, kOpenCommand, nullptr, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
        return L"<missing>";
    return value;
}

}  // namespace

// Only the viewer, started through the association, repairs its command.
TEST(Modes, EditorModeNeverRepairsTheAssociation)
{
    const std::wstring unquoted = L"C:\\Program Files\\Glossira\\glossira.exe";
    ASSERT_EQ(RegSetKeyValueW(HKEY_CLASSES_ROOT, kOpenCommand, nullptr, REG_SZ, unquoted.c_str(),
                              static_cast<DWORD>((unquoted.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
    Folder dir;
    WriteFileBytes(dir / L"a.txt", "comment");
    {
        Program app(L"\"" + (dir / L"a.zip") + L"\"");
        HWND editor = app.WaitWindow(L"TForm1");
        ASSERT_TRUE(editor);
        CloseBox(editor);
        EXPECT_EQ(app.WaitExit(), 0);
    }
    EXPECT_EQ(OpenCommand(), unquoted);
    {
        Program app(L"\"" + (dir / L"a.txt") + L"\"");
        HWND viewer = app.WaitWindow(L"TForm3", 60000);
        ASSERT_TRUE(viewer);
        CloseBox(viewer);
        EXPECT_EQ(app.WaitExit(), 0);
    }
    EXPECT_EQ(OpenCommand(), L"\"" + unquoted + L"\" \"%1\"");
    RegDeleteTreeW(HKEY_CLASSES_ROOT, L"GlossiraFile");
}

// The header test looks at the first displayed row only: a name that word
// wrap puts on the second row of a long first line is not seen, and the
// harvest runs at start-up.
TEST(Editor, TargetNameOnTheSecondDisplayedRowStillHarvests)
{
    Folder dir;
    WriteFileBytes(dir / L"reget.log", "08.12.2026 http://example.org/a.zip 22\r\n");
    std::string first;
    for (int i = 0; i < 40; ++i) first += "word ";
    first += "a.zip\r\nsecond";
    WriteFileBytes(dir / L"a.txt", first);
    Program app(L"\"" + (dir / L"a.zip") + L"\"");
    HWND editor = app.WaitWindow(L"TForm1");
    ASSERT_TRUE(editor);
    HWND memo = Control(editor, kMemo1);
    EXPECT_GT(SendMessageW(memo, EM_LINEFROMCHAR, first.find("a.zip"), 0), 0) << "the name is on a later row";
    EXPECT_EQ(EditText(memo), L"08.12.2026 http://example.org/a.zip 22\r\n" + std::wstring(first.begin(), first.end()));
    CloseBox(editor);
    EXPECT_EQ(app.WaitExit(), 0);
}

// A target without a name (a folder path ending in a backslash): nothing
// can name it, nothing is harvested, and the editor opens.
TEST(Editor, EmptyTargetNameFindsNothingAndOpensTheEditor)
{
    Folder dir;
    WriteFileBytes(dir / L"reget.log", "any line\r\n");
    WriteFileBytes(dir / L".txt", "comment");
    Program app(L"\"" + dir.path + L"\"");
    HWND editor = app.WaitWindow(L"TForm1");
    ASSERT_TRUE(editor);
    EXPECT_EQ(Text(editor), L"Глоссира к файлу 2.3   ");
    HWND memo = Control(editor, kMemo1);
    EXPECT_EQ(EditText(memo), L"comment");
    SendMessageW(memo, EM_SETSEL, 0, 0);
    Type(memo, L"new ");
    Click(Control(editor, kBitBtn2));
    EXPECT_EQ(app.WaitExit(), 0);
    EXPECT_EQ(ReadFileBytes(dir / L".txt"), "new comment");
}
