// Installation and removal against the real registry and Send To folder of
// the throw-away Wine prefix.
#include <gtest/gtest.h>
#include <windows.h>
#include <sddl.h>

#include <algorithm>
#include <thread>

#include "core/cp1251.h"
#include "core/error.h"
#include "core/paths.h"
#include "core/unique_win.h"
#include "shell/install.h"
#include "shell/registry_win.h"
#include "shell/shell_ops.h"
#include "shell/shell_win.h"
#include "shell_peek.h"
#include "win/scratch.h"

using namespace glossira;

namespace {

const std::string kClassId = "{AECEEFEA-3DF8-11D1-9577-0000837A2FDA}";
constexpr const char* kAppPaths = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths";
constexpr const char* kRunOnce = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
constexpr const char* kShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

class AlwaysYes final : public Dialogs {
public:
    bool Confirm(const std::string&, const std::string&) override { return true; }
    void Inform(const std::string& text, const std::string&) override { informed = text; }
    std::string informed;
};

struct RealInstallation : ::testing::Test {
    ComApartment com;
    Win32Registry registry;
    Win32Shell shell;
    std::string exe = Narrow(ModulePath());
    InstallContext context{registry, shell, "C:\\Program Files\\Glossira\\", exe};

    void SetUp() override
    {
        ASSERT_TRUE(com.ok());
        // The program's folder as a setup makes it: only administrators change it.
        CreateDirectoryW(L"C:\\Program Files\\Glossira", nullptr);
        UnregisterContextMenu(context);
        RemoveSendTo(context);
    }
    void TearDown() override
    {
        UnregisterContextMenu(context);
        RemoveSendTo(context);
    }
    // Everything the installation touches, as stored.
    std::string Snapshot()
    {
        std::string out;
        auto add = [&](HKEY root, const std::string& path) {
            for (const auto& k : peek::SubKeys(root, path)) out += path + "\\" + k + "\n";
            for (const auto& v : peek::Values(root, path)) out += path + " " + v + "\n";
        };
        add(HKEY_CLASSES_ROOT, "CLSID\\" + kClassId);
        add(HKEY_CLASSES_ROOT, "*\\shellex\\ContextMenuHandlers");
        add(HKEY_LOCAL_MACHINE, kAppPaths);
        add(HKEY_LOCAL_MACHINE, kRunOnce);
        for (const auto& f : peek::Files(SendToFolder(registry))) out += "SendTo " + f + "\n";
        return out;
    }
};

}  // namespace

TEST_F(RealInstallation, RegisterContextMenuWritesEveryEntryAsGiven)
{
    RegisterContextMenu(context);
    RegisterContextMenu(context);

    auto clsid = peek::SubKeys(HKEY_CLASSES_ROOT, "CLSID");
    EXPECT_EQ(std::count(clsid.begin(), clsid.end(), kClassId), 1);
    EXPECT_EQ(peek::Values(HKEY_CLASSES_ROOT, "CLSID\\" + kClassId),
              std::vector<std::string>{"@=REG_SZ:Glossira"});
    EXPECT_EQ(peek::SubKeys(HKEY_CLASSES_ROOT, "CLSID\\" + kClassId), std::vector<std::string>{"InprocServer32"});
    EXPECT_EQ(peek::Values(HKEY_CLASSES_ROOT, "CLSID\\" + kClassId + "\\InprocServer32"),
              (std::vector<std::string>{"@=REG_SZ:C:\\Program Files\\Glossira\\tavrex.dll",
                                        "ThreadingModel=REG_SZ:Apartment"}));

    auto handlers = peek::SubKeys(HKEY_CLASSES_ROOT, "*\\shellex\\ContextMenuHandlers");
    EXPECT_EQ(std::count(handlers.begin(), handlers.end(), "Glossira"), 1);
    EXPECT_EQ(peek::Values(HKEY_CLASSES_ROOT, "*\\shellex\\ContextMenuHandlers\\Glossira"),
              std::vector<std::string>{"@=REG_SZ:" + kClassId});

    auto apps = peek::SubKeys(HKEY_LOCAL_MACHINE, kAppPaths);
    EXPECT_EQ(std::count(apps.begin(), apps.end(), "glossira.exe"), 1);
    EXPECT_EQ(peek::Values(HKEY_LOCAL_MACHINE, std::string(kAppPaths) + "\\glossira.exe"),
              (std::vector<std::string>{"@=REG_SZ:" + exe, "path=REG_SZ:" + exe}));  // Wine lists the default first
}

// Wine keeps of an access list what its Unix mode can hold: a folder
// Everyone may write is one, and the registration is then the user's.
TEST_F(RealInstallation, FolderEveryoneMayWriteGetsTheCurrentUsersRegistration)
{
    ScratchDir dir;
    const std::string programDir = dir.Path("Tools\\");
    ASSERT_TRUE(CreateDirectoryW(Wide(programDir).c_str(), nullptr));
    InstallContext portable{registry, shell, programDir, exe};
    EXPECT_EQ(RegisterContextMenu(portable), Scope::Machine);
    UnregisterContextMenu(portable);

    PSECURITY_DESCRIPTOR open = nullptr;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(
        L"D:(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1301bf;;;WD)", SDDL_REVISION_1, &open, nullptr));
    ASSERT_TRUE(SetFileSecurityW(Wide(programDir).c_str(), DACL_SECURITY_INFORMATION, open));
    LocalFree(open);
    EXPECT_EQ(RegisterContextMenu(portable), Scope::User);
    const std::string classes = "Software\\Classes\\";
    EXPECT_EQ(peek::Values(HKEY_CURRENT_USER, classes + "CLSID\\" + kClassId + "\\InprocServer32"),
              (std::vector<std::string>{"@=REG_SZ:" + programDir + "tavrex.dll", "ThreadingModel=REG_SZ:Apartment"}));
    EXPECT_EQ(peek::Values(HKEY_CURRENT_USER, classes + "*\\shellex\\ContextMenuHandlers\\Glossira"),
              std::vector<std::string>{"@=REG_SZ:" + kClassId});
    EXPECT_FALSE(peek::KeyExists(HKEY_LOCAL_MACHINE, classes + "CLSID\\" + kClassId));
    EXPECT_FALSE(peek::KeyExists(HKEY_LOCAL_MACHINE, std::string(kAppPaths) + "\\glossira.exe"));

    UnregisterContextMenu(portable);
    EXPECT_FALSE(peek::KeyExists(HKEY_CURRENT_USER, classes + "CLSID\\" + kClassId));
    EXPECT_FALSE(peek::KeyExists(HKEY_CURRENT_USER, classes + "*\\shellex\\ContextMenuHandlers\\Glossira"));
}

TEST_F(RealInstallation, RemovalOnACleanSystemAndTwiceChangesNothing)
{
    const std::string clean = Snapshot();
    EXPECT_NO_THROW(UnregisterContextMenu(context));
    EXPECT_NO_THROW(RemoveSendTo(context));
    EXPECT_EQ(Snapshot(), clean);

    RegisterContextMenu(context);
    InstallSendTo(context);
    EXPECT_NE(Snapshot(), clean);
    for (int i = 0; i < 2; ++i) {
        EXPECT_NO_THROW(UnregisterContextMenu(context));
        EXPECT_NO_THROW(RemoveSendTo(context));
        EXPECT_EQ(Snapshot(), clean) << "round " << i;
    }
    EXPECT_FALSE(peek::KeyExists(HKEY_CLASSES_ROOT, "CLSID\\" + kClassId));
    EXPECT_TRUE(peek::KeyExists(HKEY_CLASSES_ROOT, "*\\shellex\\ContextMenuHandlers"));
}

TEST_F(RealInstallation, SendToShortcutReadsBackAndIsMadeOnce)
{
    const std::string folder = SendToFolder(registry);
    ASSERT_FALSE(folder.empty());
    const std::string name = FromUtf8("Глоссира.lnk");
    const auto before = peek::Files(folder);

    InstallSendTo(context);
    InstallSendTo(context);
    auto after = peek::Files(folder);
    EXPECT_EQ(after.size(), before.size() + 1);
    EXPECT_EQ(std::count(after.begin(), after.end(), name), 1);

    auto link = peek::ReadLink(folder + name);
    ASSERT_EQ(link.loaded, S_OK);
    EXPECT_EQ(link.path, exe);
    EXPECT_EQ(link.itemPath, exe);
    EXPECT_EQ(link.workingDir, FolderWithSeparator(exe));
    EXPECT_EQ(link.arguments, "");
}

TEST_F(RealInstallation, ShortcutKeepsCyrillicPaths)
{
    // A copy of this program in a folder whose name the ANSI code page of the
    // prefix (1252) cannot hold.
    ScratchDir dir;
    const std::string folder = dir.Path(FromUtf8("Программы с пробелом\\"));
    ASSERT_TRUE(CreateDirectoryW(Wide(folder).c_str(), nullptr));
    const std::string target = folder + FromUtf8("глоссира.exe");
    ASSERT_TRUE(CopyFileW(ModulePath().c_str(), Wide(target).c_str(), FALSE));

    const std::string linkPath = dir.Path(FromUtf8("Ярлык.lnk"));
    CreateShortcut(shell, linkPath, "", target);
    auto link = peek::ReadLink(linkPath);
    ASSERT_EQ(link.loaded, S_OK);
    // Wine keeps the raw path of a link only in the ANSI code page; the item
    // the link names keeps the full name.
    EXPECT_EQ(link.itemPath, target);
    EXPECT_EQ(link.workingDir, folder);
}

TEST_F(RealInstallation, ShortcutIntoAMissingFolderIsAnError)
{
    ScratchDir dir;
    EXPECT_THROW(CreateShortcut(shell, dir.Path("missing\\a.lnk"), "", exe), Error);
}

TEST_F(RealInstallation, ShellLinkWithoutComIsAnOleError)
{
    std::string error;
    std::uint32_t code = 0;
    std::thread([&] {
        try {
            Win32Shell().CreateLink("C:\\a.lnk", "", "C:\\a.exe", "C:\\");
        } catch (const Error& e) {
            error = e.what();
            code = e.SystemCode();
        }
    }).join();
    EXPECT_EQ(code, static_cast<std::uint32_t>(CO_E_NOTINITIALIZED));
    EXPECT_FALSE(error.empty());
    EXPECT_NE(error, "Interface not supported");
    EXPECT_EQ(error.find("System error"), std::string::npos) << error;
}

TEST_F(RealInstallation, FullRemovalSchedulesTheQuotedUninstaller)
{
    ScratchDir dir;
    const std::string programDir = dir.Path("Program Files\\Orvik Glossira\\");
    ASSERT_TRUE(CreateDirectoryW(Wide(dir.Path("Program Files")).c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW(Wide(programDir).c_str(), nullptr));
    dir.Write("Program Files\\Orvik Glossira\\unins000.exe", "the uninstaller");
    InstallContext spaced{registry, shell, programDir, exe};
    RegisterContextMenu(spaced);
    InstallSendTo(spaced);

    AlwaysYes yes;
    EXPECT_EQ(ScheduleFullRemoval(spaced, yes), RemovalResult::Scheduled);
    EXPECT_EQ(peek::Values(HKEY_LOCAL_MACHINE, kRunOnce),
              std::vector<std::string>{"glossira=REG_SZ:\"" + programDir + "unins000.exe\" /S"});
    EXPECT_FALSE(peek::KeyExists(HKEY_CLASSES_ROOT, "CLSID\\" + kClassId));
    EXPECT_FALSE(peek::KeyExists(HKEY_CLASSES_ROOT, "*\\shellex\\ContextMenuHandlers\\Glossira"));
    EXPECT_FALSE(peek::KeyExists(HKEY_LOCAL_MACHINE, std::string(kAppPaths) + "\\glossira.exe"));
    auto sendTo = peek::Files(SendToFolder(registry));
    EXPECT_EQ(std::count(sendTo.begin(), sendTo.end(), FromUtf8("Глоссира.lnk")), 0);
    EXPECT_EQ(yes.informed, FromUtf8("После перезагрузки системы программа полностью удалится"));

    HKEY runOnce = nullptr;
    RegOpenKeyExW(HKEY_LOCAL_MACHINE, Wide(kRunOnce).c_str(), 0, KEY_SET_VALUE, &runOnce);
    RegDeleteValueW(runOnce, L"glossira");
    RegCloseKey(runOnce);
}

TEST_F(RealInstallation, SendToFolderFromTheRegistry)
{
    const std::string saved = SendToFolder(registry);
    for (const char* stored : {"C:\\Users\\u\\SendTo", "C:\\Users\\u\\SendTo\\\\"}) {
        peek::SetString(HKEY_CURRENT_USER, kShellFolders, "SendTo", stored);
        EXPECT_EQ(SendToFolder(registry), "C:\\Users\\u\\SendTo\\") << stored;
    }
    HKEY key = nullptr;
    RegOpenKeyExW(HKEY_CURRENT_USER, Wide(kShellFolders).c_str(), 0, KEY_ALL_ACCESS, &key);
    RegDeleteValueW(key, L"SendTo");
    EXPECT_EQ(SendToFolder(registry), "");
    DWORD number = 1;
    RegSetValueExW(key, L"SendTo", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
    try {
        SendToFolder(registry);
        ADD_FAILURE() << "no error";
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), "Invalid data type for 'SendTo'");
    }
    RegCloseKey(key);
    peek::SetString(HKEY_CURRENT_USER, kShellFolders, "SendTo", StripTrailingBackslashes(saved));
}
