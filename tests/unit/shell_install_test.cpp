// Installation and removal over the in-memory registry and a fake shell.
#include <gtest/gtest.h>

#include "core/cp1251.h"
#include "core/error.h"
#include "error_of.h"
#include "fake_shell.h"
#include "shell/file_types.h"
#include "shell/install.h"
#include "shell/registry_memory.h"

using namespace glossira;

namespace {

constexpr const char* kShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr const char* kClassKey = "Software\\Classes\\CLSID\\{AECEEFEA-3DF8-11D1-9577-0000837A2FDA}";
constexpr const char* kServerKey = "Software\\Classes\\CLSID\\{AECEEFEA-3DF8-11D1-9577-0000837A2FDA}\\InprocServer32";
constexpr const char* kHandlerKey = "Software\\Classes\\*\\shellex\\ContextMenuHandlers\\Glossira";
constexpr RootKey kLM = RootKey::LocalMachine;
constexpr RootKey kCU = RootKey::CurrentUser;
constexpr const char* kAppPathsKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\glossira.exe";
constexpr const char* kRunOnceKey = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";

const std::string kProgramDir = "C:\\Program Files\\Glossira\\";
const std::string kExe = "C:\\Program Files\\Glossira\\glossira.exe";
const std::string kSendTo = "C:\\Users\\u\\SendTo\\";

struct Installation : ::testing::Test {
    MemoryRegistry reg;
    FakeShell shell;
    InstallContext context{reg, shell, kProgramDir, kExe};
    std::string link = kSendTo + FromUtf8("Глоссира.lnk");

    Installation() { reg.SetString(RootKey::CurrentUser, kShellFolders, "SendTo", "C:\\Users\\u\\SendTo"); }
};

}  // namespace

// The right-drag menu's handler for one kind of drop target.
std::string DropKeys(const std::string& target)
{
    const std::string key = "HKEY_LOCAL_MACHINE\\Software\\Classes\\" + target;
    return key + "\n" + key + "\\shellex\n" + key + "\\shellex\\DragDropHandlers\n" + key +
           "\\shellex\\DragDropHandlers\\Glossira\n"
           "  @ = REG_SZ \"{B53500FB-FCA5-4D56-B161-E17C5A5D564F}\"\n";
}

TEST_F(Installation, RegisterContextMenuWritesTheTableByName)
{
    const std::string before = reg.Dump();
    EXPECT_EQ(RegisterContextMenu(context), Scope::Machine);
    RegisterContextMenu(context);  // again: the same entries
    // HKEY_CURRENT_USER, listed first, holds only SendTo.
    EXPECT_EQ(reg.Dump(), before +
                              "HKEY_LOCAL_MACHINE\\Software\n"
                              "HKEY_LOCAL_MACHINE\\Software\\Classes\n"
                              "HKEY_LOCAL_MACHINE\\Software\\Classes\\*\n"
                              "HKEY_LOCAL_MACHINE\\Software\\Classes\\*\\shellex\n"
                              "HKEY_LOCAL_MACHINE\\Software\\Classes\\*\\shellex\\ContextMenuHandlers\n"
                              "HKEY_LOCAL_MACHINE\\Software\\Classes\\*\\shellex\\ContextMenuHandlers\\Glossira\n"
                              "  @ = REG_SZ \"{AECEEFEA-3DF8-11D1-9577-0000837A2FDA}\"\n"
                              "HKEY_LOCAL_MACHINE\\Software\\Classes\\CLSID\n"
                              "HKEY_LOCAL_MACHINE\\Software\\Classes\\CLSID\\{AECEEFEA-3DF8-11D1-9577-0000837A2FDA}\n"
                              "  @ = REG_SZ \"Glossira\"\n"
                              "HKEY_LOCAL_MACHINE\\Software\\Classes\\CLSID\\{AECEEFEA-3DF8-11D1-9577-0000837A2FDA}\\InprocServer32\n"
                              "  @ = REG_SZ \"C:\\Program Files\\Glossira\\tavrex.dll\"\n"
                              "  ThreadingModel = REG_SZ \"Apartment\"\n"
                              "HKEY_LOCAL_MACHINE\\Software\\Classes\\CLSID\\{B53500FB-FCA5-4D56-B161-E17C5A5D564F}\n"
                              "  @ = REG_SZ \"Glossira drop\"\n"
                              "HKEY_LOCAL_MACHINE\\Software\\Classes\\CLSID\\{B53500FB-FCA5-4D56-B161-E17C5A5D564F}\\InprocServer32\n"
                              "  @ = REG_SZ \"C:\\Program Files\\Glossira\\tavrex.dll\"\n"
                              "  ThreadingModel = REG_SZ \"Apartment\"\n" +
                              DropKeys("Directory") + DropKeys("Drive") + DropKeys("Folder") +
                              "HKEY_LOCAL_MACHINE\\Software\\Microsoft\n"
                              "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\n"
                              "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\n"
                              "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\n"
                              "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\App "
                              "Paths\\glossira.exe\n"
                              "  path = REG_SZ \"C:\\Program Files\\Glossira\\glossira.exe\"\n"
                              "  @ = REG_SZ \"C:\\Program Files\\Glossira\\glossira.exe\"\n");
}

// A folder ordinary users may change: the handler is registered for the
// current user alone, and the uninstaller runs at this user's next logon.
TEST_F(Installation, FolderOrdinaryUsersMayChangeGetsTheCurrentUsersRegistration)
{
    shell.access[kProgramDir] = AccessList{"S-1-5-32-544", false,
                                           {{true, "S-1-5-32-544", 0x1F01FF}, {true, "S-1-5-11", 0x1301BF}}};
    EXPECT_EQ(RegisterContextMenu(context), Scope::User);
    EXPECT_FALSE(reg.KeyExists(kLM, "Software"));
    EXPECT_EQ(reg.Value(kCU, kServerKey, "")->data, kProgramDir + "tavrex.dll");
    EXPECT_EQ(reg.Value(kCU, kHandlerKey, "")->data, "{AECEEFEA-3DF8-11D1-9577-0000837A2FDA}");
    EXPECT_EQ(reg.Value(kCU, kAppPathsKey, "")->data, kExe);

    shell.files.insert(kProgramDir + "unins000.exe");
    ScriptedDialogs yes(true);
    EXPECT_EQ(ScheduleFullRemoval(context, yes), RemovalResult::Scheduled);
    EXPECT_FALSE(reg.KeyExists(kCU, kClassKey));
    EXPECT_FALSE(reg.KeyExists(kCU, kHandlerKey));
    EXPECT_FALSE(reg.KeyExists(kLM, kRunOnceKey));
    EXPECT_EQ(reg.Value(kCU, kRunOnceKey, "glossira")->data, "\"" + kProgramDir + "unins000.exe\" /S");
}

TEST_F(Installation, ServerKeyThatCannotBeOpenedStopsAtThreadingModel)
{
    reg.RefuseOpen(kLM, kServerKey);
    EXPECT_EQ(ErrorOf([&] { RegisterContextMenu(context); }), "Failed to set data for 'ThreadingModel'");
    reg.ClearFailures();
    EXPECT_EQ(reg.Value(kLM, kClassKey, "")->data, "Glossira");
    EXPECT_FALSE(reg.Value(kLM, kServerKey, ""));
    EXPECT_FALSE(reg.Value(kLM, kServerKey, "ThreadingModel"));
    EXPECT_FALSE(reg.KeyExists(kLM, "Software\\Classes\\*"));
    EXPECT_FALSE(reg.KeyExists(kLM, kAppPathsKey));
}

TEST_F(Installation, EveryOtherRefusedKeyIsReported)
{
    reg.RefuseOpen(kLM, "Software\\Classes\\CLSID");
    EXPECT_EQ(ErrorOf([&] { RegisterContextMenu(context); }),
              "Failed to create key CLSID\\{AECEEFEA-3DF8-11D1-9577-0000837A2FDA}");

    MemoryRegistry handlerRefused;
    handlerRefused.RefuseOpen(kLM, "Software\\Classes\\*");
    InstallContext second{handlerRefused, shell, kProgramDir, kExe};
    EXPECT_EQ(ErrorOf([&] { RegisterContextMenu(second); }),
              "Failed to create key *\\shellex\\ContextMenuHandlers\\Glossira");
    EXPECT_FALSE(handlerRefused.KeyExists(kLM, kAppPathsKey));

    MemoryRegistry appPathRefused;
    appPathRefused.RefuseOpen(kLM, "SOFTWARE\\Microsoft");
    InstallContext third{appPathRefused, shell, kProgramDir, kExe};
    EXPECT_EQ(ErrorOf([&] { RegisterContextMenu(third); }), "Failed to set data for 'path'");
    EXPECT_TRUE(appPathRefused.KeyExists(kLM, kHandlerKey));
}

TEST_F(Installation, UnregisterRemovesOnlyOurKeysAndRepeatsQuietly)
{
    reg.SetString(kLM, "Software\\Classes\\CLSID\\{00021401-0000-0000-C000-000000000046}", "", "Shortcut");
    reg.SetString(kLM, "Software\\Classes\\*\\shellex\\ContextMenuHandlers\\Other", "", "{1}");
    reg.SetString(kCU, "Software\\Classes\\*\\shellex\\ContextMenuHandlers\\Other", "", "{2}");
    for (const char* target : {"Directory", "Drive", "Folder"})
        reg.SetString(kLM, std::string("Software\\Classes\\") + target + "\\shellex\\DragDropHandlers\\Other", "", "{2}");
    reg.SetString(RootKey::LocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\other.exe", "",
                  "C:\\other.exe");
    const std::string clean = reg.Dump();

    UnregisterContextMenu(context);  // nothing installed
    EXPECT_EQ(reg.Dump(), clean);

    RegisterContextMenu(context);
    UnregisterContextMenu(context);
    EXPECT_EQ(reg.Dump(), clean);
    UnregisterContextMenu(context);
    EXPECT_EQ(reg.Dump(), clean);
}

TEST_F(Installation, RemovalUndoesEveryKeyRegistrationWrites)
{
    InstallPlan removal = UnregisterContextMenuPlan();
    InstallPlan writes = RegisterContextMenuPlan(kProgramDir, kExe, Scope::Machine);
    for (auto& action : RegisterContextMenuPlan(kProgramDir, kExe, Scope::User)) writes.push_back(action);
    for (const auto& action : writes) {
        const auto& write = std::get<WriteKeyValues>(action);
        bool undone = false;
        for (const auto& r : removal) {
            const auto& del = std::get<DeleteKeyTree>(r);
            undone |= del.root == write.root &&
                      (write.key == del.key || write.key.rfind(del.key + "\\", 0) == 0);
        }
        EXPECT_TRUE(undone) << write.key;
    }
}

TEST_F(Installation, SendToShortcutIsMadeOnceAndRemoved)
{
    InstallSendTo(context);
    InstallSendTo(context);
    ASSERT_EQ(shell.links.size(), 1u);
    EXPECT_EQ(shell.links.begin()->first, link);
    EXPECT_EQ(shell.links[link].target, kExe);
    EXPECT_EQ(shell.links[link].workingDir, kProgramDir);
    EXPECT_EQ(shell.links[link].arguments, "");

    RemoveSendTo(context);
    EXPECT_TRUE(shell.files.empty());
    RemoveSendTo(context);  // nothing left: no error
    EXPECT_TRUE(shell.files.empty());
}

TEST_F(Installation, SendToOfWrongTypeStopsBeforeTheShell)
{
    reg.SetDWord(RootKey::CurrentUser, kShellFolders, "SendTo", 5);
    EXPECT_EQ(ErrorOf([&] { InstallSendTo(context); }), "Invalid data type for 'SendTo'");
    EXPECT_EQ(ErrorOf([&] { RemoveSendTo(context); }), "Invalid data type for 'SendTo'");
    EXPECT_EQ(shell.calls, 0);
}

TEST_F(Installation, FullRemovalDeclinedChangesNothing)
{
    InstallSendTo(context);
    RegisterContextMenu(context);
    const std::string before = reg.Dump();
    const int calls = shell.calls;

    ScriptedDialogs no(false);
    EXPECT_EQ(ScheduleFullRemoval(context, no), RemovalResult::Declined);
    EXPECT_EQ(no.questions,
              std::vector<std::string>{"Confirm|" + FromUtf8("Удалить полностью из системы \"Глоссира к файлу\"?")});
    EXPECT_TRUE(no.messages.empty());
    EXPECT_EQ(reg.Dump(), before);
    EXPECT_EQ(shell.calls, calls);
    EXPECT_EQ(shell.files.count(link), 1u);
}

TEST_F(Installation, FullRemovalSchedulesTheQuotedSilentUninstaller)
{
    reg.SetString(kLM, "Software\\Orvik\\Glossira", "Ext", "txt");
    reg.SetString(kLM, "Software\\Classes\\.txt", "", "GlossiraFile");
    shell.files.insert(kProgramDir + "unins000.exe");
    InstallSendTo(context);
    RegisterContextMenu(context);

    ScriptedDialogs yes(true);
    EXPECT_EQ(ScheduleFullRemoval(context, yes), RemovalResult::Scheduled);
    EXPECT_EQ(shell.files, std::set<std::string>{kProgramDir + "unins000.exe"});
    EXPECT_FALSE(reg.KeyExists(kLM, kClassKey));
    EXPECT_FALSE(reg.KeyExists(kLM, kHandlerKey));
    EXPECT_FALSE(reg.KeyExists(kLM, kAppPathsKey));
    // The settings and the file type are the uninstaller's to remove.
    EXPECT_EQ(reg.Value(kLM, "Software\\Orvik\\Glossira", "Ext")->data, "txt");
    EXPECT_EQ(reg.Value(kLM, "Software\\Classes\\.txt", "")->data, "GlossiraFile");

    auto scheduled = reg.Value(kLM, kRunOnceKey, "glossira");
    ASSERT_TRUE(scheduled);
    EXPECT_EQ(scheduled->type, ValueType::String);
    EXPECT_EQ(scheduled->data, "\"C:\\Program Files\\Glossira\\unins000.exe\" /S");
    EXPECT_EQ(yes.messages,
              std::vector<std::string>{FromUtf8("Глоссира|После перезагрузки системы программа полностью удалится")});
}

// A portable copy has no uninstaller: what the program wrote goes at once,
// other programs' types get their classes back, and nothing is scheduled.
TEST_F(Installation, FullRemovalWithoutAnUninstallerRemovesEverythingAtOnce)
{
    reg.SetString(kLM, "Software\\Classes\\.txt", "", "txtfile");
    reg.SetString(kLM, "Software\\Classes\\.txt", "Content Type", "text/plain");
    reg.SetString(kLM, "Software\\Orvik\\Other", "x", "kept");
    for (RootKey root : {kLM, kCU}) {  // the parents Windows has
        reg.SetString(root, "Software\\Classes\\CLSID\\{00021401-0000-0000-C000-000000000046}", "", "Shortcut");
        reg.SetString(root, "Software\\Classes\\*\\shellex\\ContextMenuHandlers\\Other", "", "{1}");
        for (const char* target : {"Directory", "Drive", "Folder"})
            reg.SetString(root, std::string("Software\\Classes\\") + target + "\\shellex\\DragDropHandlers\\Other", "",
                          "{2}");
        reg.SetString(root, "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\other.exe", "", "C:\\o.exe");
    }
    const std::string clean = reg.Dump();
    InstallSendTo(context);
    RegisterContextMenu(context);
    shell.access[kProgramDir] = AccessList{"S-1-1-0", false, {}};  // an old per-user registration too
    RegisterContextMenu(context);
    RegisterFileType(reg, "txt", "GlossiraFile", "Glossira Document", kExe);
    reg.SetString(kLM, "Software\\Orvik\\Glossira", "Ext", "txt");
    reg.SetDWord(kCU, "Software\\Orvik\\Glossira", "ColorBack", 0);

    ScriptedDialogs yes(true);
    EXPECT_EQ(ScheduleFullRemoval(context, yes), RemovalResult::Removed);
    EXPECT_TRUE(shell.files.empty());
    EXPECT_EQ(reg.Dump(), clean);
    EXPECT_EQ(yes.messages,
              std::vector<std::string>{FromUtf8("Глоссира|Программа удалена из системы. Папку программы удалите сами")});
}

TEST_F(Installation, FullRemovalThatCannotScheduleReportsIt)
{
    shell.files.insert(kProgramDir + "unins000.exe");
    reg.FailWrites("glossira");
    ScriptedDialogs yes(true);
    EXPECT_EQ(ErrorOf([&] { ScheduleFullRemoval(context, yes); }), "Failed to set data for 'glossira'");
    EXPECT_TRUE(yes.messages.empty());
}
