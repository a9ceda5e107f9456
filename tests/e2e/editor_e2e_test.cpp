// The editor window's buttons as a person uses them, and its layout against
// its control table at 100 % and 150 % scaling.
#include <gtest/gtest.h>

#include <map>

#include "core/cp1251.h"
#include "driver.h"
#include "inspect.h"
#include "ui/editor_layout.h"
#include "ui/resource_ids.h"

using namespace glossira;
using namespace glossira::e2e;
using namespace glossira::editor_ids;

namespace {

class EditorWindow : public ::testing::Test {
protected:
    // Starts the editor on dir\a.zip, with a.txt holding `comment` (none when nullptr).
    HWND Start(const char* comment)
    {
        if (comment) WriteFileBytes(dir / L"a.txt", FromUtf8(comment));
        app = std::make_unique<Program>(L"\"" + (dir / L"a.zip") + L"\"");
        editor = app->WaitWindow(L"TForm1");
        if (editor) {
            memo = Control(editor, kMemo1);
            list = Control(editor, kListBox2);
        }
        return editor;
    }
    bool MemoBecomes(const std::wstring& text)
    {
        return Eventually([&] { return EditText(memo) == text; }, 10000);
    }
    bool ListBecomes(const std::vector<std::wstring>& items)
    {
        return Eventually([&] { return ListItems(list) == items; }, 10000);
    }
    // Clicks a button, then waits until the click has been handled: a
    // character posted after it reaches the start of the memo.
    void ClickAndSettle(int id)
    {
        SendMessageW(memo, EM_SETSEL, 0, 0);
        Click(Control(editor, id));
        PostMessageW(memo, WM_CHAR, L'#', 1);
        Eventually([&] {
            std::wstring text = EditText(memo);
            return !text.empty() && text[0] == L'#';
        }, 10000);
    }
    void Import(const std::wstring& clipboard, const std::vector<std::wstring>& expected)
    {
        ASSERT_TRUE(PutOnClipboard(clipboard));
        Click(Control(editor, kBitBtn1));
        ASSERT_TRUE(ListBecomes(expected));
    }

    Folder dir;
    std::unique_ptr<Program> app;
    HWND editor = nullptr;
    HWND memo = nullptr;
    HWND list = nullptr;
};

}  // namespace

TEST_F(EditorWindow, ClipboardImportThenSaveAppendsTheList)
{
    ASSERT_TRUE(Start("старое"));
    Import(L"   Привет, мир\r\n\r\nвторая строка\r\n", {L"Привет, мир", L"вторая строка"});
    Click(Control(editor, kBitBtn2));
    EXPECT_EQ(app->WaitExit(), 0);
    EXPECT_EQ(ReadFileBytes(dir / L"a.txt"), FromUtf8("старое\r\nПривет, мир\r\nвторая строка\r\n"));
}

TEST_F(EditorWindow, EraseEmptiesTheListAndDoesNothingOnAnEmptyOne)
{
    ASSERT_TRUE(Start("текст"));
    Import(L"один\r\nдва", {L"один", L"два"});
    Click(Control(editor, kBitBtn3));
    EXPECT_TRUE(ListBecomes({}));
    ClickAndSettle(kBitBtn3);
    EXPECT_EQ(EditText(memo), L"#текст");
    EXPECT_TRUE(ListItems(list).empty());
    EXPECT_FALSE(app->HasVisibleWindow(L"#32770"));
    EXPECT_FALSE(CloseAndAnswer(*app, editor, IDNO).empty());
    EXPECT_EQ(app->WaitExit(), 0);
    EXPECT_EQ(ReadFileBytes(dir / L"a.txt"), FromUtf8("текст"));
}

TEST_F(EditorWindow, ArrowMovesTheListToTheEndOfTheMemoOnce)
{
    ASSERT_TRUE(Start("текст"));
    Import(L"один\r\nдва\r\n", {L"один", L"два"});
    Click(Control(editor, kSpeedButton2));
    EXPECT_TRUE(MemoBecomes(L"текст\r\nодин\r\nдва\r\n"));
    EXPECT_TRUE(ListItems(list).empty());
    ClickAndSettle(kSpeedButton2);
    EXPECT_EQ(EditText(memo), L"#текст\r\nодин\r\nдва\r\n");
    EXPECT_FALSE(CloseAndAnswer(*app, editor, IDNO).empty());
    EXPECT_EQ(app->WaitExit(), 0);
}

TEST_F(EditorWindow, ArrowAfterALineEndAddsNoEmptyLine)
{
    ASSERT_TRUE(Start("текст\r\n"));
    Import(L"один", {L"один"});
    Click(Control(editor, kSpeedButton2));
    EXPECT_TRUE(MemoBecomes(L"текст\r\nодин\r\n"));
    EXPECT_FALSE(CloseAndAnswer(*app, editor, IDNO).empty());
    EXPECT_EQ(app->WaitExit(), 0);
}

TEST_F(EditorWindow, SearchTwicePutsTheHarvestedLinesTwiceOnTop)
{
    WriteFileBytes(dir / L"reget.log", "08.12.2026 http://example.org/A.ZIP 22\r\n");
    WriteFileBytes(dir / L"descript.ion", FromUtf8("a.zip Архив примера\r\n"));
    // The first line names the target: no harvest at start-up.
    ASSERT_TRUE(Start("a.zip: мой\r\n"));
    EXPECT_EQ(EditText(memo), L"a.zip: мой\r\n");
    const std::wstring once = L"a.zip Архив примера\r\n08.12.2026 http://example.org/A.ZIP 22\r\n";
    Click(Control(editor, kBitBtn4));
    EXPECT_TRUE(MemoBecomes(once + L"a.zip: мой\r\n"));
    Click(Control(editor, kBitBtn4));
    EXPECT_TRUE(MemoBecomes(once + once + L"a.zip: мой\r\n"));
    EXPECT_FALSE(CloseAndAnswer(*app, editor, IDNO).empty());
    EXPECT_EQ(app->WaitExit(), 0);
    EXPECT_EQ(ReadFileBytes(dir / L"a.txt"), FromUtf8("a.zip: мой\r\n"));
}

// "Копировать Буфер Обмена" harvests after the import whatever the
// clipboard held, unless a line naming the target is already on top.
TEST_F(EditorWindow, CopyClipWithoutTextStillHarvests)
{
    ASSERT_TRUE(Start("мой"));
    WriteFileBytes(dir / L"reget.log", "08.12.2026 http://example.org/a.zip 22\r\n");  // after start-up
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    CloseClipboard();
    Click(Control(editor, kBitBtn1));
    EXPECT_TRUE(MemoBecomes(L"08.12.2026 http://example.org/a.zip 22\r\nмой"));
    EXPECT_TRUE(ListItems(list).empty());
    // The header is found now: a second import harvests no more.
    Import(L"строка", {L"строка"});
    ClickAndSettle(kBitBtn3);
    EXPECT_EQ(EditText(memo), L"#08.12.2026 http://example.org/a.zip 22\r\nмой");
    EXPECT_FALSE(CloseAndAnswer(*app, editor, IDNO).empty());
    EXPECT_EQ(app->WaitExit(), 0);
}

TEST_F(EditorWindow, CopyClipDoesNotHarvestWhenTheHeaderIsFound)
{
    WriteFileBytes(dir / L"reget.log", "08.12.2026 http://example.org/a.zip 22\r\n");
    ASSERT_TRUE(Start("a.zip: мой"));
    Import(L"строка", {L"строка"});
    ClickAndSettle(kBitBtn3);  // handled after the import and what followed it
    EXPECT_EQ(EditText(memo), L"#a.zip: мой");
    EXPECT_FALSE(CloseAndAnswer(*app, editor, IDNO).empty());
    EXPECT_EQ(app->WaitExit(), 0);
}

// A log that fails while it is read, after another log gave a line: the line
// is inserted, then the error is shown, and the editor stays. The extra log
// is a file whose reading fails: Linux's /proc/self/mem at address 0.
TEST_F(EditorWindow, HarvestReadErrorShowsTheLinesFoundThenTheError)
{
    const std::wstring failing = L"Z:\\proc\\self\\mem";
    WriteSetting(L"LogPath", 1);
    RegSetKeyValueW(HKEY_LOCAL_MACHINE, L"Software\\Orvik\\Glossira", L"PathStrLog", REG_SZ, failing.c_str(),
                    static_cast<DWORD>((failing.size() + 1) * sizeof(wchar_t)));
    ASSERT_TRUE(Start("a.zip: мой"));  // named on top: no harvest at start-up
    WriteFileBytes(dir / L"reget.log", "08.12.2026 http://example.org/a.zip 22\r\n");
    Click(Control(editor, kBitBtn4));
    HWND box = app->WaitMessageBox();
    DeleteSetting(L"LogPath");
    DeleteSetting(L"PathStrLog");
    ASSERT_TRUE(box);
    const std::wstring message = MessageText(box);
    EXPECT_EQ(message.rfind(L"Cannot read file \"" + failing + L"\". ", 0), 0u) << Narrow8(message);
    EXPECT_EQ(EditText(memo), L"08.12.2026 http://example.org/a.zip 22\r\na.zip: мой") << "inserted before the error";
    Answer(box, IDOK);
    EXPECT_TRUE(Eventually([&] { return !app->HasVisibleWindow(L"#32770"); }));
    EXPECT_TRUE(app->HasVisibleWindow(L"TForm1"));
    EXPECT_FALSE(CloseAndAnswer(*app, editor, IDNO).empty());
    EXPECT_EQ(app->WaitExit(), 0);
}

TEST_F(EditorWindow, CommentHasTheFocusAndTabMovesOnWithoutTypingATab)
{
    ASSERT_TRUE(Start("текст"));
    auto focus = [&] {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(GetWindowThreadProcessId(editor, nullptr), &info);
        return info.hwndFocus;
    };
    EXPECT_TRUE(Eventually([&] { return focus() == memo; })) << "not the zero-width Memo3";
    PressKey(memo, VK_TAB);
    EXPECT_TRUE(Eventually([&] { return focus() == Control(editor, kBitBtn1); }));
    EXPECT_EQ(EditText(memo), L"текст");
    CloseBox(editor);
    EXPECT_EQ(app->WaitExit(), 0);
}

// Typing after start-up goes below the harvested lines, at the end of the
// comment; closing then asks whether to save: Cancel stays, Yes saves.
TEST_F(EditorWindow, TypingGoesToTheEndAndClosingAsksWhetherToSave)
{
    WriteFileBytes(dir / L"reget.log", "08.12.2026 http://example.org/a.zip 22\r\n");
    ASSERT_TRUE(Start("старое"));
    const std::wstring harvested = L"08.12.2026 http://example.org/a.zip 22\r\nстарое";
    ASSERT_TRUE(MemoBecomes(harvested));
    Type(memo, L" и новое");
    EXPECT_TRUE(MemoBecomes(harvested + L" и новое")) << Narrow8(EditText(memo));

    CloseBox(editor);
    HWND box = app->WaitMessageBox(5000);
    ASSERT_TRUE(box) << "closing after typing asked nothing";
    EXPECT_EQ(Text(box), L"Глоссира");
    EXPECT_NE(MessageText(box).find(dir / L"a.txt"), std::wstring::npos);
    EXPECT_TRUE(GetDlgItem(box, IDYES) && GetDlgItem(box, IDNO) && GetDlgItem(box, IDCANCEL));
    Answer(box, IDCANCEL);
    EXPECT_TRUE(Eventually([&] { return !IsWindow(box); }));
    EXPECT_EQ(app->WaitExit(500), -1) << "Cancel closed the editor";
    EXPECT_TRUE(app->HasVisibleWindow(L"TForm1"));
    EXPECT_EQ(EditText(memo), harvested + L" и новое");
    EXPECT_EQ(ReadFileBytes(dir / L"a.txt"), FromUtf8("старое"));

    EXPECT_FALSE(CloseAndAnswer(*app, editor, IDYES).empty());
    EXPECT_EQ(app->WaitExit(), 0);
    EXPECT_EQ(ReadFileBytes(dir / L"a.txt"), FromUtf8("08.12.2026 http://example.org/a.zip 22\r\nстарое и новое"));
}

// The lines start-up's harvest put in are no change of the user's.
TEST_F(EditorWindow, AnUnchangedEditorClosesWithoutAQuestion)
{
    WriteFileBytes(dir / L"reget.log", "08.12.2026 http://example.org/a.zip 22\r\n");
    ASSERT_TRUE(Start("старое"));
    ASSERT_TRUE(MemoBecomes(L"08.12.2026 http://example.org/a.zip 22\r\nстарое"));
    CloseBox(editor);
    EXPECT_EQ(app->WaitExit(), 0);
    EXPECT_FALSE(app->HasVisibleWindow(L"#32770"));
    EXPECT_EQ(ReadFileBytes(dir / L"a.txt"), FromUtf8("старое"));
}

// Each picture has its own images for 100 % and 200 % scaling, so neither is
// a scaled copy of the other; the help picture is 15 x 15.
TEST(EditorWindowPictures, HaveNativeImagesAt100And200Percent)
{
    std::wstring exe = ProgramPath();
    HMODULE module = LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_TRUE(module);
    for (int id : {IDI_CLIPBOARD, IDI_SAVE, IDI_ERASE, IDI_HELP, IDI_ARROW}) {
        HRSRC group = FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(14) /* RT_GROUP_ICON */);
        ASSERT_TRUE(group) << id;
        auto* directory = static_cast<BYTE*>(LockResource(LoadResource(module, group)));
        for (int size : id == IDI_HELP ? std::vector<int>{15, 30} : std::vector<int>{16, 32}) {
            int icon = LookupIconIdFromDirectoryEx(directory, TRUE, size, size, LR_DEFAULTCOLOR);
            HRSRC image = FindResourceW(module, MAKEINTRESOURCEW(icon), MAKEINTRESOURCEW(3) /* RT_ICON */);
            ASSERT_TRUE(image) << id << " at " << size;
            auto* header = static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(module, image)));
            EXPECT_EQ(header->biWidth, size) << id;
            EXPECT_EQ(header->biHeight, 2 * size) << id;  // colour and mask
            EXPECT_EQ(header->biBitCount, 32) << id;
        }
    }
    FreeLibrary(module);
}

namespace {

// The controls against the control table at `dpi`, in tab order.
void ExpectEditorControls(HWND editor, int dpi)
{
    struct Row {
        int id;
        const wchar_t* windowClass;
        int left, top, width, height;
        const wchar_t* text;  // nullptr: not checked
        const wchar_t* hint;  // nullptr: none
        bool tabStop;
        bool picture;
    };
    const Row table[] = {
        {kMemo3, L"Edit", 257, 289, 0, 7, L"Memo3", nullptr, true, false},
        {kListBox2, L"ListBox", 8, 216, 577, 129, nullptr, L"Коментарий экспортируемый из Буфера обмена", true, false},
        {kMemo1, L"Edit", 8, 8, 593, 193, nullptr, L"Здесь можете писать коментарий", true, false},
        {kBitBtn1, L"Button", 112, 360, 193, 25, L"Копировать Буфер Обмена", nullptr, true, true},
        {kBitBtn2, L"Button", 312, 360, 177, 25, L"Запись и Выход", nullptr, true, true},
        {kBitBtn3, L"Button", 592, 272, 75, 25, L"Стереть", nullptr, true, true},
        {kBitBtn4, L"Button", 608, 80, 51, 25, L"Поиск", nullptr, true, false},
        {kSpeedButton1, L"Button", 608, 360, 23, 22, L"", nullptr, false, true},
        {kSpeedButton2, L"Button", 616, 240, 23, 22, L"", L"Перенести текст из нижнего в верхнее окно", false, true},
    };
    auto scale = [dpi](int value) { return MulDiv(value, dpi, 96); };
    std::map<HWND, std::wstring> hints;
    for (const Hint& hint : Hints(editor)) hints[hint.control] = hint.text;

    std::vector<HWND> children = Children(editor);
    ASSERT_EQ(children.size(), std::size(table));
    RECT client{};
    GetClientRect(editor, &client);
    for (std::size_t i = 0; i < std::size(table); ++i) {
        const Row& row = table[i];
        HWND control = children[i];
        SCOPED_TRACE(testing::Message() << "control " << row.id);
        EXPECT_EQ(GetDlgCtrlID(control), row.id) << "tab order";
        wchar_t name[32];
        GetClassNameW(control, name, 32);
        EXPECT_EQ(_wcsicmp(name, row.windowClass), 0);
        RECT bounds = BoundsInParent(control);
        EXPECT_EQ(bounds.left, scale(row.left));
        EXPECT_EQ(bounds.top, scale(row.top));
        EXPECT_EQ(bounds.right - bounds.left, scale(row.width));
        EXPECT_EQ(bounds.bottom - bounds.top, scale(row.height));
        EXPECT_LE(bounds.right, client.right) << "inside the window";
        EXPECT_LE(bounds.bottom, client.bottom) << "inside the window";
        if (row.text) {
            EXPECT_EQ(Text(control), row.text);
        }
        auto hint = hints.find(control);
        if (row.hint) {
            ASSERT_NE(hint, hints.end());
            EXPECT_EQ(hint->second, row.hint);
        } else {
            EXPECT_EQ(hint, hints.end());
        }
        EXPECT_EQ((GetWindowLongW(control, GWL_STYLE) & WS_TABSTOP) != 0, row.tabStop);
        EXPECT_EQ(HasPicture(control), row.picture);
    }
    EXPECT_EQ(hints.size(), 3u);
    // The list's rows follow the DPI too.
    EXPECT_EQ(SendMessageW(Control(editor, kListBox2), LB_GETITEMHEIGHT, 0, 0), scale(13));
}

}  // namespace

// The window and its controls against the control table, scaled to the DPI.
class EditorWindowLayout : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override
    {
        SetProcessDPIAware();  // coordinates of the program's windows unscaled
        SetSystemDpi(static_cast<DWORD>(GetParam()));
    }
    void TearDown() override { ResetSystemDpi(); }
    int Scale(int value) const { return MulDiv(value, GetParam(), 96); }
};

TEST_P(EditorWindowLayout, ControlsFollowTheTableInTabOrder)
{
    Folder dir;
    Program app(L"\"" + (dir / L"a.zip") + L"\"");
    HWND editor = app.WaitWindow(L"TForm1");
    ASSERT_TRUE(editor);

    RECT window{};
    GetWindowRect(editor, &window);
    EXPECT_EQ(window.left, Scale(11));
    EXPECT_EQ(window.top, Scale(39));
    EXPECT_EQ(window.right - window.left, Scale(675));
    EXPECT_EQ(window.bottom - window.top, Scale(427));
    LONG style = GetWindowLongW(editor, GWL_STYLE);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_EQ(Text(editor), L"Глоссира к файлу 2.3   a.zip");
    ExpectEditorControls(editor, GetParam());
    CloseBox(editor);
    EXPECT_EQ(app.WaitExit(), 0);
}

// 150 %: a window of 200 % would not fit on the 1280-pixel virtual screen.
INSTANTIATE_TEST_SUITE_P(EditorWindowAtDpi, EditorWindowLayout, ::testing::Values(96, 144));

// Moved to a monitor of 150 %: the window takes the suggested rectangle and
// every control is laid out again from the table.
TEST(EditorWindowDpiChange, ControlsFollowTheTableAt144)
{
    SetProcessDPIAware();
    Folder dir;
    Program app(L"\"" + (dir / L"a.zip") + L"\"");
    HWND editor = app.WaitWindow(L"TForm1");
    ASSERT_TRUE(editor);
    const RECT suggested{30, 50, 30 + MulDiv(675, 144, 96), 50 + MulDiv(427, 144, 96)};
    const RECT window = SendDpiChanged(editor, 144, suggested);
    EXPECT_TRUE(EqualRect(&window, &suggested)) << window.left << "," << window.top << " " << window.right << ","
                                                << window.bottom;
    ExpectEditorControls(editor, 144);
    CloseBox(editor);
    EXPECT_EQ(app.WaitExit(), 0);
}
