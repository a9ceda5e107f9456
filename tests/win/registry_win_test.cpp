// The real registry under Wine: the shared contract in a scratch key of
// HKEY_CURRENT_USER, and what only the Win32 backend does (UTF-16 storage,
// the terminating NUL, texts Windows-1251 cannot hold).
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "core/error.h"
#include "core/wide_win.h"
#include "shell/registry_win.h"
#include "unit/registry_contract.h"

using namespace glossira;
using glossira::ErrorOf;

namespace {

std::string ScratchPath() { return "Software\\GlossiraTest\\" + std::to_string(GetCurrentProcessId()); }

void DeleteScratch()
{
    RegDeleteTreeW(HKEY_CURRENT_USER, Wide(ScratchPath()).c_str());
    RegDeleteKeyW(HKEY_CURRENT_USER, Wide(ScratchPath()).c_str());
    RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\GlossiraTest");  // only when no other run uses it
}

class Win32World final : public contract::RegistryWorld {
public:
    RegistryBackend& Backend() override { return registry_; }
    std::string Scratch() const override { return ScratchPath(); }
    void Clean() override { DeleteScratch(); }

private:
    Win32Registry registry_;
};

const contract::WorldMaker kWin32{"Win32", [] { return std::make_unique<Win32World>(); }};

// The scratch key opened with the raw API, for checks behind the backend's back.
class RawScratch : public testing::Test {
protected:
    void SetUp() override
    {
        DeleteScratch();
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, Wide(ScratchPath()).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                  nullptr, &key_, nullptr),
                  ERROR_SUCCESS);
    }
    void TearDown() override
    {
        if (key_) RegCloseKey(key_);
        DeleteScratch();
    }
    std::unique_ptr<RegistryStore> Store()
    {
        auto store = std::make_unique<RegistryStore>(registry_);
        store->SetRoot(RootKey::CurrentUser);
        EXPECT_TRUE(store->OpenKey(ScratchPath(), false));
        return store;
    }

    Win32Registry registry_;
    HKEY key_ = nullptr;
};

}  // namespace

namespace glossira::contract {
INSTANTIATE_TEST_SUITE_P(Win32, RegistryContract, testing::Values(kWin32), WorldName);
}

using Win32Registry_ = RawScratch;

TEST_F(Win32Registry_, StringsAreWrittenAsUtf16WithTheirNul)
{
    Store()->WriteString("\xC8\xEC\xFF", "\xD2\xE5\xEA\xF1\xF2");  // "Имя" = "Текст" in Windows-1251
    wchar_t buffer[16];
    for (auto& c : buffer) c = L'#';  // sentinels after the data
    DWORD type = 0;
    DWORD size = sizeof buffer;
    ASSERT_EQ(RegQueryValueExW(key_, L"\u0418\u043C\u044F", nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(size, 6 * sizeof(wchar_t));
    EXPECT_EQ(std::wstring(buffer, 6), std::wstring(L"\u0422\u0435\u043A\u0441\u0442\0", 6));
    EXPECT_EQ(buffer[6], L'#');
}

TEST_F(Win32Registry_, StringsStoredWithoutTheirNulReadWhole)
{
    const wchar_t text[] = L"abc";  // 3 characters, NUL not stored
    ASSERT_EQ(RegSetValueExW(key_, L"raw", 0, REG_SZ, reinterpret_cast<const BYTE*>(text), 3 * sizeof(wchar_t)),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExW(key_, L"odd", 0, REG_SZ, reinterpret_cast<const BYTE*>(text), 5), ERROR_SUCCESS);
    auto store = Store();
    EXPECT_EQ(store->ReadString("raw"), "abc");
    EXPECT_EQ(store->ReadString("odd"), "ab");
}

TEST_F(Win32Registry_, TextWindows1251CannotHoldFailsClearly)
{
    const wchar_t text[] = L"\u4E2D\u6587.exe";
    ASSERT_EQ(RegSetValueExW(key_, L"", 0, REG_SZ, reinterpret_cast<const BYTE*>(text), sizeof text), ERROR_SUCCESS);
    HKEY sub = nullptr;
    ASSERT_EQ(RegCreateKeyExW(key_, L"\u4E2D", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &sub, nullptr), ERROR_SUCCESS);
    RegCloseKey(sub);
    auto store = Store();
    EXPECT_TRUE(store->ValueExists(""));  // its mere existence reads no text
    std::string message = ErrorOf([&] { store->ReadString(""); });
    EXPECT_NE(message.find("Windows-1251"), std::string::npos) << message;
    // A key whose subkey has such a name is not deleted under a wrong name.
    RegistryStore root(registry_);
    root.SetRoot(RootKey::CurrentUser);
    EXPECT_NE(ErrorOf([&] { root.DeleteKey(ScratchPath()); }), "<no error>");
}

TEST_F(Win32Registry_, LongValuesAndNamesRoundTrip)
{
    std::string text(100000, 'x');
    text[50000] = '\xFF';  // я
    std::string name(200, 'n');
    auto store = Store();
    store->WriteString(name, text);
    EXPECT_EQ(store->ReadString(name), text);
    ASSERT_TRUE(store->OpenKey(std::string(250, 'k'), true));
    auto key = registry_.Open(RootKey::CurrentUser, ScratchPath(), false, kKeyRead);
    ASSERT_TRUE(key);
    EXPECT_EQ(registry_.SubKeys(*key), std::vector<std::string>{std::string(250, 'k')});
}

TEST_F(Win32Registry_, RootsAreThePredefinedKeys)
{
    auto key = registry_.Open(RootKey::CurrentUser, ScratchPath(), false, kKeyAllAccess);
    ASSERT_TRUE(key);
    ASSERT_TRUE(registry_.Write(*key, "v", RegistryValue{ValueType::DWord, std::string("\x2A\0\0\0", 4)}));
    DWORD v = 0;
    DWORD size = sizeof v;
    EXPECT_EQ(RegQueryValueExW(key_, L"v", nullptr, nullptr, reinterpret_cast<BYTE*>(&v), &size), ERROR_SUCCESS);
    EXPECT_EQ(v, 42u);
    // HKEY_CLASSES_ROOT and HKEY_LOCAL_MACHINE: known keys of a fresh prefix.
    EXPECT_TRUE(registry_.Open(RootKey::LocalMachine, "Software\\Microsoft", false, kKeyRead));
    EXPECT_TRUE(registry_.Open(RootKey::ClassesRoot, "CLSID", false, kKeyRead));
    EXPECT_FALSE(registry_.Open(RootKey::ClassesRoot, ScratchPath(), false, kKeyRead));
}
