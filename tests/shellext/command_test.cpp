// The Windows 11 menu's command of tavrex.dll as Explorer uses it, under
// Wine: created through COM from its class id, given the shell's item array
// of real files, asked for title, icon and state, and invoked, which starts
// the real glossira.exe. Wine has no such menu: the class is registered in
// a scratch key as its package would declare it.
#include <gtest/gtest.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <string>
#include <vector>

#include "driver.h"
#include "inspect.h"
#include "shellext_support.h"
#include "shell/com_win.h"

using namespace glossira;
using namespace glossira::e2e;

namespace {

const CLSID kCommand = {0x33B1497F, 0x3BF6, 0x4504, {0x89, 0x34, 0x32, 0x33, 0x0C, 0x5C, 0xDF, 0x53}};
const std::wstring kCommandKey = L"CLSID\\{33B1497F-3BF6-4504-8934-32330C5CDF53}";

std::wstring Take(LPWSTR text)
{
    std::wstring out = text ? text : L"<null>";
    CoTaskMemFree(text);
    return out;
}

ComPtr<IShellItemArray> OneItem(const std::wstring& path)
{
    ComPtr<IShellItem> item;
    EXPECT_EQ(SHCreateItemFromParsingName(path.c_str(), nullptr, IID_IShellItem, item.put()), S_OK);
    ComPtr<IShellItemArray> items;
    if (item) {
        EXPECT_EQ(SHCreateShellItemArrayFromShellItem(static_cast<IShellItem*>(item.get()), IID_IShellItemArray,
                                                      items.put()),
                  S_OK);
    }
    return items;
}

ComPtr<IShellItemArray> Items(const std::vector<std::wstring>& paths)
{
    std::vector<UniquePidl> owned;
    std::vector<PCIDLIST_ABSOLUTE> pidls;
    for (const auto& path : paths) {
        PIDLIST_ABSOLUTE pidl = nullptr;
        EXPECT_EQ(SHParseDisplayName(path.c_str(), nullptr, &pidl, 0, nullptr), S_OK);
        owned.emplace_back(pidl);
        pidls.push_back(pidl);
    }
    ComPtr<IShellItemArray> items;
    EXPECT_EQ(SHCreateShellItemArrayFromIDLists(static_cast<UINT>(pidls.size()), pidls.data(),
                                                reinterpret_cast<IShellItemArray**>(items.put())),
              S_OK);
    return items;
}

class Command : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
        const std::wstring server = kCommandKey + L"\\InprocServer32";
        const std::wstring library = LibraryPath();
        const wchar_t apartment[] = L"Apartment";
        ASSERT_EQ(RegSetKeyValueW(HKEY_CLASSES_ROOT, server.c_str(), nullptr, REG_SZ, library.c_str(),
                                  static_cast<DWORD>((library.size() + 1) * sizeof(wchar_t))),
                  ERROR_SUCCESS);
        ASSERT_EQ(RegSetKeyValueW(HKEY_CLASSES_ROOT, server.c_str(), L"ThreadingModel", REG_SZ, apartment,
                                  sizeof apartment),
                  ERROR_SUCCESS);
    }
    void TearDown() override
    {
        CoFreeUnusedLibrariesEx(0, 0);
        RegDeleteTreeW(HKEY_CLASSES_ROOT, kCommandKey.c_str());
        CoUninitialize();
    }
    static ComPtr<IExplorerCommand> Create()
    {
        ComPtr<IExplorerCommand> command;
        EXPECT_EQ(CoCreateInstance(kCommand, nullptr, CLSCTX_INPROC_SERVER, IID_IExplorerCommand, command.put()), S_OK);
        return command;
    }
    e2e::Folder dir;
};

}  // namespace

TEST_F(Command, OneFileShowsTheItemWithTheProgramsIconAndOpensTheEditor)
{
    WriteFileBytes(dir / L"setup.zip", "zip");
    auto command = Create();
    ASSERT_TRUE(command);
    auto items = OneItem(dir / L"setup.zip");
    ASSERT_TRUE(items);

    LPWSTR text = nullptr;
    ASSERT_EQ(command->GetTitle(items.get(), &text), S_OK);
    EXPECT_EQ(Take(text), L"Комментарий (Глоссира)");
    ASSERT_EQ(command->GetToolTip(items.get(), &text), S_OK);
    EXPECT_EQ(Take(text), L"Открыть комментарий к файлу в редакторе Глоссиры");
    // The icon location names the library's own icon, which the shell can load.
    ASSERT_EQ(command->GetIcon(items.get(), &text), S_OK);
    const std::wstring icon = Take(text);
    EXPECT_EQ(icon, LibraryPath() + L",-1");
    HMODULE resources = LoadLibraryExW(LibraryPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_TRUE(resources);
    HANDLE small = LoadImageW(resources, MAKEINTRESOURCEW(1), IMAGE_ICON, 16, 16, 0);
    EXPECT_TRUE(small);
    if (small) DestroyIcon(static_cast<HICON>(small));
    FreeLibrary(resources);

    EXPCMDSTATE state = ECS_HIDDEN;
    EXPECT_EQ(command->GetState(items.get(), FALSE, &state), S_OK);  // at once, not slow
    EXPECT_EQ(state, ECS_ENABLED);
    EXPCMDFLAGS flags = 0xFF;
    EXPECT_EQ(command->GetFlags(&flags), S_OK);
    EXPECT_EQ(flags, static_cast<EXPCMDFLAGS>(ECF_DEFAULT));
    IEnumExplorerCommand* sub = reinterpret_cast<IEnumExplorerCommand*>(1);
    EXPECT_EQ(command->EnumSubCommands(&sub), E_NOTIMPL);
    EXPECT_FALSE(sub);
    GUID name = {};
    EXPECT_EQ(command->GetCanonicalName(&name), S_OK);
    EXPECT_TRUE(IsEqualGUID(name, kCommand));

    EXPECT_EQ(CanUnload(), S_FALSE);
    ASSERT_EQ(command->Invoke(items.get(), nullptr), S_OK);
    HWND editor = WaitEditor(L"setup.zip");
    ASSERT_TRUE(editor);
    SaveEditor(editor);
    EXPECT_NE(ReadFileBytes(dir / L"setup.txt"), "<missing>");
    command.reset();
    items.reset();
    EXPECT_EQ(CanUnload(), S_OK);
}

TEST_F(Command, ThreeFilesOpenOneEditorAfterTheOther)
{
    WriteFileBytes(dir / L"first.zip", "1");
    WriteFileBytes(dir / L"second file.zip", "2");
    WriteFileBytes(dir / L"third.zip", "3");
    auto command = Create();
    ASSERT_TRUE(command);
    auto items = Items({dir / L"first.zip", dir / L"second file.zip", dir / L"third.zip"});
    ASSERT_TRUE(items);
    EXPCMDSTATE state = ECS_HIDDEN;
    EXPECT_EQ(command->GetState(items.get(), TRUE, &state), S_OK);
    EXPECT_EQ(state, ECS_ENABLED);

    ASSERT_EQ(command->Invoke(items.get(), nullptr), S_OK);
    SaveInTurn({L"first.zip", L"second file.zip", L"third.zip"});
    for (const wchar_t* comment : {L"first.txt", L"second file.txt", L"third.txt"})
        EXPECT_NE(ReadFileBytes(dir / comment), "<missing>") << comment;
}

TEST_F(Command, NoFilesNoItemAndNothingStarts)
{
    auto command = Create();
    ASSERT_TRUE(command);
    EXPCMDSTATE state = ECS_ENABLED;
    EXPECT_EQ(command->GetState(nullptr, FALSE, &state), S_OK);
    EXPECT_EQ(state, ECS_HIDDEN);
    EXPECT_EQ(command->Invoke(nullptr, nullptr), E_INVALIDARG);
    EXPECT_EQ(command->GetState(nullptr, FALSE, nullptr), E_POINTER);
    EXPECT_EQ(command->GetTitle(nullptr, nullptr), E_POINTER);

    // A virtual folder has no path in the file system: nothing starts.
    ComPtr<IShellItem> computer;
    ASSERT_EQ(SHCreateItemFromParsingName(L"::{20D04FE0-3AEA-1069-A2D8-08002B30309D}", nullptr, IID_IShellItem,
                                          computer.put()),
              S_OK);
    ComPtr<IShellItemArray> items;
    ASSERT_EQ(SHCreateShellItemArrayFromShellItem(static_cast<IShellItem*>(computer.get()), IID_IShellItemArray,
                                                  items.put()),
              S_OK);
    EXPECT_EQ(command->Invoke(items.get(), nullptr), E_INVALIDARG);

    // The class object serves only the library's classes, without aggregation.
    ComPtr<IClassFactory> factory;
    ASSERT_EQ(CoGetClassObject(kCommand, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory, factory.put()), S_OK);
    ComPtr<IUnknown> aggregated;
    EXPECT_EQ(factory->CreateInstance(factory.get(), IID_IUnknown, aggregated.put()), CLASS_E_NOAGGREGATION);
    ComPtr<IContextMenu> wrong;
    EXPECT_EQ(factory->CreateInstance(nullptr, IID_IContextMenu, wrong.put()), E_NOINTERFACE);
    EXPECT_FALSE(wrong);
}
