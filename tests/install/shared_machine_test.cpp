// The setup and its uninstaller on a machine they share with other programs
// and other users: file types given back, every profile's shortcut removed,
// a folder outside Program Files closed to ordinary users, and upgrades while
// Explorer still holds the handler library.
#include <gtest/gtest.h>
#include <shlobj.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/unique_win.h"
#include "driver.h"
#include "inspect.h"
#include "setup_runs.h"
#include "system_view.h"

using namespace glossira;
using namespace glossira::e2e;

namespace {

const std::wstring kClasses = L"Software\\Classes\\";
const std::wstring kProfiles = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList\\";
const std::wstring kUserRunOnce = L"Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
constexpr int kRestartNeeded = 3010;  // ERROR_SUCCESS_REBOOT_REQUIRED

void SetText(HKEY root, const std::wstring& key, const wchar_t* name, const std::wstring& value, DWORD type = REG_SZ)
{
    ASSERT_EQ(RegSetKeyValueW(root, key.c_str(), name, type, value.c_str(),
                              static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
}

void SetNumber(HKEY root, const std::wstring& key, const wchar_t* name, DWORD value)
{
    ASSERT_EQ(RegSetKeyValueW(root, key.c_str(), name, REG_DWORD, &value, sizeof value), ERROR_SUCCESS);
}

// A file held open as a loaded library or a running program holds it.
UniqueFile Hold(const std::wstring& path, DWORD share)
{
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_TRUE(file) << Utf8(path) << ": " << GetLastError();
    return file;
}

// The names of the folder's files that match a pattern, sorted.
std::vector<std::wstring> Files(const std::wstring& folder, const std::wstring& pattern)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW((folder + pattern).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do names.push_back(found.cFileName);
    while (FindNextFileW(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

// The moves and deletions Windows does at the next restart, as pairs of
// source and target ("" for a deletion, "!" before a target it replaces).
std::vector<std::pair<std::wstring, std::wstring>> PendingOperations()
{
    std::vector<std::pair<std::wstring, std::wstring>> operations;
    std::vector<wchar_t> data(65536);
    DWORD size = static_cast<DWORD>(data.size() * sizeof(wchar_t));
    if (RegGetValueW(HKEY_LOCAL_MACHINE, L"SYSTEM\\CurrentControlSet\\Control\\Session Manager",
                     L"PendingFileRenameOperations", RRF_RT_REG_MULTI_SZ, nullptr, data.data(), &size) != ERROR_SUCCESS)
        return operations;
    std::vector<std::wstring> strings;
    for (std::size_t at = 0; at < size / sizeof(wchar_t);) {
        std::wstring text(data.data() + at);
        at += text.size() + 1;
        strings.push_back(text);
    }
    for (std::size_t i = 0; i + 1 < strings.size(); i += 2) operations.emplace_back(strings[i], strings[i + 1]);
    return operations;
}

bool Pending(const std::wstring& source, const std::wstring& target)
{
    const auto operations = PendingOperations();
    return std::find(operations.begin(), operations.end(), std::make_pair(L"\\??\\" + source, target)) !=
           operations.end();
}

// The machine's restart as Wine does it: pending moves and deletions first.
void Restart()
{
    Program restart(L"C:\\windows\\system32\\wineboot.exe", L"--restart");
    EXPECT_EQ(restart.WaitExit(60000), 0);
}

using SharedMachine = SetupTest;

}  // namespace

// The program takes over .txt the way it records it; the uninstaller gives
// the type back with all it held, and takes away only what is ours, from
// every place the program may have written it.
TEST_F(SharedMachine, UninstallerGivesFileTypesBackAndCleansEveryProfile)
{
    const std::wstring dir = L"C:\\Program Files\\Глоссира\\";
    ASSERT_NO_FATAL_FAILURE(Install(dir.substr(0, dir.size() - 1)));

    // .txt as Windows ships it, taken over; .kmt created by the program; .kmo
    // taken back by another program after ours.
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, (kClasses + L".txt").c_str());
    SetText(HKEY_LOCAL_MACHINE, kClasses + L".txt", L"Content Type", L"text/plain");
    SetText(HKEY_LOCAL_MACHINE, kClasses + L".txt", L"PerceivedType", L"text");
    SetText(HKEY_LOCAL_MACHINE, kClasses + L".txt\\ShellNew", L"NullFile", L"");
    SetText(HKEY_LOCAL_MACHINE, kClasses + L".txt", nullptr, L"GlossiraFile");
    SetText(HKEY_LOCAL_MACHINE, kClasses + L".txt", L"Glossira.PreviousClass", L"txtfile");
    SetText(HKEY_LOCAL_MACHINE, kClasses + L".kmt", nullptr, L"GlossiraFile");
    SetNumber(HKEY_LOCAL_MACHINE, kClasses + L".kmt", L"Glossira.Created", 1);
    SetText(HKEY_LOCAL_MACHINE, kClasses + L".kmo", nullptr, L"OtherFile");
    SetText(HKEY_LOCAL_MACHINE, kClasses + L".kmo", L"Glossira.PreviousClass", L"txtfile");
    SetText(HKEY_LOCAL_MACHINE, kClasses + L"GlossiraFile", nullptr, L"Glossira Document");

    // The context menu registered for this user alone, and a removal this
    // user's next logon would start.
    SetText(HKEY_CURRENT_USER, kClasses + kClassKey + L"\\InprocServer32", nullptr, dir + L"tavrex.dll");
    SetText(HKEY_CURRENT_USER, kClasses + kHandlerKey, nullptr, L"{AECEEFEA-3DF8-11D1-9577-0000837A2FDA}");
    SetText(HKEY_CURRENT_USER, kUserRunOnce, L"glossira", L"\"" + dir + L"unins000.exe\" /S");
    const std::wstring userAppPath = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\glossira.exe";
    SetText(HKEY_CURRENT_USER, userAppPath, nullptr, dir + L"glossira.exe");
    // The viewer's colours this user saved.
    SetNumber(HKEY_CURRENT_USER, L"Software\\Orvik\\Glossira", L"ColorBack", 0xE5E5E5);

    // Another user of the machine has the Send To shortcut too, beside one of her own.
    const std::wstring other = L"C:\\users\\Ольга";
    const std::wstring otherSendTo = other + L"\\AppData\\Roaming\\Microsoft\\Windows\\SendTo\\";
    SetText(HKEY_LOCAL_MACHINE, kProfiles + L"S-1-5-21-1-2-3-1001", L"ProfileImagePath",
            L"%SystemDrive%\\users\\Ольга", REG_EXPAND_SZ);
    ASSERT_EQ(SHCreateDirectoryExW(nullptr, otherSendTo.c_str(), nullptr), ERROR_SUCCESS);
    WriteFileBytes(otherSendTo + L"Глоссира.lnk", "link");
    WriteFileBytes(otherSendTo + L"Блокнот.lnk", "her own");
    WriteFileBytes(SendToFolder() + L"\\Глоссира.lnk", "link");

    ASSERT_TRUE(RunTree(dir + L"unins000.exe", L"/S"));
    EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, kClasses + L".txt", L""), L"txtfile");
    EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, kClasses + L".txt", L"Content Type"), L"text/plain");
    EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, kClasses + L".txt", L"PerceivedType"), L"text");
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kClasses + L".txt\\ShellNew"));
    EXPECT_FALSE(ReadValue(HKEY_LOCAL_MACHINE, kClasses + L".txt", L"Glossira.PreviousClass"));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kClasses + L".kmt"));
    EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, kClasses + L".kmo", L""), L"OtherFile");
    EXPECT_FALSE(ReadValue(HKEY_LOCAL_MACHINE, kClasses + L".kmo", L"Glossira.PreviousClass"));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kClasses + L"GlossiraFile"));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kClasses + kClassKey));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kClasses + kHandlerKey));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, kClasses + L"*\\shellex\\ContextMenuHandlers"));
    EXPECT_FALSE(ReadValue(HKEY_CURRENT_USER, kUserRunOnce, L"glossira"));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, userAppPath));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, L"Software\\Orvik"));
    EXPECT_FALSE(FileExists(otherSendTo + L"Глоссира.lnk"));
    EXPECT_EQ(ReadFileBytes(otherSendTo + L"Блокнот.lnk"), "her own");
    EXPECT_FALSE(FileExists(SendToFolder() + L"\\Глоссира.lnk"));

    RegDeleteTreeW(HKEY_LOCAL_MACHINE, (kClasses + L".kmo").c_str());
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, (kProfiles + L"S-1-5-21-1-2-3-1001").c_str());
    RemoveFolder(other + L"\\");
}

// Wine's icacls does nothing: a recorder stands in for it and shows what the
// setup asks of it. What Windows makes of those commands is not seen here.
TEST_F(SharedMachine, FolderOutsideProgramFilesIsClosedToOrdinaryUsers)
{
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring recorder(self);
    recorder = recorder.substr(0, recorder.find_last_of(L'\\') + 1) + L"command_recorder.exe";
    const std::wstring icacls = L"C:\\windows\\system32\\icacls.exe";
    // Unlinked first: the prefix's system files are hard links shared with others.
    ASSERT_TRUE(DeleteFileW(icacls.c_str()));
    ASSERT_TRUE(CopyFileW(recorder.c_str(), icacls.c_str(), FALSE));
    SetText(HKEY_CURRENT_USER, L"Software\\Wine\\DllOverrides", L"icacls.exe", L"native");
    const std::wstring record = L"C:\\icacls.txt";
    SetEnvironmentVariableW(L"GLOSSIRA_COMMAND_RECORD", record.c_str());
    auto recorded = [&] {
        std::string bytes = ReadFileBytes(record);
        DeleteFileW(record.c_str());
        if (bytes == "<missing>") return std::wstring();
        return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
    };

    const std::wstring dir = L"C:\\Инструменты\\Глоссира", made = L"C:\\Инструменты\\Пустая";
    auto expected = [&](const std::wstring& folder, bool upgrade) {
        const std::wstring run = L"\"" + icacls + L"\" \"" + folder;
        return Utf8(run + L"\" /setowner *S-1-5-32-544 /T /C /Q\n" + run +
                    L"\" /inheritance:r /grant:r *S-1-5-32-544:(OI)(CI)F *S-1-5-18:(OI)(CI)F *S-1-5-32-545:(OI)(CI)RX /Q\n" +
                    (upgrade ? run + L"\\*\" /reset /T /C /Q\n" : L""));
    };
    ASSERT_NO_FATAL_FAILURE(Install(dir));
    EXPECT_EQ(Utf8(recorded()), expected(dir, false));
    // An upgrade closes the folder again, and its files take their rights
    // from it; so does a setup into a folder the user made for it, still empty.
    ASSERT_NO_FATAL_FAILURE(Install(L""));
    EXPECT_EQ(Utf8(recorded()), expected(dir, true));
    ASSERT_TRUE(RunTree(dir + L"\\unins000.exe", L"/S"));
    ASSERT_TRUE(CreateDirectoryW(made.c_str(), nullptr));
    ASSERT_NO_FATAL_FAILURE(Install(made));
    EXPECT_EQ(Utf8(recorded()), expected(made, false));
    ASSERT_TRUE(RunTree(made + L"\\unins000.exe", L"/S"));

    // Under Program Files the folder inherits their protection; a folder
    // that holds what is not ours keeps its rights.
    ASSERT_NO_FATAL_FAILURE(Install(L"C:\\Program Files\\Глоссира"));
    EXPECT_EQ(Utf8(recorded()), "");
    ASSERT_TRUE(RunTree(L"C:\\Program Files\\Глоссира\\unins000.exe", L"/S"));
    WriteFileBytes(L"C:\\Инструменты\\чужое.exe", "MZ");
    ASSERT_NO_FATAL_FAILURE(Install(L"C:\\Инструменты"));
    EXPECT_EQ(Utf8(recorded()), "");
    ASSERT_TRUE(RunTree(L"C:\\Инструменты\\unins000.exe", L"/S"));
    EXPECT_EQ(ReadFileBytes(L"C:\\Инструменты\\чужое.exe"), "MZ");

    RegDeleteKeyValueW(HKEY_CURRENT_USER, L"Software\\Wine\\DllOverrides", L"icacls.exe");
    SetEnvironmentVariableW(L"GLOSSIRA_COMMAND_RECORD", nullptr);
    RemoveFolder(L"C:\\Инструменты\\");
}

// Explorer keeps a handler library loaded until it ends, so the copy an
// upgrade replaces may still be loaded at the next upgrade. Loaded copies
// are stood for by open handles: Wine does not lock mapped files.
TEST_F(SharedMachine, UpgradesWhileTheHandlerIsLoadedAndSaysWhenARestartMustFinish)
{
    const std::wstring dir = L"C:\\Program Files\\Глоссира\\";
    const std::wstring lib = dir + L"tavrex.dll", fresh = SourceFolder() + L"tavrex.dll";
    if (!FileExists(fresh)) GTEST_SKIP() << "tavrex.dll is not built";
    ASSERT_NO_FATAL_FAILURE(Install(dir.substr(0, dir.size() - 1)));

    // A loaded library can be renamed, not overwritten: the upgrade moves it aside.
    WriteFileBytes(lib, "older");
    UniqueFile first = Hold(lib, FILE_SHARE_READ | FILE_SHARE_DELETE);
    ASSERT_EQ(RunSetup(L""), 0);
    EXPECT_TRUE(SameFile(lib, fresh));
    const auto aside = Files(dir, L"tavrex.dll*.old");
    ASSERT_EQ(aside.size(), 1u);
    // Still loaded, that copy cannot be deleted yet.
    UniqueFile stillLoaded = Hold(dir + aside[0], FILE_SHARE_READ);

    // The next upgrade, before a restart, with the new library loaded too.
    WriteFileBytes(lib, "newer, still older");
    UniqueFile second = Hold(lib, FILE_SHARE_READ | FILE_SHARE_DELETE);
    ASSERT_EQ(RunSetup(L""), 0);
    EXPECT_TRUE(SameFile(lib, fresh)) << "the older library stays";
    const auto both = Files(dir, L"tavrex.dll*.old");
    ASSERT_EQ(both.size(), 2u);
    for (const auto& name : both) EXPECT_TRUE(Pending(dir + name, L"")) << Utf8(name) << " stays after the restart";
    second.reset();

    // A file that cannot even be renamed is replaced at the restart, and the
    // setup says so: silent, by its exit code; clicked through, on its last page.
    WriteFileBytes(lib, "in use");
    UniqueFile locked = Hold(lib, FILE_SHARE_READ);
    EXPECT_EQ(RunSetup(L""), kRestartNeeded);
    EXPECT_EQ(ReadFileBytes(lib), "in use");
    EXPECT_TRUE(Pending(lib + L".new", L"!\\??\\" + lib));
    {
        Program setup(SetupPath(), L"");
        const Wizard wizard = ClickToFinishPage(setup);
        ASSERT_TRUE(wizard.finish);
        HWND later = ControlByText(wizard.finish, L"Нет, я перезагружу ПК позже");
        ASSERT_TRUE(later) << "no restart offered";
        EXPECT_EQ(SendMessageW(later, BM_GETCHECK, 0, 0), BST_CHECKED);
        EXPECT_TRUE(ControlByText(wizard.finish, L"Программа «Глоссира» установлена, но её прежние файлы ещё заняты: "
                                                 L"новые займут их место после перезагрузки компьютера. Перезагрузить "
                                                 L"его сейчас?"));
        Click(wizard.next);
        EXPECT_EQ(setup.WaitExit(), kRestartNeeded);
    }

    // The uninstaller leaves the files in use for the restart and says so.
    {
        Program uninstaller(dir + L"unins000.exe", L"");
        HWND question = nullptr;
        ASSERT_TRUE(Eventually([&] { return (question = FindMessageBox(L"Удалить программу «Глоссира»")) != nullptr; }));
        Answer(question, IDYES);
        HWND message = nullptr;
        ASSERT_TRUE(Eventually([&] { return (message = FindMessageBox(L"Программа «Глоссира» удалена.")) != nullptr; },
                               60000));
        EXPECT_EQ(MessageText(message), L"Программа «Глоссира» удалена. Часть её файлов ещё занята: они будут "
                                        L"удалены после перезагрузки компьютера.");
        Answer(message, IDOK);
    }
    EXPECT_FALSE(FileExists(dir + L"glossira.exe"));
    EXPECT_TRUE(Pending(lib, L""));

    first.reset();
    stillLoaded.reset();
    locked.reset();
    Restart();
    EXPECT_FALSE(FolderExists(dir)) << "the restart leaves the program's folder";
}
