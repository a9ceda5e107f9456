// The settings window worked as a person would: the interlocks, installing
// and removing the shell integration, full removal, the saved settings and
// the ways out that save nothing. Every test leaves the registry entries and
// the Send To shortcut of the program as it found them: absent.
#include <gtest/gtest.h>
#include <objbase.h>
#include <shlobj.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "driver.h"
#include "inspect.h"
#include "system_view.h"
#include "ui/settings_layout.h"

using namespace glossira::e2e;
using namespace glossira::settings_ids;

namespace {

// Every key and value below root\path, one a line.
void DumpTree(HKEY root, const std::wstring& path, std::wstring& out)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return;
    out += path + L"\n";
    for (DWORD i = 0;; ++i) {
        wchar_t name[256];
        DWORD nameLen = 256, type = 0;
        BYTE data[4096] = {};
        DWORD size = sizeof data - 2;
        if (RegEnumValueW(key, i, name, &nameLen, nullptr, &type, data, &size) != ERROR_SUCCESS) break;
        out += L"  " + std::wstring(name, nameLen) + L" " + std::to_wstring(type) + L" ";
        if (type == REG_SZ) out += reinterpret_cast<const wchar_t*>(data);
        if (type == REG_DWORD) out += std::to_wstring(*reinterpret_cast<const DWORD*>(data));
        out += L"\n";
    }
    for (DWORD i = 0;; ++i) {
        wchar_t name[256];
        DWORD nameLen = 256;
        if (RegEnumKeyExW(key, i, name, &nameLen, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        DumpTree(root, path + L"\\" + std::wstring(name, nameLen), out);
    }
    RegCloseKey(key);
}

std::wstring ShortcutPath() { return SendToFolder() + L"\\Глоссира.lnk"; }

std::wstring ProgramFolder()
{
    std::wstring exe = ProgramPath();
    return exe.substr(0, exe.find_last_of(L'\\') + 1);
}

// Clicks a box as a person does and waits until the window has handled it.
void ClickBox(HWND window, int id)
{
    Click(Control(window, id));
    EXPECT_TRUE(WaitHandled(window));
}
bool IsChecked(HWND window, int id) { return SendMessageW(Control(window, id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
void SetText(HWND control, const std::wstring& text)
{
    SendMessageW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

// Whether some pixel of the control's first text line, as on the screen,
// has exactly this colour.
bool DrawsColour(HWND control, COLORREF colour)
{
    RECT r{};
    GetWindowRect(control, &r);
    HDC screen = GetDC(nullptr);
    bool found = false;
    for (int y = r.top; y < r.top + 16 && y < r.bottom && !found; ++y)
        for (int x = r.left; x < r.right && !found; ++x) found = GetPixel(screen, x, y) == colour;
    ReleaseDC(nullptr, screen);
    return found;
}

class Settings : public ::testing::Test {
protected:
    void SetUp() override
    {
        Clean();
        CreateDirectoryW(SendToFolder().c_str(), nullptr);
    }
    void TearDown() override { Clean(); }

    static void Clean()
    {
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, kSettingsKey.c_str());
        RegDeleteKeyW(HKEY_LOCAL_MACHINE, L"Software\\Orvik");
        RegDeleteTreeW(HKEY_CLASSES_ROOT, kClassKey.c_str());
        RegDeleteTreeW(HKEY_CLASSES_ROOT, kHandlerKey.c_str());
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, kAppPathKey.c_str());
        RegDeleteTreeW(HKEY_CLASSES_ROOT, L".###");
        RegDeleteTreeW(HKEY_CLASSES_ROOT, L"GlossiraFile");
        HKEY runOnce = nullptr;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kRunOnceKey.c_str(), 0, KEY_ALL_ACCESS, &runOnce) == ERROR_SUCCESS) {
            RegDeleteValueW(runOnce, L"glossira");
            RegCloseKey(runOnce);
        }
        for (const std::wstring& key : {L"Software\\Classes\\" + kClassKey, L"Software\\Classes\\" + kHandlerKey, kAppPathKey})
            RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str());
        if (RegOpenKeyExW(HKEY_CURRENT_USER, kRunOnceKey.c_str(), 0, KEY_ALL_ACCESS, &runOnce) == ERROR_SUCCESS) {
            RegDeleteValueW(runOnce, L"glossira");
            RegCloseKey(runOnce);
        }
        DeleteFileW(ShortcutPath().c_str());
    }

    // Everything the settings window may change.
    static std::wstring Snapshot()
    {
        std::wstring out;
        DumpTree(HKEY_LOCAL_MACHINE, kSettingsKey, out);
        DumpTree(HKEY_CLASSES_ROOT, kClassKey, out);
        DumpTree(HKEY_CLASSES_ROOT, kHandlerKey, out);
        DumpTree(HKEY_LOCAL_MACHINE, kAppPathKey, out);
        DumpTree(HKEY_CLASSES_ROOT, L".###", out);
        DumpTree(HKEY_CLASSES_ROOT, L"GlossiraFile", out);
        out += L"RunOnce " + ReadText(HKEY_LOCAL_MACHINE, kRunOnceKey, L"glossira") + L"\n";
        out += FileExists(ShortcutPath()) ? L"shortcut\n" : L"no shortcut\n";
        return out;
    }

    // Presses OK, expects "Установки сохранены", answers it and waits for the end.
    // Returns Edit2's text as the message box is shown.
    static std::wstring SaveAndEnd(Program& app, HWND window)
    {
        Click(Control(window, kButton1));
        HWND box = app.WaitMessageBox();
        if (!box) return L"<no message box>";
        EXPECT_EQ(MessageText(box), L"Установки сохранены");
        EXPECT_EQ(Text(box), L"Глоссира");
        std::wstring edit2 = Text(Control(window, kEdit2));
        Answer(box, IDOK);
        EXPECT_EQ(app.WaitExit(), 0);
        return edit2;
    }

    // Runs the program once with `choose` applied to its window, then OK.
    template <class F>
    static std::wstring RunAndSave(F&& choose, const std::wstring& program = ProgramPath())
    {
        Program app(program, L"");
        HWND window = app.WaitWindow(L"TForm2");
        if (!window) return L"<no window>";
        choose(window);
        return SaveAndEnd(app, window);
    }
};

}  // namespace

namespace {

// The controls against the control table at `dpi`, in creation order.
void ExpectSettingsControls(HWND w, int dpi)
{
    auto scale = [dpi](int v) { return MulDiv(v, dpi, 96); };
    RECT client{};
    GetClientRect(w, &client);

    struct Row {
        int id;
        const wchar_t* text;  // nullptr: not checked
        int left, top, width, height;
    };
    const Row table[] = {
        {kGroupBox1, L"Инсталляция в систему", 8, 8, 633, 97},
        {kCheckBox4, L"Инсталлировать в контекстное меню \"Отправить\"", 24, 32, 289, 17},
        {kCheckBox7, L"Инсталировать в контекстное меню ", 24, 56, 209, 17},
        {kCheckBox8, L"Удалить из контекстного меню \"Отправить\"", 336, 32, 249, 17},
        {kCheckBox9, L"Удалить из контекстного меню", 336, 56, 233, 17},
        {kCheckBox5, L"Полное удаление программы", 200, 80, 177, 17},
        {kGroupBox2, L"Брать дополнительный комментарий из ", 8, 112, 633, 169},
        {kLabel3, L"Из файлов в папке , где находится файл,к которому создается комментарий", 24, 136, -1, -1},
        {kCheckBox1, L"", 40, 160, 17, 17},
        {kEdit1, L"reget.log;descript.ion;", 64, 160, 561, 21},
        {kLabel4, L"Конкретное расположение файла", 24, 192, -1, -1},
        {kCheckBox2, L"", 40, 216, 17, 17},
        {kFilenameEdit1, L"", 64, 216, -1, 21},
        {kFilenameEdit1Browse, nullptr, -1, 216, -1, 21},
        {kCheckBox3, L"Брать только одну , первую попавшуюся , строку  ", 40, 256, 281, 17},
        {kCheckBox10, L"Адрес загрузки из Zone.Identifier", 336, 256, 289, 17},
        {kButton1, L"OK", 472, 336, 75, 25},
        {kButton2, L"Отмена", 560, 336, 75, 25},
        {kGroupBox3, L"Расширение файла коментария", 8, 304, 377, 81},
        {kLabel5, L"Имя расширения (без точки ) (по умолчанию \"txt\")", 16, 328, -1, -1},
        {kEdit2, L"txt", 288, 328, 89, 21},
        {kLabel6, L"Зарегестрировать данное расширение  для  этой  программы", 16, 360, -1, -1},
        {kCheckBox6, L"", 360, 360, 17, 17},
        {kSpeedButton1, L"", 440, 336, 23, 22},  // a glyph, no caption
    };
    std::vector<HWND> children = Children(w);
    ASSERT_EQ(children.size(), std::size(table));
    for (std::size_t i = 0; i < std::size(table); ++i) {
        const Row& row = table[i];
        HWND control = children[i];
        SCOPED_TRACE(testing::Message() << "control " << row.id);
        EXPECT_EQ(GetDlgCtrlID(control), row.id) << "creation order";
        if (row.text) {
            EXPECT_EQ(Text(control), row.text);
        }
        RECT b = BoundsInParent(control);
        if (row.left >= 0) {
            EXPECT_EQ(b.left, scale(row.left));
        }
        EXPECT_EQ(b.top, scale(row.top));
        if (row.width >= 0) {
            EXPECT_EQ(b.right - b.left, scale(row.width));
        }
        if (row.height >= 0) {
            EXPECT_EQ(b.bottom - b.top, scale(row.height));
        }
        EXPECT_LE(b.bottom, client.bottom) << "inside the window";
    }
    // The Zone.Identifier box sits to the right of CheckBox3, inside GroupBox2.
    RECT zone = BoundsInParent(Control(w, kCheckBox10));
    RECT group2 = BoundsInParent(Control(w, kGroupBox2));
    EXPECT_GT(zone.left, BoundsInParent(Control(w, kCheckBox3)).right);
    EXPECT_LT(zone.right, group2.right);
    EXPECT_LT(zone.bottom, group2.bottom);

    EXPECT_TRUE(HasPicture(Control(w, kSpeedButton1)));
    // The file-name field with its browse button spans 561 pixels.
    RECT field = BoundsInParent(Control(w, kFilenameEdit1));
    RECT browse = BoundsInParent(Control(w, kFilenameEdit1Browse));
    EXPECT_EQ(browse.left, field.right);
    EXPECT_NEAR(browse.right - field.left, scale(561), 1);
}

}  // namespace

class SettingsLayout : public Settings, public ::testing::WithParamInterface<int> {
protected:
    void SetUp() override
    {
        Settings::SetUp();
        SetSystemDpi(static_cast<DWORD>(GetParam()));
    }
    void TearDown() override
    {
        ResetSystemDpi();
        Settings::TearDown();
    }
    int Scale(int v) const { return MulDiv(v, GetParam(), 96); }
};

TEST_P(SettingsLayout, ControlsFollowTheTableInTabOrderWithTheirColours)
{
    Program app(L"");
    HWND w = app.WaitWindow(L"TForm2");
    ASSERT_TRUE(w);
    EXPECT_EQ(Text(w), L"Установки (запуск glossira.exe без параметров показывает это окно)");
    LONG style = GetWindowLongW(w, GWL_STYLE);
    EXPECT_FALSE(style & (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    EXPECT_TRUE(style & WS_CAPTION);
    RECT outer{};
    GetWindowRect(w, &outer);
    EXPECT_EQ(outer.left, Scale(8));
    EXPECT_EQ(outer.top, Scale(39));
    EXPECT_EQ(outer.right - outer.left, Scale(661));
    EXPECT_EQ(outer.bottom - outer.top, Scale(422));
    ASSERT_TRUE(WaitHandled(w));
    EXPECT_FALSE(app.HasVisibleWindow(L"TForm1"));
    ExpectSettingsControls(w, GetParam());

    // Initial states on a machine without saved settings.
    for (int id : {kCheckBox4, kCheckBox7, kCheckBox8, kCheckBox9, kCheckBox5, kCheckBox2, kCheckBox10, kCheckBox6})
        EXPECT_FALSE(IsChecked(w, id)) << id;
    EXPECT_TRUE(IsChecked(w, kCheckBox1));
    EXPECT_TRUE(IsChecked(w, kCheckBox3));

    // Tab order: installation group, log group, OK, Отмена, extension group.
    std::vector<int> order;
    HWND first = GetNextDlgTabItem(w, nullptr, FALSE);
    for (HWND c = first; c && (order.empty() || c != first); c = GetNextDlgTabItem(w, c, FALSE))
        order.push_back(GetDlgCtrlID(c));
    EXPECT_EQ(order, (std::vector<int>{kCheckBox4, kCheckBox7, kCheckBox8, kCheckBox9, kCheckBox5, kCheckBox1, kEdit1,
                                       kCheckBox2, kFilenameEdit1, kCheckBox3, kCheckBox10, kButton1, kButton2,
                                       kEdit2, kCheckBox6}));

    // Group captions red, labels and the captions of CheckBox3 and CheckBox10 navy, also where
    // buttons are themed.
    RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Sleep(300);
    for (int id : {kGroupBox1, kGroupBox2, kGroupBox3}) EXPECT_TRUE(DrawsColour(Control(w, id), RGB(255, 0, 0))) << id;
    for (int id : {kLabel3, kLabel4, kLabel5, kLabel6, kCheckBox3, kCheckBox10})
        EXPECT_TRUE(DrawsColour(Control(w, id), RGB(0, 0, 128))) << id;
    EXPECT_FALSE(DrawsColour(Control(w, kCheckBox4), RGB(0, 0, 128)));

    PostMessageW(w, WM_CLOSE, 0, 0);
    EXPECT_EQ(app.WaitExit(), 0);
}

// 150 %: a window of 200 % would not fit on the 1280-pixel virtual screen.
INSTANTIATE_TEST_SUITE_P(SettingsWindowAtDpi, SettingsLayout, ::testing::Values(96, 144));

// Moved to a monitor of 150 %: the suggested rectangle, every control again
// from the table, the labels fitted to their text in the new font.
TEST_F(Settings, DpiChangeLaysTheControlsOutAgainAt144)
{
    SetProcessDPIAware();
    Program app(L"");
    HWND w = app.WaitWindow(L"TForm2");
    ASSERT_TRUE(w);
    RECT label{};
    GetWindowRect(Control(w, kLabel3), &label);
    const RECT suggested{20, 30, 20 + MulDiv(661, 144, 96), 30 + MulDiv(422, 144, 96)};
    const RECT window = SendDpiChanged(w, 144, suggested);
    EXPECT_TRUE(EqualRect(&window, &suggested)) << window.left << "," << window.top << " " << window.right << ","
                                                << window.bottom;
    ExpectSettingsControls(w, 144);
    RECT wider{};
    GetWindowRect(Control(w, kLabel3), &wider);
    EXPECT_GT(wider.right - wider.left, label.right - label.left) << "the label's text in the larger font";
    EXPECT_TRUE(HasPicture(Control(w, kSpeedButton1)));
    PostMessageW(w, WM_CLOSE, 0, 0);
    EXPECT_EQ(app.WaitExit(), 0);
}

TEST_F(Settings, CheckingABoxUnchecksTheBoxesItExcludes)
{
    Program app(L"");
    HWND w = app.WaitWindow(L"TForm2");
    ASSERT_TRUE(w);
    const int all[] = {kCheckBox4, kCheckBox8, kCheckBox7, kCheckBox9, kCheckBox5};
    auto checked = [&] {
        std::vector<int> on;
        for (int id : all)
            if (IsChecked(w, id)) on.push_back(id);
        std::sort(on.begin(), on.end());
        return on;
    };
    auto sorted = [](std::vector<int> ids) {
        std::sort(ids.begin(), ids.end());
        return ids;
    };
    // From nothing checked, the boxes `before` are clicked, then `box`:
    // the boxes it excludes go off, the others stay.
    struct Row {
        std::vector<int> before;
        int box;
        std::vector<int> after;
    };
    const Row table[] = {
        {{kCheckBox8, kCheckBox7}, kCheckBox4, {kCheckBox4, kCheckBox7}},
        {{kCheckBox5}, kCheckBox4, {kCheckBox4}},
        {{kCheckBox4, kCheckBox9}, kCheckBox8, {kCheckBox8, kCheckBox9}},
        {{kCheckBox5}, kCheckBox8, {kCheckBox8}},
        {{kCheckBox9, kCheckBox4}, kCheckBox7, {kCheckBox7, kCheckBox4}},
        {{kCheckBox5}, kCheckBox7, {kCheckBox7}},
        {{kCheckBox7, kCheckBox8}, kCheckBox9, {kCheckBox9, kCheckBox8}},
        {{kCheckBox5}, kCheckBox9, {kCheckBox9}},
        {{kCheckBox4, kCheckBox7}, kCheckBox5, {kCheckBox5}},
        {{kCheckBox8, kCheckBox9}, kCheckBox5, {kCheckBox5}},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(testing::Message() << "box " << row.box);
        for (int id : row.before) ClickBox(w, id);
        ASSERT_EQ(checked(), sorted(row.before));
        ClickBox(w, row.box);
        EXPECT_EQ(checked(), sorted(row.after));
        // Unchecking does nothing else.
        ClickBox(w, row.box);
        std::vector<int> rest = row.after;
        rest.erase(std::find(rest.begin(), rest.end(), row.box));
        EXPECT_EQ(checked(), sorted(rest));
        for (int id : rest) ClickBox(w, id);
        ASSERT_EQ(checked(), std::vector<int>{});
    }

    // As a person clicks: install both, then full removal clears them, then
    // a removal box clears full removal.
    ClickBox(w, kCheckBox4);
    ClickBox(w, kCheckBox7);
    EXPECT_TRUE(IsChecked(w, kCheckBox4) && IsChecked(w, kCheckBox7));
    ClickBox(w, kCheckBox5);
    EXPECT_TRUE(IsChecked(w, kCheckBox5));
    EXPECT_FALSE(IsChecked(w, kCheckBox4) || IsChecked(w, kCheckBox7));
    ClickBox(w, kCheckBox9);
    EXPECT_TRUE(IsChecked(w, kCheckBox9));
    EXPECT_FALSE(IsChecked(w, kCheckBox5));
    // The other boxes have no interlock.
    ClickBox(w, kCheckBox6);
    ClickBox(w, kCheckBox2);
    EXPECT_TRUE(IsChecked(w, kCheckBox9) && IsChecked(w, kCheckBox6) && IsChecked(w, kCheckBox2));

    Click(Control(w, kButton2));
    EXPECT_EQ(app.WaitExit(), 0);
}

TEST_F(Settings, SendToShortcutIsInstalledThenRemoved)
{
    const std::wstring before = Snapshot();
    RunAndSave([](HWND w) { ClickBox(w, kCheckBox4); });
    EXPECT_TRUE(FileExists(ShortcutPath()));
    EXPECT_EQ(ReadShortcut(ShortcutPath()).target, ProgramPath());
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kClassKey));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kAppPathKey));

    RunAndSave([](HWND w) { ClickBox(w, kCheckBox8); });
    EXPECT_FALSE(FileExists(ShortcutPath()));
    // Only the settings key was added.
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, kSettingsKey.c_str());
    EXPECT_EQ(Utf8(Snapshot()), Utf8(before));
}

TEST_F(Settings, ContextMenuIsRegisteredThenUnregistered)
{
    RunAndSave([](HWND w) { ClickBox(w, kCheckBox7); });
    EXPECT_EQ(ReadText(HKEY_CLASSES_ROOT, kClassKey, L""), L"Glossira");
    EXPECT_EQ(ReadText(HKEY_CLASSES_ROOT, kClassKey + L"\\InprocServer32", L""), ProgramFolder() + L"tavrex.dll");
    EXPECT_EQ(ReadText(HKEY_CLASSES_ROOT, kClassKey + L"\\InprocServer32", L"ThreadingModel"), L"Apartment");
    EXPECT_EQ(ReadText(HKEY_CLASSES_ROOT, kHandlerKey, L""), L"{AECEEFEA-3DF8-11D1-9577-0000837A2FDA}");
    EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, kAppPathKey, L"path"), ProgramPath());
    EXPECT_FALSE(FileExists(ShortcutPath()));

    RunAndSave([](HWND w) { ClickBox(w, kCheckBox9); });
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kClassKey));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kHandlerKey));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kAppPathKey));
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, L"*\\shellex\\ContextMenuHandlers"));
}

TEST_F(Settings, FullRemovalAnsweredNoChangesNothingAndTheWindowStays)
{
    RunAndSave([](HWND w) {
        ClickBox(w, kCheckBox4);
        ClickBox(w, kCheckBox7);
    });
    ASSERT_TRUE(FileExists(ShortcutPath()));
    const std::wstring installed = Snapshot();

    Program app(L"");
    HWND w = app.WaitWindow(L"TForm2");
    ASSERT_TRUE(w);
    SetText(Control(w, kEdit2), L"new");
    ClickBox(w, kCheckBox5);
    for (bool escape : {false, true}) {
        Click(Control(w, kButton1));
        HWND box = app.WaitMessageBox();
        ASSERT_TRUE(box);
        EXPECT_EQ(Text(box), L"Confirm");
        EXPECT_EQ(MessageText(box), L"Удалить полностью из системы \"Глоссира к файлу\"?");
        if (escape) PressKey(box, VK_ESCAPE);
        else Answer(box, IDNO);
        EXPECT_TRUE(Eventually([&] { return !IsWindow(box); })) << "escape " << escape;
        EXPECT_TRUE(WaitHandled(w)) << "escape " << escape;
        EXPECT_TRUE(app.HasVisibleWindow(L"TForm2")) << "escape " << escape;
        EXPECT_TRUE(IsWindowEnabled(w));
        EXPECT_EQ(Utf8(Snapshot()), Utf8(installed)) << "escape " << escape;
        EXPECT_EQ(Text(Control(w, kEdit2)), L"new");
    }
    Click(Control(w, kButton2));
    EXPECT_EQ(app.WaitExit(), 0);
    EXPECT_EQ(Utf8(Snapshot()), Utf8(installed));
}

// Full removal from a full removal's question to the end: Yes, the message,
// and what the registry and the Send To folder hold when it is shown.
std::wstring FullRemovalMessage(const std::wstring& program)
{
    Program app(program, L"");
    HWND w = app.WaitWindow(L"TForm2");
    if (!w) return L"<no window>";
    ClickBox(w, kCheckBox5);
    Click(Control(w, kButton1));
    HWND question = app.WaitMessageBox();
    if (!question) return L"<no question>";
    Answer(question, IDYES);
    for (int i = 0; i < 100 && IsWindowVisible(question); ++i) Sleep(50);
    HWND message = app.WaitMessageBox();
    if (!message) return L"<no message>";
    EXPECT_EQ(Text(message), L"Глоссира");
    // Everything is done before the message.
    EXPECT_FALSE(FileExists(ShortcutPath()));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kClassKey));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kHandlerKey));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kAppPathKey));
    const std::wstring text = MessageText(message);
    Answer(message, IDOK);
    EXPECT_EQ(app.WaitExit(), 0);
    return text;
}

TEST_F(Settings, FullRemovalAnsweredYesSchedulesTheSilentUninstallerAndEnds)
{
    // An installed copy: the uninstaller lies beside the program.
    glossira::e2e::Folder installed;
    const std::wstring program = installed / L"glossira.exe";
    ASSERT_TRUE(CopyFileW(ProgramPath().c_str(), program.c_str(), FALSE));
    WriteFileBytes(installed / L"unins000.exe", "the uninstaller");
    RunAndSave([](HWND w) {
        ClickBox(w, kCheckBox4);
        ClickBox(w, kCheckBox7);
    }, program);
    ASSERT_TRUE(FileExists(ShortcutPath()));
    ASSERT_EQ(ReadText(HKEY_CLASSES_ROOT, kClassKey + L"\\InprocServer32", L""), installed / L"tavrex.dll");
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, kSettingsKey.c_str());

    EXPECT_EQ(FullRemovalMessage(program), L"После перезагрузки системы программа полностью удалится");
    EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, kRunOnceKey, L"glossira"), L"\"" + installed / L"unins000.exe" + L"\" /S");
    // Full removal writes no settings.
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kSettingsKey));
}

// A portable copy (no uninstaller) removes at once what the program wrote;
// a .txt as Windows ships it gets its class back with everything else.
TEST_F(Settings, PortableFullRemovalRemovesEverythingAtOnceAndGivesTxtBack)
{
    const std::wstring txt = L"Software\\Classes\\.txt";
    RegSetKeyValueW(HKEY_LOCAL_MACHINE, txt.c_str(), nullptr, REG_SZ, L"txtfile", sizeof L"txtfile");
    RegSetKeyValueW(HKEY_LOCAL_MACHINE, txt.c_str(), L"Content Type", REG_SZ, L"text/plain", sizeof L"text/plain");
    RegSetKeyValueW(HKEY_LOCAL_MACHINE, (txt + L"\\ShellNew").c_str(), L"NullFile", REG_SZ, L"", sizeof L"");
    std::wstring windowsTxt;
    DumpTree(HKEY_LOCAL_MACHINE, txt, windowsTxt);
    const std::wstring before = Snapshot();

    RunAndSave([](HWND w) {
        ClickBox(w, kCheckBox4);
        ClickBox(w, kCheckBox7);
        SetText(Control(w, kEdit2), L"txt");
        ClickBox(w, kCheckBox6);
    });
    EXPECT_EQ(ReadText(HKEY_CLASSES_ROOT, L".txt", L""), L"GlossiraFile");
    EXPECT_EQ(ReadText(HKEY_CLASSES_ROOT, L".txt", L"Glossira.PreviousClass"), L"txtfile");
    EXPECT_EQ(ReadValue(HKEY_CLASSES_ROOT, L".txt", L"Glossira.Created")->number, 0u);
    EXPECT_EQ(ReadText(HKEY_CLASSES_ROOT, L"GlossiraFile\\shell\\open\\command", L""),
              L"\"" + ProgramPath() + L"\" \"%1\"");
    ASSERT_TRUE(FileExists(ShortcutPath()));

    EXPECT_EQ(FullRemovalMessage(ProgramPath()), L"Программа удалена из системы. Папку программы удалите сами");
    EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, kRunOnceKey, L"glossira"), L"<missing>");
    EXPECT_EQ(ReadText(HKEY_CURRENT_USER, kRunOnceKey, L"glossira"), L"<missing>");
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kSettingsKey));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, L"GlossiraFile"));
    std::wstring afterTxt;
    DumpTree(HKEY_LOCAL_MACHINE, txt, afterTxt);
    EXPECT_EQ(Utf8(afterTxt), Utf8(windowsTxt));
    EXPECT_EQ(Utf8(Snapshot()), Utf8(before));
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, txt.c_str());
}

TEST_F(Settings, ExtensionIsSavedAndShownAsTheProgramKeepsIt)
{
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"exe", L"###"}, {L" Exe ", L"###"}, {L"bat", L"###"}, {L"", L"###"},    {L"   ", L"###"},
        {L".exe", L"###"}, {L"lnk", L"###"},  {L".Url", L"###"}, {L"exe1", L"exe1"},
    };
    for (const auto& [typed, saved] : cases) {
        std::wstring shown = RunAndSave([typed = typed](HWND w) { SetText(Control(w, kEdit2), typed); });
        EXPECT_EQ(Utf8(shown), Utf8(saved)) << '"' << Utf8(typed) << '"';
        EXPECT_EQ(Utf8(ReadText(HKEY_LOCAL_MACHINE, kSettingsKey, L"Ext")), Utf8(saved)) << '"' << Utf8(typed) << '"';
    }
    // The next start shows the saved extension.
    Program app(L"");
    HWND w = app.WaitWindow(L"TForm2");
    ASSERT_TRUE(w);
    EXPECT_EQ(Text(Control(w, kEdit2)), L"exe1");
    Click(Control(w, kButton2));
    EXPECT_EQ(app.WaitExit(), 0);
}

TEST_F(Settings, AssociationIsMadeForTheReplacedExtension)
{
    const std::wstring lnk = ReadText(HKEY_CLASSES_ROOT, L".lnk", L"");
    RunAndSave([](HWND w) {
        SetText(Control(w, kEdit2), L"lnk");
        ClickBox(w, kCheckBox6);
    });
    EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, kSettingsKey, L"Ext"), L"###");
    EXPECT_EQ(ReadText(HKEY_CLASSES_ROOT, L".lnk", L""), lnk);
    EXPECT_EQ(ReadText(HKEY_CLASSES_ROOT, L".###", L""), L"GlossiraFile");
    EXPECT_EQ(ReadText(HKEY_CLASSES_ROOT, L"GlossiraFile", L""), L"Glossira Document");
    EXPECT_EQ(ReadText(HKEY_CLASSES_ROOT, L"GlossiraFile\\shell\\open\\command", L""),
              L"\"" + ProgramPath() + L"\" \"%1\"");
    EXPECT_NE(ReadText(HKEY_CLASSES_ROOT, L".exe", L""), L"GlossiraFile");
}

TEST_F(Settings, FlagsAreWrittenOrDeletedAndReadBackByTheNextStart)
{
    const std::wstring logPath = L"C:\\My Logs\\extra.log";
    RunAndSave([&](HWND w) {
        ClickBox(w, kCheckBox1);  // off: NoLog
        ClickBox(w, kCheckBox2);  // on: LogPath
        ClickBox(w, kCheckBox3);  // off: NoOneStr
        ClickBox(w, kCheckBox10);  // on: ZoneInfo
        SetText(Control(w, kEdit1), L"a.log;журнал.log;");
        SetText(Control(w, kFilenameEdit1), L"\"" + logPath + L"\"");
    });
    for (const wchar_t* flag : {L"NoLog", L"LogPath", L"NoOneStr", L"ZoneInfo"}) {
        auto value = ReadValue(HKEY_LOCAL_MACHINE, kSettingsKey, flag);
        ASSERT_TRUE(value) << Utf8(flag);
        EXPECT_EQ(value->type, static_cast<DWORD>(REG_DWORD)) << Utf8(flag);
        EXPECT_EQ(value->number, 1u) << Utf8(flag);
    }
    EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, kSettingsKey, L"Strlog"), L"a.log;журнал.log;");
    EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, kSettingsKey, L"PathStrLog"), logPath);

    // The next start shows them, and clearing them deletes the values.
    RunAndSave([&](HWND w) {
        EXPECT_FALSE(IsChecked(w, kCheckBox1));
        EXPECT_TRUE(IsChecked(w, kCheckBox2));
        EXPECT_FALSE(IsChecked(w, kCheckBox3));
        EXPECT_TRUE(IsChecked(w, kCheckBox10));
        EXPECT_EQ(Text(Control(w, kEdit1)), L"a.log;журнал.log;");
        EXPECT_EQ(Text(Control(w, kFilenameEdit1)), logPath);
        ClickBox(w, kCheckBox1);
        ClickBox(w, kCheckBox2);
        ClickBox(w, kCheckBox3);
        ClickBox(w, kCheckBox10);
    });
    for (const wchar_t* flag : {L"NoLog", L"LogPath", L"NoOneStr", L"ZoneInfo"})
        EXPECT_FALSE(ReadValue(HKEY_LOCAL_MACHINE, kSettingsKey, flag)) << Utf8(flag);

    RunAndSave([&](HWND w) {
        EXPECT_TRUE(IsChecked(w, kCheckBox1));
        EXPECT_FALSE(IsChecked(w, kCheckBox2));
        EXPECT_TRUE(IsChecked(w, kCheckBox3));
        EXPECT_FALSE(IsChecked(w, kCheckBox10));
    });
}

TEST_F(Settings, CancelAndClosingSaveNothing)
{
    const std::wstring before = Snapshot();
    for (int way = 0; way < 2; ++way) {
        Program app(L"");
        HWND w = app.WaitWindow(L"TForm2");
        ASSERT_TRUE(w);
        ClickBox(w, kCheckBox4);
        ClickBox(w, kCheckBox7);
        ClickBox(w, kCheckBox6);
        ClickBox(w, kCheckBox1);
        SetText(Control(w, kEdit2), L"log");
        if (way == 0) Click(Control(w, kButton2));
        else CloseBox(w);
        EXPECT_EQ(app.WaitExit(), 0) << way;
        EXPECT_EQ(Utf8(Snapshot()), Utf8(before)) << way;
    }
}

TEST_F(Settings, BrowseButtonPicksAFileAndCancelKeepsTheField)
{
    std::wstring dir = TempFolder(L"glossira-browse");
    WriteFileBytes(dir + L"first.log", "1");
    WriteFileBytes(dir + L"second.log", "2");
    Program app(L"");
    HWND w = app.WaitWindow(L"TForm2");
    ASSERT_TRUE(w);
    HWND field = Control(w, kFilenameEdit1);
    SetText(field, L"\"" + dir + L"first.log\"");

    Click(Control(w, kFilenameEdit1Browse));
    HWND dialog = app.WaitMessageBox();
    ASSERT_TRUE(dialog);
    EXPECT_EQ(Text(dialog), L"Browse");
    HWND readOnly = GetDlgItem(dialog, 0x410);  // chx1
    EXPECT_TRUE(!readOnly || !IsWindowVisible(readOnly));
    EXPECT_EQ(Text(GetDlgItem(dialog, 0x470)), L"All files (*.*)");  // cmb1, the filter
    HWND name = GetDlgItem(dialog, 0x47c) ? GetDlgItem(dialog, 0x47c) : GetDlgItem(dialog, 0x480);
    EXPECT_EQ(Text(name), L"first.log");
    Answer(dialog, IDCANCEL);
    for (int i = 0; i < 100 && IsWindow(dialog); ++i) Sleep(50);
    EXPECT_EQ(Text(field), L"\"" + dir + L"first.log\"");

    // A bare name is taken from the folder the dialog started in.
    Click(Control(w, kFilenameEdit1Browse));
    dialog = app.WaitMessageBox();
    ASSERT_TRUE(dialog);
    name = GetDlgItem(dialog, 0x47c) ? GetDlgItem(dialog, 0x47c) : GetDlgItem(dialog, 0x480);
    SetText(name, L"second.log");
    Answer(dialog, IDOK);
    for (int i = 0; i < 100 && IsWindow(dialog); ++i) Sleep(50);
    EXPECT_EQ(Text(field), dir + L"second.log");

    Click(Control(w, kButton2));
    EXPECT_EQ(app.WaitExit(), 0);
    RemoveFolder(dir);
}
