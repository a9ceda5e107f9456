// The viewer, opened on a comment file: its text and colours, the colour
// dialogs, saving the colours, the switch to the editor and every way out.
#include <gtest/gtest.h>

#include <colordlg.h>

#include "core/cp1251.h"
#include "driver.h"
#include "inspect.h"
#include "ui/viewer_layout.h"

using namespace glossira;
using namespace glossira::e2e;

namespace {

constexpr COLORREF kBack = RGB(0x20, 0x30, 0x40);
constexpr COLORREF kText = RGB(0xF0, 0xE0, 0x10);

class Viewer : public ::testing::Test {
protected:
    void SetUp() override { ForgetColors(); }
    void TearDown() override { ForgetColors(); }
    static void ForgetColors()
    {
        DeleteSetting(L"ColorBack");
        DeleteSetting(L"ColorText");
    }
    static void StoreColors(COLORREF back, COLORREF text)
    {
        WriteSetting(L"ColorBack", back);
        WriteSetting(L"ColorText", text);
    }

    // Starts the program on a comment file and waits for the viewer.
    HWND Start(const std::string& comment, const std::wstring& name = L"note.txt")
    {
        WriteFileBytes(dir / name, comment);
        app = std::make_unique<Program>(L"\"" + (dir / name) + L"\"");
        HWND viewer = app->WaitWindow(L"TForm3", 60000);
        memo = viewer ? Control(viewer, viewer_ids::kMemo1) : nullptr;
        return viewer;
    }
    // Chooses a menu item as a person does with the keyboard: F10, arrows, Enter.
    static void Menu(HWND viewer, int item)
    {
        switch (item) {
        case viewer_ids::kN3: ChooseMenu(viewer, 0, 0); break;  // Установки / Цвет Фона
        case viewer_ids::kN4: ChooseMenu(viewer, 0, 1); break;  // Установки / Цвет Текста
        case viewer_ids::kN7: ChooseMenu(viewer, 0, 2); break;  // Установки / Выставить по умолчанию
        case viewer_ids::kN5: ChooseMenu(viewer, 0, 3); break;  // Установки / (empty)
        case viewer_ids::kN6: ChooseMenu(viewer, 0, 4); break;  // Установки / Сохранить Цвета
        case viewer_ids::kN2: ChooseMenu(viewer, 1); break;     // Редактор
        case viewer_ids::kEsc1: ChooseMenu(viewer, 2); break;   // Выход (Esc)
        default: ADD_FAILURE() << "no menu item " << item;
        }
    }
    // The memo's background, sampled in its empty lower right corner.
    COLORREF Background()
    {
        RECT client{};
        GetClientRect(memo, &client);
        return ClientPixel(memo, client.right - 6, client.bottom - 6);
    }
    bool ShowsBackground(COLORREF color)
    {
        return Eventually([&] { return Background() == color; }, 5000);
    }
    HWND ColorDialogOf(HWND viewer, int item)
    {
        Menu(viewer, item);
        return app->WaitMessageBox();
    }
    void Close(HWND dialog, int button)
    {
        Answer(dialog, button);
        Eventually([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); });
    }
    static std::wstring Rgb(HWND dialog)
    {
        return Text(GetDlgItem(dialog, COLOR_RED)) + L"," + Text(GetDlgItem(dialog, COLOR_GREEN)) + L"," +
               Text(GetDlgItem(dialog, COLOR_BLUE));
    }
    // Types a colour into the dialog's red, green and blue boxes.
    static void SetRgb(HWND dialog, int r, int g, int b)
    {
        SendMessageW(GetDlgItem(dialog, COLOR_RED), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(std::to_wstring(r).c_str()));
        SendMessageW(GetDlgItem(dialog, COLOR_GREEN), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(std::to_wstring(g).c_str()));
        SendMessageW(GetDlgItem(dialog, COLOR_BLUE), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(std::to_wstring(b).c_str()));
    }
    bool Stored(COLORREF back, COLORREF text)
    {
        return Eventually([&] {
            StoredDword b = ReadSetting(L"ColorBack"), t = ReadSetting(L"ColorText");
            return b.present && b.type == REG_DWORD && b.value == back && t.present && t.type == REG_DWORD &&
                   t.value == text;
        }, 5000);
    }

    Folder dir;
    std::unique_ptr<Program> app;
    HWND memo = nullptr;
};

}  // namespace

TEST_F(Viewer, ShowsTheCommentReadOnlyInTheStoredColours)
{
    StoreColors(kBack, kText);
    HWND viewer = Start(FromUtf8("Первая строка\nвторая\r\n"), L"Заметка.txt");
    ASSERT_TRUE(viewer);
    EXPECT_EQ(Text(viewer), L"Просмотр комментария    Заметка.txt");
    ASSERT_TRUE(WaitHandled(viewer));
    EXPECT_FALSE(app->HasVisibleWindow(L"TForm1"));
    EXPECT_EQ(EditText(memo), L"Первая строка\r\nвторая\r\n");
    EXPECT_TRUE(GetWindowLongW(memo, GWL_STYLE) & ES_READONLY);
    Type(memo, L"xyz");
    EXPECT_EQ(EditText(memo), L"Первая строка\r\nвторая\r\n");
    EXPECT_TRUE(ShowsBackground(kBack));
    EXPECT_GT(CountClientPixels(memo, kText), 20) << "no text drawn in the stored text colour";
    CloseBox(viewer);
    EXPECT_EQ(app->WaitExit(), 0);
}

TEST_F(Viewer, AnEmptyCommentShowsAnEmptyMemo)
{
    HWND viewer = Start("");
    ASSERT_TRUE(viewer);
    EXPECT_EQ(EditText(memo), L"");
    EXPECT_TRUE(ShowsBackground(RGB(255, 255, 255)));  // the defaults: white, black text
    CloseBox(viewer);
    EXPECT_EQ(app->WaitExit(), 0);
}

TEST_F(Viewer, FiveMegabyteCommentIsShownWhole)
{
    std::string line = FromUtf8("Съешь же ещё этих мягких французских булок, да выпей чаю.\r\n");
    std::string comment;
    while (comment.size() < 5 * 1024 * 1024) comment += line;
    comment += "last";
    HWND viewer = Start(comment);
    ASSERT_TRUE(viewer);
    std::wstring shown = EditText(memo);
    EXPECT_EQ(shown.size(), comment.size());  // one UTF-16 unit per Windows-1251 byte
    EXPECT_EQ(shown.substr(shown.size() - 6), L"\r\nlast");
    EXPECT_EQ(ToCp1251Lossy(std::u16string(shown.begin(), shown.end())), comment);
    CloseBox(viewer);
    EXPECT_EQ(app->WaitExit(30000), 0);
}

TEST_F(Viewer, EditorMenuHidesTheViewerAndShowsTheEditorWithItsOwnText)
{
    WriteFileBytes(dir / L"reget.log", "http://example.org/note.txt 12\r\n");
    HWND viewer = Start(FromUtf8("только в просмотре?\r\n"));
    ASSERT_TRUE(viewer);
    EXPECT_EQ(EditText(memo), L"только в просмотре?\r\n");
    Menu(viewer, viewer_ids::kN2);
    HWND editor = app->WaitWindow(L"TForm1");
    ASSERT_TRUE(editor);
    EXPECT_TRUE(Eventually([&] { return !IsWindowVisible(viewer); }));
    EXPECT_EQ(Text(editor), L"Глоссира к файлу 2.3   note.txt");
    // What start-up put into the editor (the harvest on top of the file), not the viewer's text.
    EXPECT_EQ(EditText(Control(editor, 101)), L"http://example.org/note.txt 12\r\nтолько в просмотре?\r\n");
    CloseBox(editor);
    EXPECT_EQ(app->WaitExit(), 0);
    EXPECT_EQ(ReadFileBytes(dir / L"note.txt"), FromUtf8("только в просмотре?\r\n"));
}

TEST_F(Viewer, DefaultsThenSaveStoreWhiteAndBlack)
{
    StoreColors(kBack, kText);
    HWND viewer = Start("text");
    ASSERT_TRUE(viewer);
    ASSERT_TRUE(ShowsBackground(kBack));
    Menu(viewer, viewer_ids::kN7);
    EXPECT_TRUE(ShowsBackground(RGB(255, 255, 255)));
    StoredDword before = ReadSetting(L"ColorBack");
    EXPECT_EQ(before.value, kBack) << "defaults alone save nothing";
    Menu(viewer, viewer_ids::kN6);
    EXPECT_TRUE(Stored(16777215, 0));
    EXPECT_TRUE(WaitHandled(viewer));
    EXPECT_TRUE(app->HasVisibleWindow(L"TForm3"));
    EXPECT_FALSE(app->HasVisibleWindow(L"#32770")) << "saving shows no confirmation";
    CloseBox(viewer);
    EXPECT_EQ(app->WaitExit(), 0);
}

TEST_F(Viewer, CancellingEitherColourDialogChangesNothing)
{
    StoreColors(kBack, kText);
    HWND viewer = Start("text");
    ASSERT_TRUE(viewer);
    ASSERT_TRUE(ShowsBackground(kBack));

    HWND background = ColorDialogOf(viewer, viewer_ids::kN3);
    ASSERT_TRUE(background);
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(background, COLOR_RED))) << "the background dialog opens fully";
    EXPECT_EQ(Rgb(background), L"32,48,64") << "it opens on the colour in use";
    SetRgb(background, 1, 2, 3);
    Close(background, IDCANCEL);

    HWND text = ColorDialogOf(viewer, viewer_ids::kN4);
    ASSERT_TRUE(text);
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(text, COLOR_RED))) << "the text dialog opens small";
    PostMessageW(text, WM_COMMAND, COLOR_MIX, 0);  // "Define Custom Colors >>"
    ASSERT_TRUE(Eventually([&] { return IsWindowVisible(GetDlgItem(text, COLOR_RED)) != FALSE; }));
    EXPECT_EQ(Rgb(text), L"240,224,16");
    SetRgb(text, 4, 5, 6);
    Close(text, IDCANCEL);

    EXPECT_TRUE(ShowsBackground(kBack));
    EXPECT_GT(CountClientPixels(memo, kText), 0);
    ForgetColors();  // so that what is found next was written by "Сохранить Цвета"
    Menu(viewer, viewer_ids::kN6);
    EXPECT_TRUE(Stored(kBack, kText));
    CloseBox(viewer);
    EXPECT_EQ(app->WaitExit(), 0);
}

TEST_F(Viewer, ChosenColoursApplyAtOnceStayInTheDialogsAndAreSaved)
{
    HWND viewer = Start("text");
    ASSERT_TRUE(viewer);

    HWND background = ColorDialogOf(viewer, viewer_ids::kN3);
    ASSERT_TRUE(background);
    SetRgb(background, 10, 200, 30);
    Close(background, IDOK);
    EXPECT_TRUE(ShowsBackground(RGB(10, 200, 30)));

    HWND text = ColorDialogOf(viewer, viewer_ids::kN4);
    ASSERT_TRUE(text);
    PostMessageW(text, WM_COMMAND, COLOR_MIX, 0);
    ASSERT_TRUE(Eventually([&] { return IsWindowVisible(GetDlgItem(text, COLOR_RED)) != FALSE; }));
    SetRgb(text, 250, 0, 120);
    Close(text, IDOK);
    EXPECT_TRUE(Eventually([&] { return CountClientPixels(memo, RGB(250, 0, 120)) > 0; }, 5000));
    EXPECT_FALSE(ReadSetting(L"ColorBack").present) << "nothing is saved before \"Сохранить Цвета\"";

    // Reopened, the dialog starts from the last chosen colour.
    background = ColorDialogOf(viewer, viewer_ids::kN3);
    ASSERT_TRUE(background);
    EXPECT_EQ(Rgb(background), L"10,200,30");
    Close(background, IDCANCEL);

    Menu(viewer, viewer_ids::kN6);
    EXPECT_TRUE(Stored(RGB(10, 200, 30), RGB(250, 0, 120)));
    CloseBox(viewer);
    EXPECT_EQ(app->WaitExit(), 0);
}

// The menu as a person sees it, walked with the keyboard: each highlighted
// item shows its caption, in the designed order.
TEST_F(Viewer, MenuShowsItsCaptionsInOrder)
{
    HWND viewer = Start("text");
    ASSERT_TRUE(viewer);
    auto shows = [&](bool popup, const wchar_t* caption) {
        const Ink expected = MenuTextInk(caption);
        Ink seen;
        bool same = Eventually([&] {
            seen = HighlightedMenuInk(viewer, popup);
            return seen.highlighted && std::abs(seen.width - expected.width) <= 1 &&
                   std::abs(seen.height - expected.height) <= 1;
        }, 5000);
        EXPECT_TRUE(same) << Narrow8(caption) << ": " << seen.width << "x" << seen.height << " shown, "
                          << expected.width << "x" << expected.height << " expected";
    };
    const wchar_t* bar[] = {L"Установки", L"Редактор", L"Выход (Esc)"};
    PostMessageW(viewer, WM_SYSCOMMAND, SC_KEYMENU, 0);
    for (int i = 0; i < 3; ++i) {
        if (i > 0) PressKey(viewer, VK_RIGHT);
        shows(false, bar[i]);
    }
    for (int i = 1; i >= 0; --i) {  // back to the first
        PressKey(viewer, VK_LEFT);
        shows(false, bar[i]);
    }
    PressKey(viewer, VK_DOWN);   // opens "Установки" on its first item
    const wchar_t* items[] = {L"Цвет Фона", L"Цвет Текста", L"Выставить по умолчанию", L"", L"Сохранить Цвета"};
    for (int i = 0; i < 5; ++i) {
        if (i > 0) PressKey(viewer, VK_DOWN);
        shows(true, items[i]);
    }
    PressKey(viewer, VK_ESCAPE);  // closes the menu
    PressKey(viewer, VK_ESCAPE);  // leaves the bar
    EXPECT_EQ(app->WaitExit(1000), -1) << "Esc in the menu is the menu's";
    CloseBox(viewer);
    EXPECT_EQ(app->WaitExit(), 0);
}

// Moved to a monitor of 150 %: placed where Windows suggests, the memo
// laid out again, and the window still fits it.
TEST_F(Viewer, DpiChangeLaysTheMemoOutAgainAt144)
{
    SetProcessDPIAware();
    HWND viewer = Start("text");
    ASSERT_TRUE(viewer);
    RECT before{};
    GetWindowRect(viewer, &before);
    const RECT suggested{40, 20, 40 + MulDiv(before.right - before.left, 144, 96),
                         20 + MulDiv(before.bottom - before.top, 144, 96)};
    const RECT window = SendDpiChanged(viewer, 144, suggested);
    EXPECT_EQ(window.left, suggested.left);
    EXPECT_EQ(window.top, suggested.top);
    RECT bounds = BoundsInParent(memo);
    EXPECT_EQ(bounds.left, 0);
    EXPECT_EQ(bounds.top, 0);
    EXPECT_EQ(bounds.right, MulDiv(489, 144, 96));
    EXPECT_EQ(bounds.bottom, MulDiv(385, 144, 96));
    RECT client{};
    GetClientRect(viewer, &client);
    EXPECT_EQ(client.right, bounds.right);
    EXPECT_EQ(client.bottom, bounds.bottom);
    CloseBox(viewer);
    EXPECT_EQ(app->WaitExit(), 0);
}

TEST_F(Viewer, WindowFitsTheMemoAndHasItsMenu)
{
    SetProcessDPIAware();
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    auto scale = [&](int v) { return MulDiv(v, dpi, 96); };

    HWND viewer = Start("text");
    ASSERT_TRUE(viewer);
    RECT window{};
    GetWindowRect(viewer, &window);
    EXPECT_EQ(window.left, scale(33));
    EXPECT_EQ(window.top, scale(13));
    EXPECT_TRUE(GetMenu(viewer) != nullptr);
    std::vector<HWND> children = Children(viewer);
    ASSERT_EQ(children.size(), 1u);
    EXPECT_EQ(children[0], memo);
    RECT bounds = BoundsInParent(memo);
    EXPECT_EQ(bounds.left, 0);
    EXPECT_EQ(bounds.top, 0);
    EXPECT_EQ(bounds.right, scale(489));
    EXPECT_EQ(bounds.bottom, scale(385));
    RECT client{};
    GetClientRect(viewer, &client);
    EXPECT_EQ(client.right, bounds.right) << "the window sizes itself to its contents";
    EXPECT_EQ(client.bottom, bounds.bottom);
    LONG style = GetWindowLongW(memo, GWL_STYLE);
    EXPECT_TRUE(style & WS_VSCROLL);
    EXPECT_FALSE(style & WS_HSCROLL);
    EXPECT_TRUE(style & ES_READONLY);
    EXPECT_TRUE(Hints(viewer).empty());
    CloseBox(viewer);
    EXPECT_EQ(app->WaitExit(), 0);
}

// Every way out of the viewer ends the process at once.
enum class WayOut { EscInMemo, EscInWindow, ExitMenu, CloseBox };

class ViewerExit : public Viewer, public ::testing::WithParamInterface<WayOut> {};

TEST_P(ViewerExit, EndsTheProcess)
{
    HWND viewer = Start("text");
    ASSERT_TRUE(viewer);
    switch (GetParam()) {
    case WayOut::EscInMemo: PressKey(memo, VK_ESCAPE); break;
    case WayOut::EscInWindow: PressKey(viewer, VK_ESCAPE); break;
    case WayOut::ExitMenu: Menu(viewer, viewer_ids::kEsc1); break;
    case WayOut::CloseBox: CloseBox(viewer); break;
    }
    EXPECT_EQ(app->WaitExit(), 0);
    EXPECT_EQ(ReadFileBytes(dir / L"note.txt"), "text");
}

INSTANTIATE_TEST_SUITE_P(ViewerWaysOut, ViewerExit,
                         ::testing::Values(WayOut::EscInMemo, WayOut::EscInWindow, WayOut::ExitMenu, WayOut::CloseBox));
