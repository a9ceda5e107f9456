// The setup and its uninstaller as an administrator uses them: a silent
// install into a folder with blanks and Cyrillic letters, the installed
// program used on a file and from its settings window, an upgrade, and the
// uninstaller, which leaves nothing of ours behind but the user's comments.
#include <gtest/gtest.h>
#include <shlobj.h>

#include <cstdlib>
#include <string>

#include "core/cp1251.h"
#include "driver.h"
#include "inspect.h"
#include "setup_runs.h"
#include "system_view.h"
#include "ui/editor_layout.h"
#include "ui/settings_layout.h"

using namespace glossira;
using namespace glossira::e2e;
using namespace glossira::editor_ids;

namespace {

const std::wstring kUninstallKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Glossira";
const std::wstring kSendToLink = L"\\Глоссира.lnk";

std::wstring StartMenuLink()
{
    wchar_t folder[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_COMMON_PROGRAMS, nullptr, SHGFP_TYPE_CURRENT, folder);
    return std::wstring(folder) + L"\\Глоссира — установки.lnk";
}

// Checks or unchecks the settings window's boxes as chosen, then OK.
template <class F>
void SaveSettings(const std::wstring& exe, F&& choose)
{
    Program app(exe, L"");
    HWND window = app.WaitWindow(L"TForm2");
    ASSERT_TRUE(window);
    choose(window);
    Click(Control(window, settings_ids::kButton1));
    HWND box = app.WaitMessageBox();
    ASSERT_TRUE(box);
    EXPECT_EQ(MessageText(box), L"Установки сохранены");
    Answer(box, IDOK);
    EXPECT_EQ(app.WaitExit(), 0);
}
// Clicks a box as a person does and waits until the window has handled it.
void Check(HWND window, int id)
{
    Click(Control(window, id));
    EXPECT_TRUE(WaitHandled(window));
}

// The settings window's full removal, answered Yes.
void ScheduleFullRemoval(const std::wstring& exe)
{
    Program app(exe, L"");
    HWND window = app.WaitWindow(L"TForm2");
    ASSERT_TRUE(window);
    Check(window, settings_ids::kCheckBox5);
    Click(Control(window, settings_ids::kButton1));
    HWND question = app.WaitMessageBox();
    ASSERT_TRUE(question);
    Answer(question, IDYES);
    ASSERT_TRUE(Eventually([&] { return !IsWindowVisible(question); }));
    HWND message = app.WaitMessageBox();
    ASSERT_TRUE(message);
    EXPECT_EQ(MessageText(message), L"После перезагрузки системы программа полностью удалится");
    Answer(message, IDOK);
    EXPECT_EQ(app.WaitExit(), 0);
}

using Installation = SetupTest;

}  // namespace

TEST_F(Installation, InstallUseUpgradeAndUninstallLeaveOnlyTheComments)
{
    const std::wstring dir = L"C:\\Мои программы\\Глоссира для теста\\";
    const std::wstring exe = dir + L"glossira.exe";
    ASSERT_NO_FATAL_FAILURE(Install(dir.substr(0, dir.size() - 1)));

    // The files, the Start menu entry and the Add/Remove entry.
    EXPECT_TRUE(FileExists(dir + L"unins000.exe"));
    for (const wchar_t* name : {L"glossira.exe", L"tavrex.dll", L"glossira.chm"}) {
        // The handler library and the help go with the program once they are built.
        const bool built = FileExists(SourceFolder() + name);
        EXPECT_EQ(FileExists(dir + name), built) << Utf8(name);
        EXPECT_TRUE(!built || SameFile(dir + name, SourceFolder() + name)) << Utf8(name);
    }
    Shortcut start = ReadShortcut(StartMenuLink());
    EXPECT_EQ(Utf8(start.target), Utf8(exe));
    EXPECT_EQ(Utf8(start.arguments), "");
    EXPECT_EQ(Utf8(ReadText(HKEY_LOCAL_MACHINE, kUninstallKey, L"DisplayName")), "Глоссира");
    EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, kUninstallKey, L"DisplayVersion"), Env("GLOSSIRA_VERSION"));
    EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, kUninstallKey, L"Publisher"), L"Orvik");
    EXPECT_EQ(Utf8(ReadText(HKEY_LOCAL_MACHINE, kUninstallKey, L"DisplayIcon")), Utf8(exe + L",0"));
    EXPECT_EQ(Utf8(ReadText(HKEY_LOCAL_MACHINE, kUninstallKey, L"UninstallString")),
              Utf8(L"\"" + dir + L"unins000.exe\""));
    EXPECT_EQ(Utf8(ReadText(HKEY_LOCAL_MACHINE, kUninstallKey, L"QuietUninstallString")),
              Utf8(L"\"" + dir + L"unins000.exe\" /S"));
    auto size = ReadValue(HKEY_LOCAL_MACHINE, kUninstallKey, L"EstimatedSize");
    ASSERT_TRUE(size);
    EXPECT_EQ(size->type, static_cast<DWORD>(REG_DWORD));
    EXPECT_GE(size->number, ReadFileBytes(exe).size() / 1024);
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kSettingsKey));

    // The installed program keeps a comment beside a file.
    e2e::Folder docs;
    WriteFileBytes(docs / L"отчёт.zip", "PK");
    {
        Program editor(exe, L"\"" + (docs / L"отчёт.zip") + L"\"");
        HWND window = editor.WaitWindow(L"TForm1");
        ASSERT_TRUE(window);
        Type(Control(window, kMemo1), L"Отчёт за год, проверен");
        Click(Control(window, kBitBtn2));
        ASSERT_EQ(editor.WaitExit(), 0);
    }
    const std::string comment = ReadFileBytes(docs / L"отчёт.txt");
    EXPECT_NE(comment.find(FromUtf8("Отчёт за год, проверен")), std::string::npos) << ToUtf8(comment);

    // Its settings window puts it into the shell with a file type of its own.
    SaveSettings(exe, [](HWND w) {
        Check(w, settings_ids::kCheckBox4);
        Check(w, settings_ids::kCheckBox7);
        Check(w, settings_ids::kCheckBox6);
        SendMessageW(Control(w, settings_ids::kEdit2), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"kmt"));
    });
    EXPECT_EQ(Utf8(ReadShortcut(SendToFolder() + kSendToLink).target), Utf8(exe));
    EXPECT_EQ(Utf8(ReadText(HKEY_CLASSES_ROOT, kClassKey + L"\\InprocServer32", L"")), Utf8(dir + L"tavrex.dll"));
    EXPECT_EQ(ReadText(HKEY_CLASSES_ROOT, L".kmt", L""), L"GlossiraFile");

    // An upgrade over it goes to the same folder, replaces the program even
    // while it runs (held open as Windows holds a running program) and keeps
    // the settings.
    WriteFileBytes(exe, "an older version");
    HANDLE running = CreateFileW(exe.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(running, INVALID_HANDLE_VALUE);
    ASSERT_NO_FATAL_FAILURE(Install(L""));
    CloseHandle(running);
    EXPECT_TRUE(SameFile(exe, SourceFolder() + L"glossira.exe"));
    EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, kSettingsKey, L"Ext"), L"kmt");
    EXPECT_EQ(ReadText(HKEY_CLASSES_ROOT, L".kmt", L""), L"GlossiraFile");

    // Full removal schedules the installed uninstaller for the next start.
    ASSERT_NO_FATAL_FAILURE(ScheduleFullRemoval(exe));
    EXPECT_EQ(Utf8(ReadText(HKEY_LOCAL_MACHINE, kRunOnceKey, L"glossira")), Utf8(L"\"" + dir + L"unins000.exe\" /S"));
    EXPECT_FALSE(FileExists(SendToFolder() + kSendToLink));
    // Send To and the context menu once more, for the uninstaller to find.
    SaveSettings(exe, [](HWND w) {
        Check(w, settings_ids::kCheckBox4);
        Check(w, settings_ids::kCheckBox7);
    });
    ASSERT_TRUE(KeyExists(HKEY_CLASSES_ROOT, kClassKey));
    const std::wstring dropClassKey = L"CLSID\\{B53500FB-FCA5-4D56-B161-E17C5A5D564F}";
    const std::wstring dropKey = L"Directory\\shellex\\DragDropHandlers\\Glossira";
    ASSERT_TRUE(KeyExists(HKEY_CLASSES_ROOT, dropClassKey));
    ASSERT_TRUE(KeyExists(HKEY_CLASSES_ROOT, dropKey));

    ASSERT_TRUE(RunTree(dir + L"unins000.exe", L"/S"));
    EXPECT_FALSE(FolderExists(dir)) << "the program's folder stays";
    EXPECT_FALSE(FileExists(exe));
    EXPECT_FALSE(FileExists(StartMenuLink()));
    EXPECT_FALSE(FileExists(SendToFolder() + kSendToLink));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kClassKey));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kHandlerKey));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, dropClassKey));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, dropKey));
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, L"*\\shellex\\ContextMenuHandlers"));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kAppPathKey));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, L"GlossiraFile"));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, L".kmt"));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kSettingsKey));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, L"Software\\Orvik"));
    EXPECT_FALSE(ReadValue(HKEY_LOCAL_MACHINE, kRunOnceKey, L"glossira"));
    EXPECT_EQ(ReadFileBytes(docs / L"отчёт.txt"), comment);
    EXPECT_EQ(ReadFileBytes(docs / L"отчёт.zip"), "PK");
}

// Started as RunOnce starts it, the uninstaller asks first; it never
// removes what is not its own: a file the user put into the program's
// folder or an extension another program has taken back.
TEST_F(Installation, UninstallerAsksAndLeavesWhatIsNotItsOwn)
{
    const std::wstring dir = L"C:\\Program Files\\Глоссира\\";
    ASSERT_NO_FATAL_FAILURE(Install(dir.substr(0, dir.size() - 1)));
    WriteFileBytes(dir + L"Мои заметки.txt", FromUtf8("своё"));
    auto setDefault = [](const wchar_t* key, const wchar_t* value) {
        RegSetKeyValueW(HKEY_CLASSES_ROOT, key, nullptr, REG_SZ, value,
                        static_cast<DWORD>((wcslen(value) + 1) * sizeof(wchar_t)));
    };
    setDefault(L".kmt2", L"OtherFile");
    setDefault(L".kmt3", L"GlossiraFile");  // associated once, before "Ext" changed
    setDefault(L"GlossiraFile", L"Glossira Document");

    // No to the question removes nothing, once the uninstaller has ended.
    ASSERT_TRUE(RunTree(dir + L"unins000.exe", L"", 120000, [] {
        HWND question = nullptr;
        ASSERT_TRUE(Eventually([&] { return (question = FindMessageBox(L"Удалить программу «Глоссира»")) != nullptr; }));
        Answer(question, IDNO);
    }));
    EXPECT_TRUE(FileExists(dir + L"unins000.exe"));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, L"GlossiraFile"));

    ASSERT_TRUE(RunTree(dir + L"unins000.exe", L"/S"));
    EXPECT_FALSE(FileExists(dir + L"glossira.exe"));
    EXPECT_FALSE(FileExists(dir + L"unins000.exe"));
    EXPECT_EQ(ReadFileBytes(dir + L"Мои заметки.txt"), FromUtf8("своё"));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, L"GlossiraFile"));
    EXPECT_EQ(ReadText(HKEY_CLASSES_ROOT, L".kmt2", L""), L"OtherFile");
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, L".kmt3"));
    RegDeleteTreeW(HKEY_CLASSES_ROOT, L".kmt2");
    DeleteFileW((dir + L"Мои заметки.txt").c_str());
    RemoveDirectoryW(dir.c_str());
}

// Clicked through as a person installs: welcome, the folder (Program Files
// by default), progress, and the finish page, whose box opens the settings
// window.
TEST_F(Installation, InteractiveSetupEndsInTheSettingsWindow)
{
    Program setup(SetupPath(), L"");
    const Wizard wizard = ClickToFinishPage(setup);
    ASSERT_TRUE(wizard.finish);
    const std::wstring dir = wizard.folder;
    EXPECT_EQ(dir, L"C:\\Program Files\\Glossira");
    HWND run = ControlByText(wizard.finish, L"Открыть окно установок");
    ASSERT_TRUE(run);
    EXPECT_EQ(SendMessageW(run, BM_GETCHECK, 0, 0), BST_CHECKED);
    Click(wizard.next);
    EXPECT_EQ(setup.WaitExit(), 0);

    HWND settings = nullptr;
    ASSERT_TRUE(Eventually([&] { return (settings = FindWindowW(L"TForm2", nullptr)) && IsWindowVisible(settings); }));
    Click(Control(settings, settings_ids::kButton2));
    EXPECT_TRUE(Eventually([&] { return !IsWindow(settings); }));
    EXPECT_TRUE(FileExists(dir + L"\\glossira.exe"));
    ASSERT_TRUE(RunTree(dir + L"\\unins000.exe", L"/S"));
    EXPECT_FALSE(FolderExists(dir));
}

// Full removal followed through a restart of Windows (Wine's): RunOnce
// starts the uninstaller silently, since the question was answered in the
// settings window, and .txt, which the association took over, gets its
// class back with everything else its key holds.
TEST_F(Installation, FullRemovalUninstallsAtTheNextStart)
{
    const std::wstring dir = L"C:\\Program Files\\Глоссира и пробелы\\";
    ASSERT_NO_FATAL_FAILURE(Install(dir.substr(0, dir.size() - 1)));
    // .txt as Windows ships it (Wine's prefix has none).
    const std::wstring txt = L"Software\\Classes\\.txt";
    RegSetKeyValueW(HKEY_LOCAL_MACHINE, txt.c_str(), nullptr, REG_SZ, L"txtfile", sizeof L"txtfile");
    RegSetKeyValueW(HKEY_LOCAL_MACHINE, txt.c_str(), L"Content Type", REG_SZ, L"text/plain", sizeof L"text/plain");
    SaveSettings(dir + L"glossira.exe", [](HWND w) { Check(w, settings_ids::kCheckBox6); });
    ASSERT_EQ(ReadText(HKEY_CLASSES_ROOT, L".txt", L""), L"GlossiraFile");
    ASSERT_NO_FATAL_FAILURE(ScheduleFullRemoval(dir + L"glossira.exe"));

    Program restart(L"C:\\windows\\system32\\wineboot.exe", L"--restart");
    EXPECT_EQ(restart.WaitExit(60000), 0);
    EXPECT_TRUE(Eventually([&] { return !FolderExists(dir); })) << "the program's folder stays";
    EXPECT_FALSE(FindMessageBox(L"Удалить программу «Глоссира»"));
    EXPECT_FALSE(ReadValue(HKEY_LOCAL_MACHINE, kRunOnceKey, L"glossira"));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kSettingsKey));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, L"GlossiraFile"));
    EXPECT_FALSE(FileExists(StartMenuLink()));
    EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, txt, L""), L"txtfile");
    EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, txt, L"Content Type"), L"text/plain");
    EXPECT_FALSE(ReadValue(HKEY_LOCAL_MACHINE, txt, L"Glossira.PreviousClass"));
    EXPECT_FALSE(ReadValue(HKEY_LOCAL_MACHINE, txt, L"Glossira.Created"));
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, txt.c_str());
}
