// Whether ordinary users may change the files that code every user runs
// comes from: access lists as Windows keeps them, judged by their order.
#include <gtest/gtest.h>

#include "fake_shell.h"
#include "shell/file_security.h"

using namespace glossira;

namespace {

constexpr const char* kAdmins = "S-1-5-32-544";
constexpr const char* kUsers = "S-1-5-32-545";
constexpr const char* kAuthenticated = "S-1-5-11";
constexpr const char* kEveryone = "S-1-1-0";
constexpr const char* kSystem = "S-1-5-18";
constexpr std::uint32_t kFull = 0x1F01FF, kModify = 0x1301BF, kReadExecute = 0x1200A9;

AccessList Protected() { return {kAdmins, false, {{true, kSystem, kFull}, {true, kAdmins, kFull}, {true, kUsers, kReadExecute}}}; }

AccessList With(std::vector<AccessEntry> more, std::string owner = kAdmins)
{
    AccessList list = Protected();
    list.owner = std::move(owner);
    list.entries.insert(list.entries.end(), more.begin(), more.end());
    return list;
}

}  // namespace

TEST(OrdinaryUsers, MayChangeWhatTheirGroupsMayWriteDeleteOrRedefine)
{
    const std::string dll = "C:\\Tools\\tavrex.dll";
    struct Case {
        const char* what;
        AccessList list;
        bool changeable;
    } cases[] = {
        {"Program Files", Protected(), false},
        {"Authenticated Users modify", With({{true, kAuthenticated, kModify}}), true},
        {"Users generic write", With({{true, kUsers, 0x40000000}}), true},
        {"INTERACTIVE delete only", With({{true, "S-1-5-4", 0x10000}}), true},
        {"Everyone write rights", With({{true, kEveryone, 0x40000}}), true},
        {"for what is made below only", With({{true, kAuthenticated, kModify, true}}), false},
        {"denied first", With({{false, kEveryone, kModify}, {true, kUsers, kModify}}), false},
        {"allowed first", With({{true, kUsers, kModify}, {false, kEveryone, kModify}}), true},
        {"no access list", AccessList{kAdmins, true, {}}, true},
        {"owned by Users", With({}, kUsers), true},
        {"another administrator's own entry", With({{true, "S-1-5-21-1-2-3-500", kFull}}), false},
    };
    for (const auto& c : cases) {
        FakeShell asFile, asFolder;
        asFile.files.insert(dll);
        asFile.access[dll] = c.list;
        asFolder.access["C:\\Tools\\"] = c.list;
        EXPECT_EQ(OrdinaryUsersMayChange(asFile, dll), c.changeable) << c.what;
        EXPECT_EQ(OrdinaryUsersMayChange(asFolder, dll), c.changeable) << c.what;
    }
    FakeShell unreadable;
    unreadable.unreadable.insert("C:\\Tools\\");
    EXPECT_TRUE(OrdinaryUsersMayChange(unreadable, dll));
    FakeShell missing;  // a file that is not there is judged by its folder
    missing.unreadable.insert(dll);
    EXPECT_FALSE(OrdinaryUsersMayChange(missing, dll));
    missing.files.insert(dll);
    EXPECT_TRUE(OrdinaryUsersMayChange(missing, dll));
    FakeShell readOnly;  // every list Program Files'
    EXPECT_FALSE(OrdinaryUsersMayChange(readOnly, dll));
}
