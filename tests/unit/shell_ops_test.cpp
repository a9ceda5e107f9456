// Write probes, Send To folder and the launcher over the
// in-memory registry and a fake shell.
#include <gtest/gtest.h>

#include "core/error.h"
#include "error_of.h"
#include "fake_shell.h"
#include "shell/registry_memory.h"
#include "shell/shell_ops.h"

using namespace glossira;

namespace {

constexpr const char* kShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr const char* kProbeKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\explorer\\Shell Folders";

}  // namespace

TEST(WriteProbes, AnswerOppositelyAndNeverFail)
{
    MemoryRegistry reg;
    // The key is missing: no access.
    EXPECT_FALSE(HasMachineWriteAccess(reg));
    EXPECT_TRUE(LacksMachineWriteAccess(reg));

    reg.SetString(RootKey::LocalMachine, kProbeKey, "Desktop", "C:\\Users\\Public\\Desktop");
    const std::string before = reg.Dump();
    EXPECT_TRUE(HasMachineWriteAccess(reg));
    EXPECT_FALSE(LacksMachineWriteAccess(reg));

    // A user without administrator rights may read but not write.
    reg.LimitAccess(RootKey::LocalMachine, "Software", kKeyRead);
    EXPECT_FALSE(HasMachineWriteAccess(reg));
    EXPECT_TRUE(LacksMachineWriteAccess(reg));
    reg.RefuseOpen(RootKey::LocalMachine, "Software");
    EXPECT_FALSE(HasMachineWriteAccess(reg));
    EXPECT_TRUE(LacksMachineWriteAccess(reg));
    EXPECT_EQ(reg.Dump(), before);
}

TEST(SendToFolder, EndsInOneBackslashOrIsEmpty)
{
    MemoryRegistry reg;
    EXPECT_EQ(SendToFolder(reg), "");  // no key
    reg.SetString(RootKey::CurrentUser, kShellFolders, "Desktop", "C:\\Users\\u\\Desktop");
    EXPECT_EQ(SendToFolder(reg), "");  // no value
    for (const char* stored : {"C:\\Users\\u\\SendTo", "C:\\Users\\u\\SendTo\\", "C:\\Users\\u\\SendTo\\\\\\"}) {
        reg.SetString(RootKey::CurrentUser, kShellFolders, "SendTo", stored);
        EXPECT_EQ(SendToFolder(reg), "C:\\Users\\u\\SendTo\\") << stored;
    }
    // Read-only access is enough.
    reg.LimitAccess(RootKey::CurrentUser, "Software", kKeyRead);
    EXPECT_EQ(SendToFolder(reg), "C:\\Users\\u\\SendTo\\");
    reg.RefuseOpen(RootKey::CurrentUser, "Software");
    EXPECT_EQ(SendToFolder(reg), "");
}

TEST(SendToFolder, ValueOfWrongTypeFails)
{
    MemoryRegistry reg;
    reg.SetDWord(RootKey::CurrentUser, kShellFolders, "SendTo", 1);
    EXPECT_EQ(ErrorOf([&] { SendToFolder(reg); }), "Invalid data type for 'SendTo'");
}

TEST(ShellLaunch, OpensThroughTheShellWithTheFilesFolder)
{
    FakeShell shell;
    EXPECT_TRUE(ShellLaunch(shell, "C:\\Prog\\glossira.chm", "", "", false, 0));
    EXPECT_TRUE(ShellLaunch(shell, "C:\\Prog\\a.txt", "-x", "D:\\work", false, 3));
    EXPECT_TRUE(ShellLaunch(shell, "notes.txt", "", "", false, 0));
    ASSERT_EQ(shell.opens.size(), 3u);
    EXPECT_EQ(shell.opens[0].fileOrCommand, "C:\\Prog\\glossira.chm");
    EXPECT_EQ(shell.opens[0].directory, "C:\\Prog\\");
    EXPECT_EQ(shell.opens[0].show, kSwShowNormal);
    EXPECT_EQ(shell.opens[1].parametersOrEmpty, "-x");
    EXPECT_EQ(shell.opens[1].directory, "D:\\work");
    EXPECT_EQ(shell.opens[1].show, 3);
    EXPECT_EQ(shell.opens[2].directory, "");

    shell.openAccepted = false;
    EXPECT_FALSE(ShellLaunch(shell, "C:\\Prog\\missing.chm", "", "", false, 0));
    EXPECT_TRUE(shell.runs.empty());
}

TEST(ShellLaunch, WaitingRunsTheQuotedProgramInItsFolder)
{
    FakeShell shell;
    shell.files.insert("C:\\Program Files\\Tool\\run.exe");
    shell.exitCode = -5;
    EXPECT_TRUE(ShellLaunch(shell, "C:\\Program Files\\Tool\\run.exe", "a b", "D:\\ignored", true, 0));
    EXPECT_EQ(LastExitCode(), -5);
    ASSERT_EQ(shell.runs.size(), 1u);
    EXPECT_EQ(shell.runs[0].fileOrCommand, "\"C:\\Program Files\\Tool\\run.exe\" a b");
    EXPECT_EQ(shell.runs[0].directory, "C:\\Program Files\\Tool\\");
    EXPECT_EQ(shell.runs[0].show, kSwShowNormal);

    // Every call starts from 0: a missing program starts nothing.
    EXPECT_FALSE(ShellLaunch(shell, "C:\\nothing.exe", "", "", true, 0));
    EXPECT_EQ(LastExitCode(), 0);
    EXPECT_EQ(shell.runs.size(), 1u);

    // A program that cannot be started.
    EXPECT_TRUE(ShellLaunch(shell, "C:\\Program Files\\Tool\\run.exe", "", "", true, 2));
    EXPECT_EQ(shell.runs.back().fileOrCommand, "\"C:\\Program Files\\Tool\\run.exe\" ");
    shell.exitCode.reset();
    EXPECT_FALSE(ShellLaunch(shell, "C:\\Program Files\\Tool\\run.exe", "", "", true, 0));
    EXPECT_EQ(LastExitCode(), 0);
}

TEST(OpenHelp, OpensTheHelpFileOfTheProgramFolder)
{
    FakeShell shell;
    shell.openAccepted = false;  // a missing help file shows nothing
    OpenHelp(shell, "C:\\Program Files\\Glossira\\");
    ASSERT_EQ(shell.opens.size(), 1u);
    EXPECT_EQ(shell.opens[0].fileOrCommand, "C:\\Program Files\\Glossira\\glossira.chm");
    EXPECT_EQ(shell.opens[0].parametersOrEmpty, "");
    EXPECT_EQ(shell.opens[0].directory, "C:\\Program Files\\Glossira\\");
    EXPECT_EQ(shell.opens[0].show, kSwShowNormal);
}
