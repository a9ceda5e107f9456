// The file association in the real registry and the launcher with
// real programs, under Wine.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "core/error.h"
#include "core/unique_win.h"
#include "shell/file_types.h"
#include "shell/registry_win.h"
#include "shell/shell_ops.h"
#include "shell/shell_win.h"
#include "shell_peek.h"
#include "win/scratch.h"

using namespace glossira;

namespace {

void DeleteTree(HKEY root, const std::string& path)
{
    RegDeleteTreeW(root, Wide(path).c_str());
    RegDeleteKeyW(root, Wide(path).c_str());
}

// A copy of the system's command interpreter in a folder with a blank, and
// beside it a broken "my.exe" that an unquoted command line would start.
struct Interpreter {
    ScratchDir dir;
    std::string folder = dir.Path("my tools\\");
    std::string exe = folder + "cmd.exe";
    Interpreter()
    {
        CreateDirectoryW(Wide(folder).c_str(), nullptr);
        wchar_t system[MAX_PATH];
        GetSystemDirectoryW(system, MAX_PATH);
        CopyFileW((std::wstring(system) + L"\\cmd.exe").c_str(), Wide(exe).c_str(), FALSE);
        dir.Write("my.exe", "not a program");
    }
};

// Waits for a file another process writes; empty when it never comes.
std::string AwaitFile(const ScratchDir& dir, const std::string& name)
{
    for (int i = 0; i < 3000; ++i) {
        std::string text = dir.Read(name);
        if (text != "<missing>" && !text.empty()) return text;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return "";
}

}  // namespace

// A .txt as Windows ships it (Wine's prefix has none) is taken over by name
// in HKEY_LOCAL_MACHINE\Software\Classes, which HKEY_CLASSES_ROOT shows, and
// given back whole.
TEST(RealFileType, TakenOverTxtGetsItsClassBackWithEverythingElse)
{
    Win32Registry registry;
    const std::string txt = "Software\\Classes\\.txt";
    DeleteTree(HKEY_LOCAL_MACHINE, txt);
    peek::SetString(HKEY_LOCAL_MACHINE, txt, "", "txtfile");
    peek::SetString(HKEY_LOCAL_MACHINE, txt, "Content Type", "text/plain");
    peek::SetString(HKEY_LOCAL_MACHINE, txt, "PerceivedType", "text");
    peek::SetString(HKEY_LOCAL_MACHINE, txt + "\\ShellNew", "ItemName", "@notepad.exe,-470");
    const auto values = peek::Values(HKEY_LOCAL_MACHINE, txt);
    const auto subKeys = peek::SubKeys(HKEY_LOCAL_MACHINE, txt);

    for (const char* ext : {"txt", ".txt"}) {
        DeleteTree(HKEY_CLASSES_ROOT, "GlossiraTestFile");
        RegisterFileType(registry, ext, "GlossiraTestFile", "", "C:\\Program Files\\Tools\\glossira.exe");
        auto seen = peek::Values(HKEY_CLASSES_ROOT, ".txt");
        EXPECT_NE(std::find(seen.begin(), seen.end(), "@=REG_SZ:GlossiraTestFile"), seen.end()) << ext;
        EXPECT_NE(std::find(seen.begin(), seen.end(), "Glossira.PreviousClass=REG_SZ:txtfile"), seen.end()) << ext;
        EXPECT_FALSE(peek::KeyExists(HKEY_CLASSES_ROOT, "..txt")) << ext;
        EXPECT_EQ(peek::Values(HKEY_CLASSES_ROOT, "GlossiraTestFile"),
                  std::vector<std::string>{"@=REG_SZ:GlossiraTestFile"});
        EXPECT_EQ(peek::Values(HKEY_CLASSES_ROOT, "GlossiraTestFile\\shell\\open\\command"),
                  std::vector<std::string>{"@=REG_SZ:\"C:\\Program Files\\Tools\\glossira.exe\" \"%1\""});
    }

    UnregisterFileType(registry, RootKey::LocalMachine, "GlossiraTestFile");
    EXPECT_EQ(peek::Values(HKEY_LOCAL_MACHINE, txt), values);
    EXPECT_EQ(peek::SubKeys(HKEY_LOCAL_MACHINE, txt), subKeys);
    EXPECT_EQ(peek::Values(HKEY_CLASSES_ROOT, ".txt"), values);
    EXPECT_FALSE(peek::KeyExists(HKEY_CLASSES_ROOT, "GlossiraTestFile"));
    DeleteTree(HKEY_LOCAL_MACHINE, txt);
}

TEST(RealShellLaunch, WaitingOnAMissingFileStartsNothing)
{
    Win32Shell shell;
    Interpreter cmd;
    ASSERT_TRUE(ShellLaunch(shell, cmd.exe, "/c exit 3", "", true, 0));
    ASSERT_EQ(LastExitCode(), 3);
    EXPECT_FALSE(ShellLaunch(shell, cmd.folder + "missing.exe", "", "", true, 0));
    EXPECT_EQ(LastExitCode(), 0);
    EXPECT_FALSE(ShellLaunch(shell, cmd.folder, "", "", true, 0));  // a folder is no program
}

TEST(RealShellLaunch, WaitingRunsTheProgramInItsFolderAndKeepsItsExitCode)
{
    Win32Shell shell;
    Interpreter cmd;
    ASSERT_TRUE(shell.FileExists(cmd.exe));
    EXPECT_TRUE(ShellLaunch(shell, cmd.exe, "/c cd > here.txt & exit 7", cmd.dir.Root(), true, SW_HIDE));
    EXPECT_EQ(LastExitCode(), 7);
    // The current directory is the program's folder, not the one passed.
    EXPECT_EQ(cmd.dir.Read("my tools\\here.txt").find(cmd.folder.substr(0, cmd.folder.size() - 1)), 0u)
        << cmd.dir.Read("my tools\\here.txt");
    EXPECT_FALSE(cmd.dir.Exists("here.txt"));
}

TEST(RealShellLaunch, OpeningUsesTheFilesFolderUnlessOneIsGiven)
{
    Win32Shell shell;
    Interpreter cmd;
    EXPECT_TRUE(ShellLaunch(shell, cmd.exe, "/c cd > opened.txt", "", false, SW_HIDE));
    EXPECT_NE(AwaitFile(cmd.dir, "my tools\\opened.txt"), "");
    EXPECT_TRUE(ShellLaunch(shell, cmd.exe, "/c cd > given.txt", cmd.dir.Root(), false, SW_HIDE));
    EXPECT_NE(AwaitFile(cmd.dir, "given.txt"), "");
    EXPECT_FALSE(ShellLaunch(shell, cmd.folder + "glossira.chm", "", "", false, 0));
}
