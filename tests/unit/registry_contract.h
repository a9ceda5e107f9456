// What every RegistryBackend must do, seen through RegistryStore. Included by
// exactly one test file per executable, which instantiates RegistryContract
// with its backends:
//   INSTANTIATE_TEST_SUITE_P(Memory, RegistryContract, testing::Values(MakeWorld), WorldName);
// Each test works in a scratch key of HKEY_CURRENT_USER that the world
// empties before and after it.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/cp1251.h"
#include "core/error.h"
#include "error_of.h"
#include "shell/registry_store.h"

namespace glossira::contract {

class RegistryWorld {
public:
    virtual ~RegistryWorld() = default;
    virtual RegistryBackend& Backend() = 0;
    // HKEY_CURRENT_USER path of the scratch key, without a leading backslash.
    virtual std::string Scratch() const = 0;
    // Removes the scratch key with everything below it.
    virtual void Clean() = 0;
};

struct WorldMaker {
    std::string name;
    std::function<std::unique_ptr<RegistryWorld>()> make;
};

inline std::string WorldName(const testing::TestParamInfo<WorldMaker>& info) { return info.param.name; }
inline void PrintTo(const WorldMaker& maker, std::ostream* os) { *os << maker.name; }

class RegistryContract : public testing::TestWithParam<WorldMaker> {
protected:
    void SetUp() override
    {
        world_ = GetParam().make();
        world_->Clean();
        scratch_ = world_->Scratch();
    }
    void TearDown() override
    {
        if (world_) world_->Clean();
    }

    RegistryBackend& Backend() { return world_->Backend(); }
    // A full-access store whose current key is the scratch key.
    std::unique_ptr<RegistryStore> AtScratch(std::uint32_t access = kKeyAllAccess)
    {
        auto store = std::make_unique<RegistryStore>(Backend(), access);
        store->SetRoot(RootKey::CurrentUser);
        EXPECT_TRUE(store->OpenKey("\\" + scratch_, true));
        return store;
    }
    bool KeyExists(const std::string& relative)
    {
        return Backend().Open(RootKey::CurrentUser, scratch_ + "\\" + relative, false, kKeyRead) != nullptr;
    }
    std::vector<std::string> SubKeysOf(const std::string& relative)
    {
        auto key = Backend().Open(RootKey::CurrentUser, relative.empty() ? scratch_ : scratch_ + "\\" + relative,
                                  false, kKeyRead);
        return key ? Backend().SubKeys(*key) : std::vector<std::string>{"<missing>"};
    }
    void WriteRaw(const std::string& name, ValueType type, const std::string& data)
    {
        auto key = Backend().Open(RootKey::CurrentUser, scratch_, true, kKeyAllAccess);
        ASSERT_TRUE(key);
        ASSERT_TRUE(Backend().Write(*key, name, RegistryValue{type, data}));
    }

    std::unique_ptr<RegistryWorld> world_;
    std::string scratch_;
};

TEST_P(RegistryContract, KeyNamesAreCaseBlindAndKeepTheirCase)
{
    auto store = AtScratch();
    ASSERT_TRUE(store->OpenKey("Mixed\\Case", true));
    store->WriteString("Value", "one");
    ASSERT_TRUE(store->OpenKey("\\" + scratch_ + "\\MIXED\\case", false));
    EXPECT_EQ(store->ReadString("VALUE"), "one");
    EXPECT_TRUE(store->ValueExists("value"));
    // Creating it again in other letters opens the same key.
    ASSERT_TRUE(store->OpenKey("\\" + scratch_ + "\\mixed", true));
    EXPECT_EQ(SubKeysOf(""), std::vector<std::string>{"Mixed"});
    EXPECT_EQ(SubKeysOf("mixed"), std::vector<std::string>{"Case"});
}

TEST_P(RegistryContract, CyrillicNamesAreCaseBlindAndRoundTrip)
{
    const std::string key = FromUtf8("Ключ Ёлки");
    const std::string name = FromUtf8("Имя");
    const std::string text = FromUtf8("Текст «с кавычками» №1");
    auto store = AtScratch();
    ASSERT_TRUE(store->OpenKey(key, true));
    store->WriteString(name, text);
    ASSERT_TRUE(store->OpenKey("\\" + scratch_ + "\\" + FromUtf8("КЛЮЧ Ёлки"), false));
    EXPECT_EQ(store->ReadString(FromUtf8("ИМЯ")), text);
    EXPECT_EQ(SubKeysOf(""), std::vector<std::string>{key});
}

TEST_P(RegistryContract, SubKeysAreEnumeratedInNameOrder)
{
    auto store = AtScratch();
    for (const char* name : {"b", "C", "a", "B2"}) {
        ASSERT_TRUE(store->OpenKey("\\" + scratch_ + "\\" + name, true));
    }
    EXPECT_EQ(SubKeysOf(""), (std::vector<std::string>{"a", "b", "B2", "C"}));
}

TEST_P(RegistryContract, DefaultValueIsTheEmptyName)
{
    auto store = AtScratch();
    ASSERT_TRUE(store->OpenKey("k", true));
    EXPECT_FALSE(store->ValueExists(""));
    EXPECT_EQ(store->ReadString(""), "");
    store->WriteString("", "default");
    EXPECT_TRUE(store->ValueExists(""));
    EXPECT_EQ(store->ReadString(""), "default");
    EXPECT_FALSE(store->ValueExists("default"));
    store->WriteString("other", "x");
    EXPECT_EQ(store->ValueCount(), 2u);  // the default value counts once it is set
    EXPECT_TRUE(store->DeleteValue(""));
    EXPECT_FALSE(store->ValueExists(""));
    EXPECT_EQ(store->ValueCount(), 1u);
}

TEST_P(RegistryContract, ReadStringTakesTextUpToItsFirstNul)
{
    auto store = AtScratch();
    store->WriteString("empty", "");
    EXPECT_TRUE(store->ValueExists("empty"));
    EXPECT_EQ(store->ReadString("empty"), "");
    EXPECT_EQ(store->ReadString("missing"), "");
    store->WriteString("nul", std::string("ab\0cd", 5));
    EXPECT_EQ(store->ReadString("nul"), "ab");
    WriteRaw("expand", ValueType::ExpandString, "%TEMP%\\x");
    EXPECT_EQ(store->ReadString("expand"), "%TEMP%\\x");  // never expanded
    // Without data any type reads as empty text.
    WriteRaw("nodata", ValueType::Binary, "");
    EXPECT_EQ(store->ReadString("nodata"), "");
}

TEST_P(RegistryContract, ReadStringOfAnotherTypeFails)
{
    auto store = AtScratch();
    store->WriteInteger("Ext", 5);
    WriteRaw("bin", ValueType::Binary, "\x01\x02");
    WriteRaw("multi", ValueType::MultiString, std::string("a\0\0\0\0\0", 6));
    EXPECT_EQ(ErrorOf([&] { store->ReadString("Ext"); }), "Invalid data type for 'Ext'");
    EXPECT_EQ(ErrorOf([&] { store->ReadString("bin"); }), "Invalid data type for 'bin'");
    EXPECT_EQ(ErrorOf([&] { store->ReadString("multi"); }), "Invalid data type for 'multi'");
}

TEST_P(RegistryContract, IntegersAndBoolsAreDWords)
{
    auto store = AtScratch();
    store->WriteInteger("n", -1);
    store->WriteInteger("colour", 0x00FFFFFF);
    store->WriteBool("yes", true);
    store->WriteBool("no", false);
    EXPECT_EQ(store->ReadInteger("n"), -1);
    EXPECT_EQ(store->ReadInteger("COLOUR"), 0x00FFFFFF);
    EXPECT_EQ(store->ReadInteger("yes"), 1);
    EXPECT_EQ(store->ReadInteger("no"), 0);
    auto key = Backend().Open(RootKey::CurrentUser, scratch_, false, kKeyRead);
    ASSERT_TRUE(key);
    auto raw = Backend().Read(*key, "colour");
    ASSERT_TRUE(raw);
    EXPECT_EQ(raw->type, ValueType::DWord);
    EXPECT_EQ(raw->data, std::string("\xFF\xFF\xFF\x00", 4));
}

TEST_P(RegistryContract, ReadIntegerFailsWhenMissingOrOfAnotherType)
{
    auto store = AtScratch();
    store->WriteString("ColorBack", "16777215");
    WriteRaw("qword", ValueType::QWord, std::string(8, '\0'));
    EXPECT_EQ(ErrorOf([&] { store->ReadInteger("ColorText"); }), "Failed to get data for 'ColorText'");
    EXPECT_EQ(ErrorOf([&] { store->ReadInteger("ColorBack"); }), "Invalid data type for 'ColorBack'");
    EXPECT_EQ(ErrorOf([&] { store->ReadInteger("qword"); }), "Invalid data type for 'qword'");
}

TEST_P(RegistryContract, WithoutACurrentKeyReadsAreEmptyAndWritesFail)
{
    RegistryStore store(Backend());
    store.SetRoot(RootKey::CurrentUser);
    EXPECT_FALSE(store.HasCurrentKey());
    EXPECT_EQ(ErrorOf([&] { store.WriteString("Ext", "txt"); }), "Failed to set data for 'Ext'");
    EXPECT_EQ(ErrorOf([&] { store.WriteInteger("ColorBack", 0); }), "Failed to set data for 'ColorBack'");
    EXPECT_EQ(ErrorOf([&] { store.WriteBool("NoLog", true); }), "Failed to set data for 'NoLog'");
    EXPECT_FALSE(store.ValueExists("x"));
    EXPECT_EQ(store.ReadString("x"), "");
    EXPECT_EQ(ErrorOf([&] { store.ReadInteger("x"); }), "Failed to get data for 'x'");
    EXPECT_FALSE(store.DeleteValue("x"));

    // SetRoot closes the current key.
    auto open = AtScratch();
    open->SetRoot(RootKey::CurrentUser);
    EXPECT_FALSE(open->HasCurrentKey());
    EXPECT_EQ(ErrorOf([&] { open->WriteString("x", "y"); }), "Failed to set data for 'x'");
}

TEST_P(RegistryContract, ReadOnlyStoreReadsButCannotWrite)
{
    AtScratch()->WriteString("Ext", "doc");
    auto store = AtScratch(kKeyRead);
    EXPECT_EQ(store->ReadString("Ext"), "doc");
    EXPECT_EQ(ErrorOf([&] { store->WriteString("Ext", "txt"); }), "Failed to set data for 'Ext'");
    EXPECT_FALSE(store->DeleteValue("Ext"));
    EXPECT_EQ(store->ReadString("Ext"), "doc");
}

TEST_P(RegistryContract, DeleteValueOfAMissingValueIsNoError)
{
    auto store = AtScratch();
    store->WriteBool("NoLog", true);
    EXPECT_TRUE(store->DeleteValue("nolog"));
    EXPECT_FALSE(store->ValueExists("NoLog"));
    EXPECT_FALSE(store->DeleteValue("NoLog"));
}

TEST_P(RegistryContract, PathsAreRelativeToTheCurrentKeyUnlessTheyStartWithABackslash)
{
    auto store = AtScratch();
    ASSERT_TRUE(store->OpenKey("a", true));
    EXPECT_EQ(store->CurrentPath(), scratch_ + "\\a");
    ASSERT_TRUE(store->OpenKey("b", true));
    EXPECT_EQ(store->CurrentPath(), scratch_ + "\\a\\b");
    ASSERT_TRUE(store->OpenKey("\\" + scratch_ + "\\c", true));
    EXPECT_EQ(store->CurrentPath(), scratch_ + "\\c");
    EXPECT_TRUE(KeyExists("a\\b"));
    EXPECT_TRUE(KeyExists("c"));
    EXPECT_FALSE(KeyExists("a\\b\\c"));

    // Without a current key a relative path starts at the root.
    RegistryStore fresh(Backend());
    fresh.SetRoot(RootKey::CurrentUser);
    ASSERT_TRUE(fresh.OpenKey(scratch_ + "\\a", false));
    EXPECT_EQ(fresh.CurrentPath(), scratch_ + "\\a");
}

TEST_P(RegistryContract, FailedOpenKeepsTheCurrentKey)
{
    auto store = AtScratch();
    ASSERT_TRUE(store->OpenKey("a", true));
    EXPECT_FALSE(store->OpenKey("missing", false));
    EXPECT_FALSE(KeyExists("a\\missing"));
    EXPECT_EQ(store->CurrentPath(), scratch_ + "\\a");
    store->WriteString("still", "here");
    EXPECT_EQ(store->ReadString("still"), "here");
}

TEST_P(RegistryContract, DeleteKeyRemovesNestedSubkeysDepthFirst)
{
    auto store = AtScratch();
    for (const char* path : {"t\\b\\c", "t\\b\\d\\deep", "t\\e", "t\\a", "keep"}) {
        ASSERT_TRUE(store->OpenKey("\\" + scratch_ + "\\" + path, true));
        store->WriteString("v", path);
    }
    // A key with subkeys cannot be deleted on its own.
    {
        auto scratch = Backend().Open(RootKey::CurrentUser, scratch_, false, kKeyAllAccess);
        ASSERT_TRUE(scratch);
        EXPECT_FALSE(Backend().DeleteSubKey(*scratch, "t"));
    }
    ASSERT_TRUE(store->OpenKey("\\" + scratch_, false));
    EXPECT_TRUE(store->DeleteKey("T"));
    EXPECT_FALSE(KeyExists("t"));
    EXPECT_EQ(SubKeysOf(""), std::vector<std::string>{"keep"});
    EXPECT_EQ(store->CurrentPath(), scratch_);
    EXPECT_FALSE(store->DeleteKey("t"));
    EXPECT_FALSE(store->DeleteKey("never"));
}

TEST_P(RegistryContract, DeleteKeyWithABackslashStartsAtTheRoot)
{
    auto store = AtScratch();
    ASSERT_TRUE(store->OpenKey("x\\y", true));
    ASSERT_TRUE(store->OpenKey("\\" + scratch_ + "\\x", false));
    // Relative: "y" below the current key x.
    EXPECT_TRUE(store->DeleteKey("y"));
    EXPECT_FALSE(KeyExists("x\\y"));
    ASSERT_TRUE(store->OpenKey("y\\z", true));
    ASSERT_TRUE(store->OpenKey("\\" + scratch_ + "\\x", false));
    EXPECT_FALSE(store->DeleteKey("x"));  // no x\x
    EXPECT_TRUE(store->DeleteKey("\\" + scratch_ + "\\x"));
    EXPECT_FALSE(KeyExists("x"));
    EXPECT_FALSE(store->DeleteKey(""));
    EXPECT_FALSE(store->DeleteKey("\\"));
}

TEST_P(RegistryContract, SectionWriteCreatesTheKeyAndKeepsTheCurrentOne)
{
    auto store = AtScratch();
    ASSERT_TRUE(store->OpenKey("current", true));
    store->WriteSectionString("section\\inner", "name", "text");
    EXPECT_EQ(store->CurrentPath(), scratch_ + "\\current");
    EXPECT_FALSE(store->ValueExists("name"));
    store->WriteString("after", "1");  // the current key still works

    store->WriteSectionString("\\" + scratch_ + "\\top", "", "root-relative");
    EXPECT_EQ(store->CurrentPath(), scratch_ + "\\current");

    RegistryStore check(Backend());
    check.SetRoot(RootKey::CurrentUser);
    ASSERT_TRUE(check.OpenKey(scratch_ + "\\current\\section\\inner", false));
    EXPECT_EQ(check.ReadString("name"), "text");
    ASSERT_TRUE(check.OpenKey("\\" + scratch_ + "\\top", false));
    EXPECT_EQ(check.ReadString(""), "root-relative");
    ASSERT_TRUE(check.OpenKey("\\" + scratch_ + "\\current", false));
    EXPECT_EQ(check.ReadString("after"), "1");
}

TEST_P(RegistryContract, ClosedAndFreedStoresLeaveTheValuesWritten)
{
    {
        auto store = AtScratch();
        store->WriteString("kept", "yes");
        store->CloseKey();
        EXPECT_FALSE(store->HasCurrentKey());
        EXPECT_EQ(store->CurrentPath(), "");
    }
    EXPECT_EQ(AtScratch(kKeyRead)->ReadString("kept"), "yes");
}

}  // namespace glossira::contract
