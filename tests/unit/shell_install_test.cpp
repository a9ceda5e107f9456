// Installation and removal over the in-memory registry and a fake shell.
#include <gtest/gtest.h>

#include "core/cp1251.h"
#include "core/error.h"
#include "fake_shell.h"
#include "shell/install.h"
#include "shell/registry_memory.h"

using namespace glossira;

namespace {

constexpr const char* kShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr const char* kClassKey = "CLSID\\{AECEEFEA-3DF8-11D1-9577-0000837A2FDA}";
constexpr const char* kServerKey = "CLSID\\{AECEEFEA-3DF8-11D1-9577-0000837A2FDA}\\InprocServer32";
constexpr const char* kHandlerKey = "*\\shellex\\ContextMenuHandlers\\Glossira";
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

    std::string ErrorOf(auto&& action)
    {
        try {
            action();
        } catch (const Error& e) {
            return e.what();
        }
        return "<no error>";
    }
};

}  // namespace

// The right-drag menu's handler for one kind of drop target.
std::string DropKeys(const std::string& target)
{
    const std::string key = "HKEY_CLASSES_ROOT\\" + target;
    return key + "\n" + key + "\\shellex\n" + key + "\\shellex\\DragDropHandlers\n" + key +
           "\\shellex\\DragDropHandlers\\Glossira\n"
           "  @ = REG_SZ \"{B53500FB-FCA5-4D56-B161-E17C5A5D564F}\"\n";
}

TEST_F(Installation, RegisterContextMenuWritesTheTable)
{
    const std::string before = reg.Dump();
    RegisterContextMenu(context);
    RegisterContextMenu(context);  // again: the same entries
    // HKEY_CURRENT_USER, listed between the two roots, holds only SendTo.
    EXPECT_EQ(reg.Dump(), "HKEY_CLASSES_ROOT\\*\n"
                              "HKEY_CLASSES_ROOT\\*\\shellex\n"
                              "HKEY_CLASSES_ROOT\\*\\shellex\\ContextMenuHandlers\n"
                              "HKEY_CLASSES_ROOT\\*\\shellex\\ContextMenuHandlers\\Glossira\n"
                              "  @ = REG_SZ \"{AECEEFEA-3DF8-11D1-9577-0000837A2FDA}\"\n"
                              "HKEY_CLASSES_ROOT\\CLSID\n"
                              "HKEY_CLASSES_ROOT\\CLSID\\{AECEEFEA-3DF8-11D1-9577-0000837A2FDA}\n"
                              "  @ = REG_SZ \"Glossira\"\n"
                              "HKEY_CLASSES_ROOT\\CLSID\\{AECEEFEA-3DF8-11D1-9577-0000837A2FDA}\\InprocServer32\n"
                              "  @ = REG_SZ \"C:\\Program Files\\Glossira\\tavrex.dll\"\n"
                              "  ThreadingModel = REG_SZ \"Apartment\"\n"
                              "HKEY_CLASSES_ROOT\\CLSID\\{B53500FB-FCA5-4D56-B161-E17C5A5D564F}\n"
                              "  @ = REG_SZ \"Glossira drop\"\n"
                              "HKEY_CLASSES_ROOT\\CLSID\\{B53500FB-FCA5-4D56-B161-E17C5A5D564F}\\InprocServer32\n"
                              "  @ = REG_SZ \"C:\\Program Files\\Glossira\\tavrex.dll\"\n"
                              "  ThreadingModel = REG_SZ \"Apartment\"\n" +
                              DropKeys("Directory") + DropKeys("Drive") + DropKeys("Folder") + before +
                              "HKEY_LOCAL_MACHINE\\SOFTWARE\n"
                              "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\n"
                              "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\n"
                              "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\n"
                              "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\n"
                              "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App "
                              "Paths\\glossira.exe\n"
                              "  path = REG_SZ \"C:\\Program Files\\Glossira\\glossira.exe\"\n");
}

TEST_F(Installation, ServerKeyThatCannotBeOpenedStopsAtThreadingModel)
{
    reg.RefuseOpen(RootKey::ClassesRoot, kServerKey);
    EXPECT_EQ(ErrorOf([&] { RegisterContextMenu(context); }), "Failed to set data for 'ThreadingModel'");
    reg.ClearFailures();
    EXPECT_EQ(reg.Value(RootKey::ClassesRoot, kClassKey, "")->data, "Glossira");
    EXPECT_FALSE(reg.Value(RootKey::ClassesRoot, kServerKey, ""));
    EXPECT_FALSE(reg.Value(RootKey::ClassesRoot, kServerKey, "ThreadingModel"));
    EXPECT_FALSE(reg.KeyExists(RootKey::ClassesRoot, "*"));
    EXPECT_FALSE(reg.KeyExists(RootKey::LocalMachine, kAppPathsKey));
}

TEST_F(Installation, EveryOtherRefusedKeyIsReported)
{
    reg.RefuseOpen(RootKey::ClassesRoot, "CLSID");
    EXPECT_EQ(ErrorOf([&] { RegisterContextMenu(context); }), std::string("Failed to create key ") + kClassKey);

    MemoryRegistry handlerRefused;
    handlerRefused.RefuseOpen(RootKey::ClassesRoot, "*");
    InstallContext second{handlerRefused, shell, kProgramDir, kExe};
    EXPECT_EQ(ErrorOf([&] { RegisterContextMenu(second); }), std::string("Failed to create key ") + kHandlerKey);
    EXPECT_FALSE(handlerRefused.KeyExists(RootKey::LocalMachine, kAppPathsKey));

    MemoryRegistry appPathRefused;
    appPathRefused.RefuseOpen(RootKey::LocalMachine, "SOFTWARE");
    InstallContext third{appPathRefused, shell, kProgramDir, kExe};
    EXPECT_EQ(ErrorOf([&] { RegisterContextMenu(third); }), "Failed to set data for 'path'");
    EXPECT_TRUE(appPathRefused.KeyExists(RootKey::ClassesRoot, kHandlerKey));
}

TEST_F(Installation, UnregisterRemovesOnlyOurKeysAndRepeatsQuietly)
{
    reg.SetString(RootKey::ClassesRoot, "CLSID\\{00021401-0000-0000-C000-000000000046}", "", "Shortcut");
    reg.SetString(RootKey::ClassesRoot, "*\\shellex\\ContextMenuHandlers\\Other", "", "{1}");
    for (const char* target : {"Directory", "Drive", "Folder"})
        reg.SetString(RootKey::ClassesRoot, std::string(target) + "\\shellex\\DragDropHandlers\\Other", "", "{2}");
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
    for (const auto& action : RegisterContextMenuPlan(kProgramDir, kExe)) {
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

TEST_F(Installation, FullRemovalTakesEverythingAwayAndSchedulesTheQuotedUninstaller)
{
    reg.SetString(RootKey::LocalMachine, "Software\\Orvik\\Glossira", "Ext", "txt");
    reg.SetString(RootKey::ClassesRoot, ".txt", "", "GlossiraFile");
    const std::string clean = reg.Dump();
    InstallSendTo(context);
    RegisterContextMenu(context);

    ScriptedDialogs yes(true);
    EXPECT_EQ(ScheduleFullRemoval(context, yes), RemovalResult::Removed);
    EXPECT_TRUE(shell.files.empty());
    EXPECT_FALSE(reg.KeyExists(RootKey::ClassesRoot, kClassKey));
    EXPECT_FALSE(reg.KeyExists(RootKey::ClassesRoot, kHandlerKey));
    EXPECT_FALSE(reg.KeyExists(RootKey::LocalMachine, kAppPathsKey));
    // The settings and the file association stay.
    EXPECT_EQ(reg.Value(RootKey::LocalMachine, "Software\\Orvik\\Glossira", "Ext")->data, "txt");
    EXPECT_EQ(reg.Value(RootKey::ClassesRoot, ".txt", "")->data, "GlossiraFile");

    auto scheduled = reg.Value(RootKey::LocalMachine, kRunOnceKey, "glossira");
    ASSERT_TRUE(scheduled);
    EXPECT_EQ(scheduled->type, ValueType::String);
    EXPECT_EQ(scheduled->data, "\"C:\\Program Files\\Glossira\\unins000.exe\"");
    EXPECT_EQ(yes.messages,
              std::vector<std::string>{FromUtf8("Глоссира|После перезагрузки системы программа полностью удалится")});
}

TEST_F(Installation, FullRemovalThatCannotScheduleReportsIt)
{
    reg.FailWrites("glossira");
    ScriptedDialogs yes(true);
    EXPECT_EQ(ErrorOf([&] { ScheduleFullRemoval(context, yes); }), "Failed to set data for 'glossira'");
    EXPECT_TRUE(yes.messages.empty());
}
