// Settings read at start-up, the viewer's colours and the association repair,
// over the in-memory registry.
#include <gtest/gtest.h>

#include "core/error.h"
#include "error_of.h"
#include "shell/registry_memory.h"
#include "shell/settings_registry.h"

using namespace glossira;

namespace {

constexpr RootKey kLM = RootKey::LocalMachine;
constexpr RootKey kAssociationRoot = RootKey::LocalMachine;  // the classes by name
const char* const kCommand = "Software\\Classes\\GlossiraFile\\shell\\open\\command";

bool SameAsDefaults(const Settings& s)
{
    Settings d;
    return s.NoLog == d.NoLog && s.LogPath == d.LogPath && s.NoOneStr == d.NoOneStr && s.ZoneInfo == d.ZoneInfo &&
           s.Ext == d.Ext &&
           s.Strlog == d.Strlog && s.PathStrLog == d.PathStrLog && s.ColorBack == d.ColorBack &&
           s.ColorText == d.ColorText;
}

}  // namespace

TEST(LoadSettings, MissingOrRefusedKeyLeavesTheDefaults)
{
    MemoryRegistry registry;
    EXPECT_TRUE(SameAsDefaults(LoadSettings(registry)));
    registry.SetString(kLM, "Software\\Orvik\\Glossira", "Ext", "doc");
    registry.RefuseOpen(kLM, "Software\\Orvik");
    EXPECT_TRUE(SameAsDefaults(LoadSettings(registry)));
}

TEST(LoadSettings, ReadsEveryValueWithReadOnlyAccess)
{
    MemoryRegistry registry;
    const char* key = "Software\\Orvik\\Glossira";
    registry.SetString(kLM, key, "Ext", "ion");
    registry.SetString(kLM, key, "Strlog", "a.log;");
    registry.SetString(kLM, key, "PathStrLog", "C:\\logs\\x.log");
    registry.SetDWord(kLM, key, "ColorBack", 0x00112233);
    registry.SetDWord(kLM, key, "ColorText", 0x00FFFFFF);
    registry.SetDWord(kLM, key, "NoLog", 1);
    // A user without rights reads the machine settings all the same.
    registry.LimitAccess(kLM, "Software", kKeyRead);
    Settings s = LoadSettings(registry);
    EXPECT_TRUE(s.NoLog);
    EXPECT_FALSE(s.LogPath);
    EXPECT_FALSE(s.NoOneStr);
    EXPECT_EQ(s.Ext, "ion");
    EXPECT_EQ(s.Strlog, "a.log;");
    EXPECT_EQ(s.PathStrLog, "C:\\logs\\x.log");
    EXPECT_EQ(s.ColorBack, 0x00112233u);
    EXPECT_EQ(s.ColorText, 0x00FFFFFFu);
    EXPECT_TRUE(registry.KeyExists(kLM, key));
}

TEST(LoadSettings, FlagsCountByExistenceWhateverTheirTypeOrContent)
{
    MemoryRegistry registry;
    const char* key = "Software\\Orvik\\Glossira";
    registry.SetDWord(kLM, key, "nolog", 0);
    registry.SetString(kLM, key, "LogPath", "");
    registry.Set(kLM, key, "NoOneStr", RegistryValue{ValueType::Binary, ""});
    Settings s = LoadSettings(registry);
    EXPECT_TRUE(s.NoLog);
    EXPECT_TRUE(s.LogPath);
    EXPECT_TRUE(s.NoOneStr);
    EXPECT_FALSE(s.ZoneInfo);  // off unless it exists
    registry.SetString(kLM, key, "ZONEINFO", "0");
    EXPECT_TRUE(LoadSettings(registry).ZoneInfo);
}

TEST(LoadSettings, EmptyExtBecomesTxt)
{
    MemoryRegistry registry;
    registry.SetString(kLM, "Software\\Orvik\\Glossira", "Ext", "");
    registry.SetString(kLM, "Software\\Orvik\\Glossira", "Strlog", "");
    Settings s = LoadSettings(registry);
    EXPECT_EQ(s.Ext, "txt");
    EXPECT_EQ(s.Strlog, "");  // an empty log list stays empty
}

TEST(LoadSettings, WrongTypeFailsAndKeepsWhatWasReadBefore)
{
    MemoryRegistry registry;
    const char* key = "Software\\Orvik\\Glossira";
    registry.SetDWord(kLM, key, "NoLog", 1);
    registry.SetDWord(kLM, key, "Ext", 7);
    registry.SetString(kLM, key, "Strlog", "never.log;");
    Settings s;
    EXPECT_EQ(ErrorOf([&] { LoadSettings(registry, s); }), "Invalid data type for 'Ext'");
    EXPECT_TRUE(s.NoLog);
    EXPECT_EQ(s.Ext, "txt");
    EXPECT_EQ(s.Strlog, "reget.log;descript.ion;");

    registry.SetString(kLM, key, "Ext", "");
    registry.SetString(kLM, key, "ColorBack", "white");
    Settings t;
    EXPECT_EQ(ErrorOf([&] { LoadSettings(registry, t); }), "Invalid data type for 'ColorBack'");
    EXPECT_EQ(t.Strlog, "never.log;");
    EXPECT_EQ(t.Ext, "txt");  // never left empty, even after a failure
    EXPECT_EQ(ErrorOf([&] { LoadSettings(registry); }), "Invalid data type for 'ColorBack'");
}

TEST(RepairAssociation, QuotesTheWholeTextBeforeTheFirstQuote)
{
    MemoryRegistry registry;
    registry.SetString(kAssociationRoot, kCommand, "", "C:\\Tools\\glossira.exe %1");
    RepairAssociation(registry);
    EXPECT_EQ(registry.Value(kAssociationRoot, kCommand, "")->data, "\"C:\\Tools\\glossira.exe %1\" \"%1\"");

    registry.SetString(kAssociationRoot, kCommand, "", "  C:\\Program Files\\g.exe  \"%1\"");
    RepairAssociation(registry);
    EXPECT_EQ(registry.Value(kAssociationRoot, kCommand, "")->data, "\"C:\\Program Files\\g.exe\" \"%1\"");
    // Repaired once, left alone after.
    RepairAssociation(registry);
    EXPECT_EQ(registry.Value(kAssociationRoot, kCommand, "")->data, "\"C:\\Program Files\\g.exe\" \"%1\"");
}

TEST(RepairAssociation, LeavesQuotedEmptyAndMissingCommandsAlone)
{
    MemoryRegistry registry;
    RepairAssociation(registry);  // no key
    EXPECT_EQ(registry.Dump(), "");

    registry.SetString(kAssociationRoot, kCommand, "other", "x");  // key without default value
    RepairAssociation(registry);
    EXPECT_FALSE(registry.Value(kAssociationRoot, kCommand, ""));

    for (const char* command : {"\"C:\\g.exe\" \"%1\"", "", " \"C:\\g.exe\" \"%1\"", "   "}) {
        registry.SetString(kAssociationRoot, kCommand, "", command);
        RepairAssociation(registry);
        EXPECT_EQ(registry.Value(kAssociationRoot, kCommand, "")->data, command);
    }
}

TEST(RepairAssociation, NeedsFullAccessAndReportsAFailedWrite)
{
    MemoryRegistry registry;
    registry.SetString(kAssociationRoot, kCommand, "", "g.exe %1");
    registry.LimitAccess(kAssociationRoot, "Software\\Classes\\GlossiraFile", kKeyRead);
    RepairAssociation(registry);
    EXPECT_EQ(registry.Value(kAssociationRoot, kCommand, "")->data, "g.exe %1");

    registry.ClearFailures();
    registry.FailAllWrites();
    EXPECT_EQ(ErrorOf([&] { RepairAssociation(registry); }), "Failed to set data for ''");
}

TEST(SaveColors, CreatesTheKeyAndWritesBothColours)
{
    MemoryRegistry registry;
    SaveColors(registry, 0x00FFFFFF, 0x00800000);
    EXPECT_EQ(registry.Dump(), "HKEY_LOCAL_MACHINE\\Software\n"
                               "HKEY_LOCAL_MACHINE\\Software\\Orvik\n"
                               "HKEY_LOCAL_MACHINE\\Software\\Orvik\\Glossira\n"
                               "  ColorBack = REG_DWORD 0x00FFFFFF\n"
                               "  ColorText = REG_DWORD 0x00800000\n");
    Settings s = LoadSettings(registry);
    EXPECT_EQ(s.ColorBack, 0x00FFFFFFu);
    EXPECT_EQ(s.ColorText, 0x00800000u);
}

// Under UAC the machine's key is closed also to administrators: the colours
// are the user's own then, and win over the machine's at the next start.
TEST(SaveColors, WithoutMachineRightsTheUsersOwnColoursAreSavedAndWin)
{
    MemoryRegistry registry;
    const char* key = "Software\\Orvik\\Glossira";
    registry.SetDWord(kLM, key, "ColorBack", 1);
    registry.SetDWord(kLM, key, "ColorText", 2);
    registry.LimitAccess(kLM, "Software", kKeyRead);
    EXPECT_TRUE(SaveColors(registry, 3, 4));
    EXPECT_EQ(registry.Value(kLM, key, "ColorBack")->data, std::string("\x01\0\0\0", 4));
    EXPECT_EQ(registry.Value(RootKey::CurrentUser, key, "ColorBack")->data, std::string("\x03\0\0\0", 4));
    Settings s = LoadSettings(registry);
    EXPECT_EQ(s.ColorBack, 3u);
    EXPECT_EQ(s.ColorText, 4u);

    // Saved for the machine, the user's own colours no longer hide them.
    registry.ClearFailures();
    EXPECT_TRUE(SaveColors(registry, 5, 6));
    EXPECT_FALSE(registry.KeyExists(RootKey::CurrentUser, "Software\\Orvik"));
    s = LoadSettings(registry);
    EXPECT_EQ(s.ColorBack, 5u);
    EXPECT_EQ(s.ColorText, 6u);

    registry.FailWrites("ColorText");  // neither key takes both
    EXPECT_FALSE(SaveColors(registry, 7, 8));
    registry.ClearFailures();
    registry.SetString(RootKey::CurrentUser, key, "ColorText", "black");
    EXPECT_EQ(ErrorOf([&] { LoadSettings(registry); }), "Invalid data type for 'ColorText'");
}

TEST(LoadSettings, EveryValueOfAWrongTypeIsNamed)
{
    const char* key = "Software\\Orvik\\Glossira";
    const RegistryValue dword{ValueType::DWord, std::string("\x01\0\0\0", 4)};
    const RegistryValue qword{ValueType::QWord, std::string(8, '\x01')};
    const RegistryValue binary{ValueType::Binary, "\x01\x02"};
    const RegistryValue multi{ValueType::MultiString, std::string("a\0b\0", 4)};
    const RegistryValue text{ValueType::String, "white"};
    const RegistryValue none{ValueType::None, "x"};
    struct Case {
        const char* name;
        std::vector<RegistryValue> wrong;
    } cases[] = {{"Ext", {dword, qword, binary, multi, none}},
                 {"Strlog", {dword, qword, binary, multi, none}},
                 {"PathStrLog", {dword, qword, binary, multi, none}},
                 {"ColorBack", {text, qword, binary, multi, none, {ValueType::ExpandString, "1"}}},
                 {"ColorText", {text, qword, binary, multi, none, {ValueType::ExpandString, "1"}}}};
    for (const auto& c : cases) {
        for (const auto& value : c.wrong) {
            MemoryRegistry registry;
            registry.Set(kLM, key, c.name, value);
            EXPECT_EQ(ErrorOf([&] { LoadSettings(registry); }), std::string("Invalid data type for '") + c.name + "'")
                << c.name << " of type " << static_cast<int>(value.type);
        }
    }
    // A DWORD of the wrong length cannot be read as a colour either.
    MemoryRegistry registry;
    registry.Set(kLM, key, "ColorBack", RegistryValue{ValueType::DWord, "\x01\x02"});
    EXPECT_EQ(ErrorOf([&] { LoadSettings(registry); }), "Failed to get data for 'ColorBack'");
}

TEST(LoadSettings, OversizedAndExpandableStringsAreReadWhole)
{
    MemoryRegistry registry;
    const char* key = "Software\\Orvik\\Glossira";
    std::string huge;
    while (huge.size() < (1u << 20)) huge += "log" + std::to_string(huge.size()) + ".txt;";
    registry.SetString(kLM, key, "Strlog", huge);
    registry.Set(kLM, key, "PathStrLog", RegistryValue{ValueType::ExpandString, std::string("C:\\x.log\0junk", 13)});
    registry.SetString(kLM, key, "Ext", std::string(70000, 'e'));
    Settings s = LoadSettings(registry);
    EXPECT_EQ(s.Strlog, huge);
    EXPECT_EQ(s.PathStrLog, "C:\\x.log");  // up to the first NUL
    EXPECT_EQ(s.Ext.size(), 70000u);
}
