// The settings window's OK over the in-memory registry and a fake shell.
#include <gtest/gtest.h>

#include "core/cp1251.h"
#include "core/messages.h"
#include "fake_shell.h"
#include "shell/registry_memory.h"
#include "shell/settings_action.h"
#include "shell/settings_registry.h"

using namespace glossira;

namespace {

constexpr const char* kShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr const char* kProbeKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\explorer\\Shell Folders";
constexpr const char* kSettings = "Software\\Orvik\\Glossira";
constexpr const char* kClassKey = "Software\\Classes\\CLSID\\{AECEEFEA-3DF8-11D1-9577-0000837A2FDA}";
constexpr const char* kServerKey = "Software\\Classes\\CLSID\\{AECEEFEA-3DF8-11D1-9577-0000837A2FDA}\\InprocServer32";
constexpr const char* kRunOnceKey = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";

const std::string kProgramDir = "C:\\Tools\\";
const std::string kExe = "C:\\Tools\\glossira.exe";

struct SettingsOkAction : ::testing::Test {
    MemoryRegistry reg;
    FakeShell shell;
    InstallContext context{reg, shell, kProgramDir, kExe};
    std::string link = "C:\\Users\\u\\SendTo\\" + FromUtf8("Глоссира.lnk");
    SettingsChoices choices;

    SettingsOkAction()
    {
        reg.SetString(RootKey::CurrentUser, kShellFolders, "SendTo", "C:\\Users\\u\\SendTo");
        reg.SetString(RootKey::LocalMachine, kProbeKey, "Common Desktop", "C:\\Users\\Public\\Desktop");
    }
    // A user without administrator rights.
    void LimitedUser() { reg.LimitAccess(RootKey::LocalMachine, "SOFTWARE", kKeyRead); }

    SettingsOutcome Ok(bool answerYes = true)
    {
        ScriptedDialogs dialogs(answerYes);
        SettingsOutcome outcome = SettingsOk(choices, context, dialogs);
        questions = dialogs.questions;
        informed = dialogs.messages;
        return outcome;
    }
    std::optional<RegistryValue> Setting(const char* name) const
    {
        return reg.Value(RootKey::LocalMachine, kSettings, name);
    }

    std::vector<std::string> questions, informed;
};

}  // namespace

TEST_F(SettingsOkAction, SavedSettingsAreReportedAndEndTheProgram)
{
    SettingsOutcome outcome = Ok();
    EXPECT_EQ(outcome.ext, "txt");
    EXPECT_EQ(outcome.message, FromUtf8("Установки сохранены"));
    EXPECT_FALSE(outcome.error);
    EXPECT_TRUE(outcome.terminate);
    EXPECT_EQ(Setting("Ext")->data, "txt");
    EXPECT_EQ(Setting("Strlog")->data, "reget.log;descript.ion;");
    EXPECT_EQ(Setting("PathStrLog")->data, "");
    EXPECT_TRUE(questions.empty());
    EXPECT_TRUE(informed.empty());
    EXPECT_TRUE(shell.files.empty());
}

TEST_F(SettingsOkAction, RefusedProbeShowsItsTextKeepsSendToAndWritesNothingElse)
{
    choices.installSendTo = true;
    choices.registerContextMenu = true;
    choices.associate = true;
    choices.ext = "exe";
    LimitedUser();
    const std::string before = reg.Dump();

    SettingsOutcome outcome = Ok();
    EXPECT_EQ(outcome.message, FromUtf8("Для Сохранения установок нужно зайти в систему под администратором"));
    EXPECT_FALSE(outcome.terminate);
    EXPECT_FALSE(outcome.error);
    EXPECT_FALSE(outcome.ext);  // the field keeps what was typed
    EXPECT_EQ(shell.links.count(link), 1u);
    EXPECT_EQ(reg.Dump(), before);

    // Removing the shortcut is carried out all the same.
    choices = SettingsChoices{};
    choices.removeSendTo = true;
    choices.fullRemoval = true;  // full removal is not even asked for
    outcome = Ok();
    EXPECT_EQ(outcome.message, msg::NeedAdministrator());
    EXPECT_TRUE(shell.files.empty());
    EXPECT_TRUE(questions.empty());
    EXPECT_EQ(reg.Dump(), before);
}

TEST_F(SettingsOkAction, FailedWriteStopsTheActionAndTheWindowStays)
{
    choices.harvestLogs = false;  // writes NoLog
    choices.ext = " bat ";
    reg.FailWrites("NoLog");
    SettingsOutcome outcome = Ok();
    EXPECT_EQ(outcome.error, "Failed to set data for 'NoLog'");
    EXPECT_FALSE(outcome.message);
    EXPECT_FALSE(outcome.terminate);
    EXPECT_EQ(outcome.ext, "###");  // already put back before the writes
    EXPECT_EQ(Setting("Ext")->data, "###");
    EXPECT_FALSE(Setting("NoLog"));
    EXPECT_FALSE(Setting("Strlog"));  // nothing after the failure
}

TEST_F(SettingsOkAction, FailedContextMenuRegistrationSavesNoSettings)
{
    choices.installSendTo = true;
    choices.registerContextMenu = true;
    reg.RefuseOpen(RootKey::LocalMachine, kServerKey);
    SettingsOutcome outcome = Ok();
    EXPECT_EQ(outcome.error, "Failed to set data for 'ThreadingModel'");
    EXPECT_FALSE(outcome.terminate);
    EXPECT_FALSE(outcome.ext);
    EXPECT_EQ(reg.Value(RootKey::LocalMachine, kClassKey, "")->data, "Glossira");
    EXPECT_FALSE(reg.KeyExists(RootKey::LocalMachine, kSettings));
    EXPECT_EQ(shell.links.count(link), 1u);  // done before the failure
}

TEST_F(SettingsOkAction, ContextMenuForTheCurrentUserAloneIsSaidInTheConfirmation)
{
    choices.registerContextMenu = true;
    shell.access[kProgramDir] = AccessList{"S-1-5-32-544", false, {{true, "S-1-5-32-545", 0x1301BF}}};
    SettingsOutcome outcome = Ok();
    EXPECT_EQ(outcome.message, FromUtf8("Установки сохранены\r\n\r\nКонтекстное меню установлено только для "
                                        "текущего пользователя: папку программы могут изменить и другие "
                                        "пользователи"));
    EXPECT_TRUE(outcome.terminate);
    EXPECT_TRUE(reg.KeyExists(RootKey::CurrentUser, kServerKey));
    EXPECT_FALSE(reg.KeyExists(RootKey::LocalMachine, kServerKey));
}

// Opening a comment would run the program: from a folder ordinary users may
// change, the file type is this user's alone.
TEST_F(SettingsOkAction, FileTypeFromAFolderOrdinaryUsersMayChangeIsTheCurrentUsers)
{
    choices.associate = true;
    shell.access[kProgramDir] = AccessList{"S-1-5-32-544", false, {{true, "S-1-1-0", 0x1301BF}}};
    EXPECT_TRUE(Ok().terminate);
    EXPECT_EQ(reg.Value(RootKey::CurrentUser, "Software\\Classes\\.txt", "")->data, "GlossiraFile");
    EXPECT_TRUE(reg.KeyExists(RootKey::CurrentUser, "Software\\Classes\\GlossiraFile\\shell\\open\\command"));
    EXPECT_FALSE(reg.KeyExists(RootKey::LocalMachine, "Software\\Classes\\GlossiraFile"));
}

TEST_F(SettingsOkAction, SettingsKeyThatCannotBeCreatedFailsOnExt)
{
    reg.RefuseOpen(RootKey::LocalMachine, "Software\\Orvik");
    SettingsOutcome outcome = Ok();
    EXPECT_EQ(outcome.error, "Failed to set data for 'Ext'");
    EXPECT_FALSE(outcome.terminate);
}

// Types Windows itself needs are refused with or without their full stop,
// and so is a text that would name another key than an extension's.
TEST_F(SettingsOkAction, ExtensionIsTrimmedAndSystemTypesBecomeHashes)
{
    const std::pair<const char*, const char*> cases[] = {
        {"exe", "###"},        {" Exe ", "###"},     {"bat", "###"},       {"cOm", "###"},     {"", "###"},
        {"   ", "###"},        {"exe1", "exe1"},     {".exe", "###"},      {" log ", "log"},   {"t t", "t t"},
        {"lnk", "###"},        {".LNK", "###"},      {"Library-ms", "###"}, {"ps1", "###"},    {"..lnk", "..lnk"},
        {"txt\\shell", "###"}, {"a/b", "###"},       {".txt", ".txt"},
    };
    for (const auto& [typed, saved] : cases) {
        choices.ext = typed;
        SettingsOutcome outcome = Ok();
        EXPECT_EQ(outcome.ext, saved) << '"' << typed << '"';
        EXPECT_EQ(Setting("Ext")->data, saved) << '"' << typed << '"';
        EXPECT_EQ(Setting("Ext")->type, ValueType::String);
    }
    EXPECT_EQ(SavedExtension(FromUtf8(" тхт ")), FromUtf8("тхт"));
}

TEST_F(SettingsOkAction, AssociationIsMadeForTheSavedExtension)
{
    choices.associate = true;
    choices.ext = " EXE";
    EXPECT_TRUE(Ok().terminate);
    EXPECT_EQ(reg.Value(RootKey::LocalMachine, "Software\\Classes\\.###", "")->data, "GlossiraFile");
    EXPECT_EQ(reg.Value(RootKey::LocalMachine, "Software\\Classes\\GlossiraFile", "")->data, "Glossira Document");
    EXPECT_EQ(reg.Value(RootKey::LocalMachine, "Software\\Classes\\GlossiraFile\\shell\\open\\command", "")->data,
              "\"C:\\Tools\\glossira.exe\" \"%1\"");
    EXPECT_FALSE(reg.KeyExists(RootKey::LocalMachine, "Software\\Classes\\.exe"));
    EXPECT_FALSE(reg.KeyExists(RootKey::LocalMachine, "Software\\Classes\\. EXE"));

    MemoryRegistry plain;
    plain.SetString(RootKey::LocalMachine, kProbeKey, "x", "y");
    InstallContext second{plain, shell, kProgramDir, kExe};
    choices.associate = false;
    ScriptedDialogs dialogs(true);
    SettingsOk(choices, second, dialogs);
    EXPECT_FALSE(plain.KeyExists(RootKey::LocalMachine, "Software\\Classes\\GlossiraFile"));
}

TEST_F(SettingsOkAction, FlagsAreWrittenAsOneOrDeletedAndReadBack)
{
    choices.harvestLogs = false;
    choices.harvestLogPath = true;
    choices.firstLineOnly = false;
    choices.zoneInfo = true;
    choices.logNames = " a.log;b.log ";
    choices.logPath = "\"C:\\My Logs\\x.log\"";
    Ok();
    for (const char* flag : {"NoLog", "LogPath", "NoOneStr", "ZoneInfo"}) {
        auto value = Setting(flag);
        ASSERT_TRUE(value) << flag;
        EXPECT_EQ(value->type, ValueType::DWord) << flag;
        EXPECT_EQ(value->data, std::string("\x01\x00\x00\x00", 4)) << flag;
    }
    EXPECT_EQ(Setting("Strlog")->data, " a.log;b.log ");
    EXPECT_EQ(Setting("PathStrLog")->data, "C:\\My Logs\\x.log");
    Settings read = LoadSettings(reg);
    EXPECT_TRUE(read.NoLog);
    EXPECT_TRUE(read.LogPath);
    EXPECT_TRUE(read.NoOneStr);
    EXPECT_TRUE(read.ZoneInfo);
    EXPECT_EQ(read.PathStrLog, "C:\\My Logs\\x.log");

    choices = SettingsChoices{};
    Ok();
    for (const char* flag : {"NoLog", "LogPath", "NoOneStr", "ZoneInfo"}) EXPECT_FALSE(Setting(flag)) << flag;
    read = LoadSettings(reg);
    EXPECT_FALSE(read.NoLog || read.LogPath || read.NoOneStr || read.ZoneInfo);
}

TEST_F(SettingsOkAction, FullRemovalWritesNoSettings)
{
    reg.SetString(RootKey::LocalMachine, kClassKey, "", "Glossira");
    shell.files.insert(kProgramDir + "unins000.exe");
    choices.fullRemoval = true;
    choices.ext = "exe";
    const std::string before = reg.Dump();

    SettingsOutcome declined = Ok(false);
    EXPECT_FALSE(declined.terminate);
    EXPECT_FALSE(declined.message || declined.error || declined.ext);
    EXPECT_EQ(questions.size(), 1u);
    EXPECT_EQ(reg.Dump(), before);

    SettingsOutcome removed = Ok(true);
    EXPECT_TRUE(removed.terminate);
    EXPECT_FALSE(removed.message || removed.error || removed.ext);
    EXPECT_EQ(informed, std::vector<std::string>{msg::AppTitle() + "|" + msg::RemovedAfterReboot()});
    EXPECT_FALSE(reg.KeyExists(RootKey::LocalMachine, kClassKey));
    EXPECT_TRUE(reg.Value(RootKey::LocalMachine, kRunOnceKey, "glossira"));
    EXPECT_FALSE(reg.KeyExists(RootKey::LocalMachine, kSettings));
}

TEST(SettingsInterlock, OpposingBoxesExcludeEachOtherAndFullRemovalExcludesAll)
{
    using C = SettingsChoices;
    const ChoiceBox group[] = {&C::installSendTo, &C::registerContextMenu, &C::removeSendTo,
                               &C::unregisterContextMenu, &C::fullRemoval};
    auto unchecks = [](ChoiceBox by, ChoiceBox box) {
        for (ChoiceBox b : BoxesUncheckedBy(by))
            if (b == box) return true;
        return false;
    };
    for (ChoiceBox box : group) {
        EXPECT_FALSE(unchecks(box, box));
        for (ChoiceBox other : group) EXPECT_EQ(unchecks(box, other), unchecks(other, box));
    }
    EXPECT_EQ(BoxesUncheckedBy(&C::fullRemoval).size(), 4u);
    EXPECT_TRUE(unchecks(&C::installSendTo, &C::removeSendTo));
    EXPECT_TRUE(unchecks(&C::registerContextMenu, &C::unregisterContextMenu));
    EXPECT_FALSE(unchecks(&C::installSendTo, &C::registerContextMenu));
    for (ChoiceBox outside : {&C::harvestLogs, &C::harvestLogPath, &C::firstLineOnly, &C::zoneInfo, &C::associate})
        EXPECT_TRUE(BoxesUncheckedBy(outside).empty());
}

TEST(SettingsWindowChoices, SavedSettingsShowAsTheyWereAndSaveBackUnchanged)
{
    Settings saved;
    saved.NoLog = true;
    saved.NoOneStr = true;
    saved.ZoneInfo = true;
    saved.Ext = "kmt";
    saved.Strlog = "a.log;";
    saved.PathStrLog = "C:\\x.log";
    const SettingsChoices shown = ChoicesFor(saved);
    EXPECT_FALSE(shown.harvestLogs);
    EXPECT_FALSE(shown.harvestLogPath);
    EXPECT_FALSE(shown.firstLineOnly);
    EXPECT_FALSE(shown.installSendTo || shown.registerContextMenu || shown.removeSendTo ||
                 shown.unregisterContextMenu || shown.fullRemoval || shown.associate);

    MemoryRegistry reg;
    SaveSettings(reg, shown, shown.ext, kExe);
    const Settings read = LoadSettings(reg);
    EXPECT_EQ(read.NoLog, saved.NoLog);
    EXPECT_EQ(read.LogPath, saved.LogPath);
    EXPECT_EQ(read.NoOneStr, saved.NoOneStr);
    EXPECT_EQ(read.ZoneInfo, saved.ZoneInfo);
    EXPECT_EQ(read.Ext, saved.Ext);
    EXPECT_EQ(read.Strlog, saved.Strlog);
    EXPECT_EQ(read.PathStrLog, saved.PathStrLog);
}
