// The in-memory registry: the shared contract, and what only the double can
// show (the order of deletions, refusals a test user cannot meet on Wine).
#include <gtest/gtest.h>

#include "core/cp1251.h"
#include "shell/registry_memory.h"
#include "unit/registry_contract.h"

using namespace glossira;
using glossira::ErrorOf;

namespace {

class MemoryWorld final : public contract::RegistryWorld {
public:
    RegistryBackend& Backend() override { return registry_; }
    std::string Scratch() const override { return "Software\\GlossiraTest\\scratch"; }
    void Clean() override {}  // every test gets a new registry

private:
    MemoryRegistry registry_;
};

const contract::WorldMaker kMemory{"Memory", [] { return std::make_unique<MemoryWorld>(); }};

}  // namespace

namespace glossira::contract {
INSTANTIATE_TEST_SUITE_P(Memory, RegistryContract, testing::Values(kMemory), WorldName);
}

TEST(MemoryRegistry, DeletesEachLevelFromItsLastSubkeyToItsFirst)
{
    MemoryRegistry registry;
    for (const char* path : {"t\\b\\c", "t\\b\\d", "t\\e", "t\\a\\x"}) registry.SetString(RootKey::CurrentUser, path, "", "");
    registry.SetString(RootKey::CurrentUser, "other", "", "");
    RegistryStore store(registry);
    EXPECT_TRUE(store.DeleteKey("t"));
    EXPECT_EQ(registry.DeletedKeys(), (std::vector<std::string>{
                                          "HKEY_CURRENT_USER\\t\\e",
                                          "HKEY_CURRENT_USER\\t\\b\\d",
                                          "HKEY_CURRENT_USER\\t\\b\\c",
                                          "HKEY_CURRENT_USER\\t\\b",
                                          "HKEY_CURRENT_USER\\t\\a\\x",
                                          "HKEY_CURRENT_USER\\t\\a",
                                          "HKEY_CURRENT_USER\\t",
                                      }));
    EXPECT_EQ(registry.Dump(), "HKEY_CURRENT_USER\\other\n  @ = REG_SZ \"\"\n");
}

TEST(MemoryRegistry, LimitedAccessRefusesFullOpensButAllowsReading)
{
    MemoryRegistry registry;
    registry.SetString(RootKey::LocalMachine, "Software\\Orvik\\Glossira", "Ext", "doc");
    registry.LimitAccess(RootKey::LocalMachine, "SOFTWARE", kKeyRead);

    RegistryStore full(registry);
    full.SetRoot(RootKey::LocalMachine);
    EXPECT_FALSE(full.OpenKey("Software\\Orvik\\Glossira", false));
    EXPECT_FALSE(full.OpenKey("Software\\Orvik\\New", true));
    EXPECT_FALSE(registry.KeyExists(RootKey::LocalMachine, "Software\\Orvik\\New"));
    EXPECT_EQ(ErrorOf([&] { full.WriteSectionString("\\Software\\x", "n", "v"); }), "Failed to create key \\Software\\x");
    EXPECT_FALSE(full.DeleteKey("Software\\Orvik"));
    EXPECT_TRUE(registry.KeyExists(RootKey::LocalMachine, "Software\\Orvik\\Glossira"));

    RegistryStore read(registry, kKeyRead);
    read.SetRoot(RootKey::LocalMachine);
    ASSERT_TRUE(read.OpenKey("Software\\Orvik\\Glossira", false));
    EXPECT_EQ(read.ReadString("Ext"), "doc");

    // Other roots and keys beside the limited one are not affected.
    full.SetRoot(RootKey::CurrentUser);
    EXPECT_TRUE(full.OpenKey("Software\\Orvik", true));
    full.SetRoot(RootKey::LocalMachine);
    EXPECT_TRUE(full.OpenKey("System", true));
}

TEST(MemoryRegistry, RefusedOpenFailsForEveryMask)
{
    MemoryRegistry registry;
    registry.SetString(RootKey::ClassesRoot, "GlossiraFile\\shell\\open\\command", "", "x");
    registry.RefuseOpen(RootKey::ClassesRoot, "glossirafile\\shell");
    EXPECT_EQ(registry.Open(RootKey::ClassesRoot, "GlossiraFile\\shell\\open\\command", false, kKeyRead), nullptr);
    EXPECT_EQ(registry.Open(RootKey::ClassesRoot, "GlossiraFile\\shell", false, 0x1), nullptr);
    EXPECT_NE(registry.Open(RootKey::ClassesRoot, "GlossiraFile", false, kKeyAllAccess), nullptr);
    registry.ClearFailures();
    EXPECT_NE(registry.Open(RootKey::ClassesRoot, "GlossiraFile\\shell", false, kKeyAllAccess), nullptr);
}

TEST(MemoryRegistry, WritesFailOnDemand)
{
    MemoryRegistry registry;
    RegistryStore store(registry);
    ASSERT_TRUE(store.OpenKey("k", true));
    registry.FailWrites("colortext");
    store.WriteInteger("ColorBack", 1);
    EXPECT_EQ(ErrorOf([&] { store.WriteInteger("ColorText", 2); }), "Failed to set data for 'ColorText'");
    EXPECT_EQ(ErrorOf([&] { store.WriteSectionString("s", "ColorText", "x"); }), "Failed to set data for 'ColorText'");
    EXPECT_FALSE(registry.Value(RootKey::CurrentUser, "k", "ColorText"));
    registry.FailAllWrites();
    EXPECT_EQ(ErrorOf([&] { store.WriteString("", "x"); }), "Failed to set data for ''");
    registry.ClearFailures();
    store.WriteString("", "x");
    EXPECT_EQ(registry.Value(RootKey::CurrentUser, "k", "")->data, "x");
}

TEST(MemoryRegistry, HandleOfADeletedKeyNoLongerWorks)
{
    MemoryRegistry registry;
    RegistryStore store(registry);
    ASSERT_TRUE(store.OpenKey("a\\b", true));
    RegistryStore other(registry);
    ASSERT_TRUE(other.DeleteKey("a"));
    EXPECT_EQ(ErrorOf([&] { store.WriteString("v", "x"); }), "Failed to set data for 'v'");
    EXPECT_FALSE(registry.KeyExists(RootKey::CurrentUser, "a"));
}

TEST(MemoryRegistry, MalformedPathsOpenNothing)
{
    MemoryRegistry registry;
    EXPECT_EQ(registry.Open(RootKey::CurrentUser, "a\\\\b", true, kKeyAllAccess), nullptr);
    EXPECT_EQ(registry.Open(RootKey::CurrentUser, "\\a", true, kKeyAllAccess), nullptr);
    EXPECT_EQ(registry.Dump(), "");
    EXPECT_NE(registry.Open(RootKey::CurrentUser, "a\\", true, kKeyAllAccess), nullptr);
    EXPECT_EQ(registry.SubKeyNames(RootKey::CurrentUser, ""), std::vector<std::string>{"a"});
}

TEST(MemoryRegistry, DumpShowsKeysAndTypedValuesInOrder)
{
    MemoryRegistry registry;
    registry.SetString(RootKey::LocalMachine, "Software\\Orvik\\Glossira", "Ext", "txt");
    registry.SetDWord(RootKey::LocalMachine, "Software\\Orvik\\Glossira", "ColorBack", 0xFFFFFF);
    registry.Set(RootKey::ClassesRoot, ".txt", "b", RegistryValue{ValueType::Binary, "\x01\xAB"});
    registry.SetString(RootKey::ClassesRoot, ".txt", "", FromUtf8("Текст"));
    registry.SetString(RootKey::LocalMachine, "Software\\orvik\\GLOSSIRA", "EXT", "doc");
    EXPECT_EQ(registry.Dump(), "HKEY_CLASSES_ROOT\\.txt\n"
                               "  b = REG_BINARY 01 AB\n"
                               "  @ = REG_SZ \"" + FromUtf8("Текст") + "\"\n"
                               "HKEY_LOCAL_MACHINE\\Software\n"
                               "HKEY_LOCAL_MACHINE\\Software\\Orvik\n"
                               "HKEY_LOCAL_MACHINE\\Software\\Orvik\\Glossira\n"
                               "  Ext = REG_SZ \"doc\"\n"
                               "  ColorBack = REG_DWORD 0x00FFFFFF\n");
}
