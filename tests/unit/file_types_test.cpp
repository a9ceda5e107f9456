// The comment files' type under HKEY_LOCAL_MACHINE\Software\Classes: what is
// written, what is kept of the class it replaces, and what removal gives back.
#include <gtest/gtest.h>

#include "core/error.h"
#include "error_of.h"
#include "shell/file_types.h"
#include "shell/registry_store.h"
#include "shell/registry_memory.h"

using namespace glossira;

namespace {

constexpr RootKey kLM = RootKey::LocalMachine;
const std::string kExe = "C:\\Program Files\\Tools\\glossira.exe";

std::string Value(MemoryRegistry& reg, RootKey root, const std::string& key, const char* name = "")
{
    auto v = reg.Value(root, "Software\\Classes\\" + key, name);
    return v ? v->data : "<missing>";
}

}  // namespace

TEST(RegisterFileType, WritesExtensionClassAndQuotedCommandByName)
{
    for (const char* ext : {"txt", ".txt"}) {
        MemoryRegistry reg;
        RegisterFileType(reg, ext, "GlossiraFile", "Glossira Document", kExe);
        EXPECT_EQ(reg.Dump(),
                  "HKEY_LOCAL_MACHINE\\Software\n"
                  "HKEY_LOCAL_MACHINE\\Software\\Classes\n"
                  "HKEY_LOCAL_MACHINE\\Software\\Classes\\.txt\n"
                  "  Glossira.Created = REG_DWORD 0x00000001\n"
                  "  @ = REG_SZ \"GlossiraFile\"\n"
                  "HKEY_LOCAL_MACHINE\\Software\\Classes\\GlossiraFile\n"
                  "  @ = REG_SZ \"Glossira Document\"\n"
                  "HKEY_LOCAL_MACHINE\\Software\\Classes\\GlossiraFile\\shell\n"
                  "HKEY_LOCAL_MACHINE\\Software\\Classes\\GlossiraFile\\shell\\open\n"
                  "HKEY_LOCAL_MACHINE\\Software\\Classes\\GlossiraFile\\shell\\open\\command\n"
                  "  @ = REG_SZ \"\"C:\\Program Files\\Tools\\glossira.exe\" \"%1\"\"\n")
            << ext;
    }

    MemoryRegistry empty;
    RegisterFileType(empty, "", "GlossiraFile", "d", kExe);
    RegisterFileType(empty, "txt", "", "d", kExe);
    RegisterFileType(empty, "txt", "GlossiraFile", "d", "");
    EXPECT_EQ(empty.Dump(), "");
    RegisterFileType(empty, "cmt", "GlossiraFile", "", kExe);
    EXPECT_EQ(Value(empty, kLM, "GlossiraFile"), "GlossiraFile");
}

TEST(RegisterFileType, KeyThatCannotBeCreatedStopsAndKeepsEarlierWrites)
{
    MemoryRegistry reg;
    reg.RefuseOpen(kLM, "Software\\Classes\\GlossiraFile");
    EXPECT_EQ(ErrorOf([&] { RegisterFileType(reg, "txt", "GlossiraFile", "", kExe); }),
              "Failed to create key GlossiraFile");
    EXPECT_EQ(Value(reg, kLM, ".txt"), "GlossiraFile");

    MemoryRegistry failing;
    failing.FailWrites("");
    EXPECT_EQ(ErrorOf([&] { RegisterFileType(failing, "txt", "GlossiraFile", "", kExe); }),
              "Failed to set data for ''");

    MemoryRegistry limited;  // no administrator: nothing written anywhere
    limited.SetString(kLM, "Software\\Classes\\.txt", "", "txtfile");
    const std::string before = limited.Dump();
    limited.LimitAccess(kLM, "Software", kKeyRead);
    EXPECT_EQ(ErrorOf([&] { RegisterFileType(limited, "txt", "GlossiraFile", "", kExe); }),
              "Failed to create key .txt");
    EXPECT_EQ(limited.Dump(), before);
}

// Another program's type is taken over with a record of its class, and
// removal gives it back with everything else in its key; a key the program
// made goes unless another program has put something into it.
TEST(UnregisterFileType, DeletesOnlyKeysTheProgramMadeAndLeftEmpty)
{
    MemoryRegistry reg;
    reg.SetString(kLM, "Software\\Classes\\.txt", "", "txtfile");
    reg.SetString(kLM, "Software\\Classes\\.txt", "Content Type", "text/plain");
    reg.SetString(kLM, "Software\\Classes\\.txt\\ShellNew", "ItemName", "@notepad.exe,-470");
    reg.SetString(kLM, "Software\\Classes\\.nocls", "PerceivedType", "text");
    reg.SetString(RootKey::CurrentUser, "Software\\Classes\\.txt", "", "UserFile");
    const std::string before = reg.Dump();

    for (const char* ext : {"txt", "nocls", "cmt", "kept", "taken"})
        RegisterFileType(reg, ext, "GlossiraFile", "", kExe);
    RegisterFileType(reg, "txt", "GlossiraFile", "", kExe);  // again: the record stays
    const std::string no("\0\0\0\0", 4), yes("\x01\0\0\0", 4);
    EXPECT_EQ(Value(reg, kLM, ".txt", kPreviousClassValue), "txtfile");
    EXPECT_EQ(Value(reg, kLM, ".txt", kCreatedValue), no);
    EXPECT_EQ(Value(reg, kLM, ".nocls", kPreviousClassValue), "<missing>");
    EXPECT_EQ(Value(reg, kLM, ".nocls", kCreatedValue), no);
    EXPECT_EQ(Value(reg, kLM, ".cmt", kPreviousClassValue), "<missing>");
    EXPECT_EQ(Value(reg, kLM, ".cmt", kCreatedValue), yes);
    EXPECT_EQ(Value(reg, RootKey::CurrentUser, ".txt"), "UserFile");
    // Another program adds to a key the program made, or takes one back.
    reg.SetString(kLM, "Software\\Classes\\.kept\\OpenWithProgids", "OtherFile", "");
    reg.SetString(kLM, "Software\\Classes\\.taken", "", "OtherFile");
    reg.SetString(kLM, "Software\\Classes\\.old", "", "GlossiraFile");  // from before records were kept

    UnregisterFileType(reg, kLM, "GlossiraFile");
    UnregisterFileType(reg, kLM, "GlossiraFile");  // nothing left to do
    EXPECT_EQ(Value(reg, kLM, ".kept"), "<missing>");
    EXPECT_EQ(Value(reg, kLM, ".kept\\OpenWithProgids", "OtherFile"), "");
    EXPECT_EQ(Value(reg, kLM, ".taken"), "OtherFile");
    EXPECT_EQ(Value(reg, kLM, ".taken", kCreatedValue), "<missing>");
    RegistryStore store(reg);
    store.SetRoot(kLM);
    EXPECT_TRUE(store.DeleteKey("Software\\Classes\\.kept"));
    EXPECT_TRUE(store.DeleteKey("Software\\Classes\\.taken"));
    EXPECT_EQ(reg.Dump(), before);
}
