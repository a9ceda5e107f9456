// tavrex.dll as Explorer uses it, under Wine: registered by the settings
// window (or regsvr32), created through COM, given a data object for real
// files by the shell, asked for its menu item and invoked, which starts the
// real glossira.exe. Every test leaves the registration absent.
#include <gtest/gtest.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <memory>
#include <string>
#include <vector>

#include "driver.h"
#include "inspect.h"
#include "core/wide_win.h"
#include "shell/com_win.h"
#include "shell/install.h"
#include "shell/registry_win.h"
#include "shell/shell_win.h"
#include "ui/editor_layout.h"
#include "ui/settings_layout.h"

using namespace glossira;
using namespace glossira::e2e;
using namespace glossira::editor_ids;

namespace {

const CLSID kHandler = {0xAECEEFEA, 0x3DF8, 0x11D1, {0x95, 0x77, 0x00, 0x00, 0x83, 0x7A, 0x2F, 0xDA}};
const std::wstring kClassKey = L"CLSID\\{AECEEFEA-3DF8-11D1-9577-0000837A2FDA}";
const std::wstring kHandlerKey = L"*\\shellex\\ContextMenuHandlers\\Glossira";
const std::wstring kAppPathsKey = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\glossira.exe";
const CLSID kDropHandler = {0xB53500FB, 0xFCA5, 0x4D56, {0xB1, 0x61, 0xE1, 0x7C, 0x5A, 0x5D, 0x56, 0x4F}};
const std::wstring kDropClassKey = L"CLSID\\{B53500FB-FCA5-4D56-B161-E17C5A5D564F}";
const std::wstring kDropKeys[] = {L"Directory\\shellex\\DragDropHandlers\\Glossira",
                                  L"Drive\\shellex\\DragDropHandlers\\Glossira",
                                  L"Folder\\shellex\\DragDropHandlers\\Glossira"};
const wchar_t kItemText[] = L"Комментарий (Глоссира)";
const wchar_t kHelpText[] = L"Открыть комментарий к файлу в редакторе Глоссиры";
constexpr UINT kFirst = 0x100;

std::wstring ProgramFolder()
{
    const std::wstring exe = ProgramPath();
    return exe.substr(0, exe.find_last_of(L'\\') + 1);
}
std::wstring LibraryPath() { return ProgramFolder() + L"tavrex.dll"; }

bool KeyExists(HKEY root, const std::wstring& path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

std::wstring ReadText(HKEY root, const std::wstring& path, const wchar_t* name)
{
    wchar_t data[2048] = {};
    DWORD size = sizeof data - sizeof(wchar_t);
    if (RegGetValueW(root, path.c_str(), name, RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS) return L"<none>";
    return data;
}

void RemoveRegistration()
{
    RegDeleteTreeW(HKEY_CLASSES_ROOT, kClassKey.c_str());
    RegDeleteTreeW(HKEY_CLASSES_ROOT, kHandlerKey.c_str());
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, kAppPathsKey.c_str());
    RegDeleteTreeW(HKEY_CLASSES_ROOT, kDropClassKey.c_str());
    for (const auto& key : kDropKeys) RegDeleteTreeW(HKEY_CLASSES_ROOT, key.c_str());
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\Orvik\\Glossira");
}

// The settings window with one box ticked, then OK and its message.
void SettingsWithBox(int box)
{
    Program app(L"");
    HWND window = app.WaitWindow(L"TForm2");
    ASSERT_TRUE(window);
    Click(Control(window, box));
    ASSERT_TRUE(WaitHandled(window));
    Click(Control(window, settings_ids::kButton1));
    HWND message = app.WaitMessageBox();
    ASSERT_TRUE(message);
    EXPECT_EQ(MessageText(message), L"Установки сохранены");
    Answer(message, IDOK);
    EXPECT_EQ(app.WaitExit(), 0);
}

struct PidlFree {
    void operator()(ITEMIDLIST* p) const { CoTaskMemFree(p); }
};
using UniquePidl = std::unique_ptr<ITEMIDLIST, PidlFree>;

// The shell's data object for files of one folder, as Explorer hands it over.
ComPtr<IDataObject> ShellSelection(const std::vector<std::wstring>& paths, REFIID iid = IID_IDataObject)
{
    std::vector<UniquePidl> owned;
    std::vector<PCUITEMID_CHILD> children;
    ComPtr<IShellFolder> folder;
    for (const auto& path : paths) {
        PIDLIST_ABSOLUTE pidl = nullptr;
        EXPECT_EQ(SHParseDisplayName(path.c_str(), nullptr, &pidl, 0, nullptr), S_OK);
        owned.emplace_back(pidl);
        PCUITEMID_CHILD child = nullptr;
        ComPtr<IShellFolder> parent;
        EXPECT_EQ(SHBindToParent(pidl, IID_IShellFolder, parent.put(), &child), S_OK);
        if (!folder) folder = std::move(parent);
        children.push_back(child);
    }
    ComPtr<IDataObject> data;
    if (folder) {
        EXPECT_EQ(folder->GetUIObjectOf(nullptr, static_cast<UINT>(children.size()), children.data(), iid, nullptr,
                                        data.put()),
                  S_OK);
    }
    return data;
}

// A data object that hands the selection over as a stream, whatever medium
// was asked for.
class StreamSelection final : public IDataObject {
public:
    explicit StreamSelection(ComPtr<IDataObject> shell) : shell_(std::move(shell)) {}
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override
    {
        *object = IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDataObject) ? this : nullptr;
        if (!*object) return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++refs_; }
    STDMETHODIMP_(ULONG) Release() override { return --refs_; }  // lives on the test's stack
    STDMETHODIMP GetData(FORMATETC* format, STGMEDIUM* medium) override
    {
        STGMEDIUM drop{};
        HRESULT hr = shell_->GetData(format, &drop);
        if (FAILED(hr)) return hr;
        hr = CreateStreamOnHGlobal(drop.hGlobal, TRUE, reinterpret_cast<IStream**>(stream.put()));
        if (FAILED(hr)) return hr;
        *medium = {};
        medium->tymed = TYMED_ISTREAM;
        medium->pstm = stream.get();
        stream->AddRef();
        return S_OK;
    }
    STDMETHODIMP GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    STDMETHODIMP QueryGetData(FORMATETC* format) override { return shell_->QueryGetData(format); }
    STDMETHODIMP GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) override { return E_NOTIMPL; }
    STDMETHODIMP SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    STDMETHODIMP DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP DUnadvise(DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP EnumDAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }

    ComPtr<IStream> stream;  // the last one handed over

private:
    ComPtr<IDataObject> shell_;
    ULONG refs_ = 1;
};

struct Menu {
    HMENU handle = CreatePopupMenu();
    ~Menu() { DestroyMenu(handle); }
    int Count() const { return GetMenuItemCount(handle); }
    // The item's picture, or null.
    HBITMAP Picture(int position) const
    {
        MENUITEMINFOW item{};
        item.cbSize = sizeof item;
        item.fMask = MIIM_BITMAP;
        return GetMenuItemInfoW(handle, static_cast<UINT>(position), TRUE, &item) ? item.hbmpItem : nullptr;
    }
    std::wstring Text(int position) const { return ItemText(handle, position); }
    static std::wstring ItemText(HMENU menu, int position)
    {
        wchar_t text[256] = {};
        GetMenuStringW(menu, static_cast<UINT>(position), text, 256, MF_BYPOSITION);
        return text;
    }
    // The texts and command ids of a submenu's items.
    std::vector<std::pair<std::wstring, UINT>> Submenu(int position) const
    {
        std::vector<std::pair<std::wstring, UINT>> items;
        HMENU sub = GetSubMenu(handle, position);
        for (int i = 0; sub && i < GetMenuItemCount(sub); ++i) items.emplace_back(ItemText(sub, i), GetMenuItemID(sub, i));
        return items;
    }
};

// The whole Unicode form of an invocation by verb, as Explorer's callers send it.
CMINVOKECOMMANDINFOEX ByVerb(const char* verb, const wchar_t* wide)
{
    CMINVOKECOMMANDINFOEX invoke{};
    invoke.cbSize = sizeof invoke;
    invoke.fMask = CMIC_MASK_UNICODE;
    invoke.lpVerb = verb;
    invoke.lpVerbW = wide;
    invoke.nShow = SW_SHOWNORMAL;
    return invoke;
}

// Saves the editor with "Запись и Выход" and waits until its process ended.
void SaveEditor(HWND editor)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(editor, &pid);
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
    ASSERT_TRUE(process);
    Click(Control(editor, kBitBtn2));
    EXPECT_EQ(WaitForSingleObject(process, 15000), WAIT_OBJECT_0);
    CloseHandle(process);
}

using CanUnloadFn = HRESULT(WINAPI*)();
HRESULT CanUnload()
{
    HMODULE library = GetModuleHandleW(LibraryPath().c_str());
    if (!library) return E_FAIL;
    auto fn = reinterpret_cast<CanUnloadFn>(reinterpret_cast<void*>(GetProcAddress(library, "DllCanUnloadNow")));
    return fn ? fn() : E_FAIL;
}

DWORD RunAndWait(std::wstring commandLine)
{
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return 0xFFFFFFFF;
    WaitForSingleObject(pi.hProcess, 30000);
    DWORD code = 0xFFFFFFFF;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return code;
}

// Wine's own shell loads no third-party handlers; Windows' does.
bool UnderWine() { return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr; }

class Handler : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
        RemoveRegistration();
    }
    void TearDown() override
    {
        RemoveRegistration();
        CoUninitialize();
    }
    // The handler of the registered class, initialised with these files.
    ComPtr<IContextMenu> Create(const std::vector<std::wstring>& paths)
    {
        ComPtr<IShellExtInit> init;
        EXPECT_EQ(CoCreateInstance(kHandler, nullptr, CLSCTX_INPROC_SERVER, IID_IShellExtInit, init.put()), S_OK);
        ComPtr<IContextMenu> menu;
        if (!init) return menu;
        auto data = ShellSelection(paths);
        EXPECT_EQ(init->Initialize(nullptr, data.get(), nullptr), S_OK);
        EXPECT_EQ(init->QueryInterface(IID_IContextMenu, menu.put()), S_OK);
        return menu;
    }
    e2e::Folder dir;
};

}  // namespace

TEST_F(Handler, SettingsWindowRegistersItAndItsItemOpensTheEditorOnTheFile)
{
    SettingsWithBox(settings_ids::kCheckBox7);
    ASSERT_EQ(ReadText(HKEY_CLASSES_ROOT, kClassKey + L"\\InprocServer32", L""), LibraryPath());
    WriteFileBytes(dir / L"setup.zip", "zip");

    auto handler = Create({dir / L"setup.zip"});
    ASSERT_TRUE(handler);
    Menu menu;
    AppendMenuW(menu.handle, MF_STRING, 1, L"Открыть");
    EXPECT_EQ(handler->QueryContextMenu(menu.handle, 1, kFirst, kFirst + 50, CMF_NORMAL), MAKE_HRESULT(0, 0, 6));
    ASSERT_EQ(menu.Count(), 3);
    EXPECT_EQ(menu.Text(1), kItemText);
    EXPECT_EQ(GetMenuItemID(menu.handle, 1), kFirst);
    EXPECT_EQ(menu.Text(2), L"Глоссира");
    EXPECT_EQ(menu.Submenu(2), (std::vector<std::pair<std::wstring, UINT>>{
                                   {L"Переименовать с комментарием…", kFirst + 1},
                                   {L"Копировать с комментарием в папку…", kFirst + 2},
                                   {L"Переместить с комментарием в папку…", kFirst + 3},
                                   {L"Удалить с комментарием", kFirst + 4}}));

    // The picture: 32 bits, the small-icon size, premultiplied alpha.
    const HBITMAP picture = menu.Picture(1);
    ASSERT_TRUE(picture);
    BITMAP bm{};
    ASSERT_EQ(GetObjectW(picture, sizeof bm, &bm), static_cast<int>(sizeof bm));
    HDC screen = GetDC(nullptr);
    const int size = MulDiv(16, GetDeviceCaps(screen, LOGPIXELSY), 96);
    EXPECT_EQ(bm.bmBitsPixel, 32);
    EXPECT_EQ(bm.bmWidth, size);
    EXPECT_EQ(bm.bmHeight, size);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof info.bmiHeader, size, -size, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<DWORD> pixels(static_cast<std::size_t>(size) * size);
    ASSERT_EQ(GetDIBits(screen, picture, 0, size, pixels.data(), &info, DIB_RGB_COLORS), size);
    ReleaseDC(nullptr, screen);
    int opaque = 0, clear = 0, notPremultiplied = 0;
    for (DWORD p : pixels) {
        DWORD a = p >> 24;
        opaque += a == 255;
        clear += a == 0;
        if ((p >> 16 & 0xFF) > a || (p >> 8 & 0xFF) > a || (p & 0xFF) > a) ++notPremultiplied;
    }
    EXPECT_GT(opaque, 0);
    EXPECT_GT(clear, 0);
    EXPECT_EQ(notPremultiplied, 0);

    CMINVOKECOMMANDINFO invoke{};
    invoke.cbSize = sizeof invoke;
    invoke.lpVerb = MAKEINTRESOURCEA(0);
    invoke.nShow = SW_SHOWNORMAL;
    ASSERT_EQ(handler->InvokeCommand(&invoke), S_OK);
    HWND editor = WaitEditor(L"setup.zip");
    ASSERT_TRUE(editor);
    EXPECT_EQ(Text(editor), L"Глоссира к файлу 2.3   setup.zip");
    SaveEditor(editor);
    EXPECT_NE(ReadFileBytes(dir / L"setup.txt"), "<missing>");

    SettingsWithBox(settings_ids::kCheckBox9);
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kClassKey));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kHandlerKey));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kAppPathsKey));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kDropClassKey));
    for (const auto& key : kDropKeys) EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, key));
}

TEST_F(Handler, SeveralFilesByVerbOpenOneEditorAfterTheOther)
{
    SettingsWithBox(settings_ids::kCheckBox7);
    WriteFileBytes(dir / L"first.zip", "1");
    WriteFileBytes(dir / L"second file.zip", "2");
    WriteFileBytes(dir / L"third.zip", "3");
    auto handler = Create({dir / L"first.zip", dir / L"second file.zip", dir / L"third.zip"});
    ASSERT_TRUE(handler);
    Menu menu;
    EXPECT_EQ(handler->QueryContextMenu(menu.handle, 0, kFirst, kFirst + 50, CMF_NORMAL), MAKE_HRESULT(0, 0, 6));
    // Several files cannot be renamed at once; the other commands are there.
    EXPECT_EQ(menu.Submenu(1).size(), 3u);
    EXPECT_EQ(menu.Submenu(1).front().second, kFirst + 2);

    auto invoke = ByVerb("glossira", L"glossira");
    ASSERT_EQ(handler->InvokeCommand(reinterpret_cast<CMINVOKECOMMANDINFO*>(&invoke)), S_OK);
    HWND first = WaitEditor(L"first.zip");
    ASSERT_TRUE(first);
    EXPECT_FALSE(FindEditor(L"second file.zip"));
    SaveEditor(first);
    HWND second = WaitEditor(L"second file.zip");
    ASSERT_TRUE(second);
    EXPECT_FALSE(FindEditor(L"third.zip"));
    // Closed without saving: the walk goes on.
    CloseBox(second);
    HWND third = WaitEditor(L"third.zip");
    ASSERT_TRUE(third);
    SaveEditor(third);
    EXPECT_NE(ReadFileBytes(dir / L"first.txt"), "<missing>");
    EXPECT_EQ(ReadFileBytes(dir / L"second file.txt"), "<missing>");
    EXPECT_NE(ReadFileBytes(dir / L"third.txt"), "<missing>");
    EXPECT_TRUE(Eventually([] { return !FindEditor(L"first.zip") && !FindEditor(L"third.zip"); }));

    // Another verb, a wrong offset: nothing starts.
    CMINVOKECOMMANDINFO other{};
    other.cbSize = sizeof other;
    other.lpVerb = "open";
    EXPECT_EQ(handler->InvokeCommand(&other), E_FAIL);
    other.lpVerb = MAKEINTRESOURCEA(6);
    EXPECT_EQ(handler->InvokeCommand(&other), E_FAIL);
    auto rename = ByVerb("glossira.rename", L"glossira.rename");
    EXPECT_EQ(handler->InvokeCommand(reinterpret_cast<CMINVOKECOMMANDINFO*>(&rename)), E_FAIL);
}

TEST_F(Handler, WithoutAProgramBesideItTheRegisteredPathIsStarted)
{
    // The library alone in a folder, registered from there by the settings
    // window's procedure with the real program's path.
    e2e::Folder lonely;
    ASSERT_TRUE(CopyFileW(LibraryPath().c_str(), (lonely / L"tavrex.dll").c_str(), FALSE));
    {
        Win32Registry registry;
        Win32Shell shell;
        RegisterContextMenu(InstallContext{registry, shell, Narrow(lonely.path), Narrow(ProgramPath())});
    }
    WriteFileBytes(dir / L"a.zip", "a");
    auto handler = Create({dir / L"a.zip"});
    ASSERT_TRUE(handler);
    EXPECT_TRUE(GetModuleHandleW((lonely / L"tavrex.dll").c_str()));
    CMINVOKECOMMANDINFO invoke{};
    invoke.cbSize = sizeof invoke;
    invoke.lpVerb = "glossira";  // nShow left 0: the editor is still shown
    ASSERT_EQ(handler->InvokeCommand(&invoke), S_OK);
    HWND editor = WaitEditor(L"a.zip");
    ASSERT_TRUE(editor);
    SaveEditor(editor);

    // No program anywhere: an error, and nothing is started from elsewhere.
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, kAppPathsKey.c_str());
    EXPECT_EQ(handler->InvokeCommand(&invoke), HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
    handler.reset();
    CoFreeUnusedLibrariesEx(0, 0);
}

// A host keeps drawing a menu after it released the handlers that filled it:
// the picture stays. A data object that answers with another medium than
// global memory gives no selection, and its medium is released.
TEST_F(Handler, MenuPictureOutlivesTheHandlerAndOnlyGlobalMemoryIsRead)
{
    SettingsWithBox(settings_ids::kCheckBox7);
    WriteFileBytes(dir / L"a.zip", "a");
    Menu menu;
    {
        auto handler = Create({dir / L"a.zip"});
        ASSERT_TRUE(handler);
        EXPECT_EQ(handler->QueryContextMenu(menu.handle, 0, kFirst, kFirst + 50, CMF_NORMAL), MAKE_HRESULT(0, 0, 6));
    }
    const HBITMAP picture = menu.Picture(0);
    ASSERT_TRUE(picture);
    BITMAP bm{};
    EXPECT_EQ(GetObjectW(picture, sizeof bm, &bm), static_cast<int>(sizeof bm)) << "the picture is gone";
    EXPECT_EQ(bm.bmBitsPixel, 32);

    ComPtr<IShellExtInit> init;
    ASSERT_EQ(CoCreateInstance(kHandler, nullptr, CLSCTX_INPROC_SERVER, IID_IShellExtInit, init.put()), S_OK);
    StreamSelection selection(ShellSelection({dir / L"a.zip"}));
    EXPECT_EQ(init->Initialize(nullptr, &selection, nullptr), DV_E_TYMED);
    ASSERT_TRUE(selection.stream);
    selection.stream->AddRef();
    EXPECT_EQ(selection.stream->Release(), 1u) << "the medium was not released";
    ComPtr<IContextMenu> handler;
    ASSERT_EQ(init->QueryInterface(IID_IContextMenu, handler.put()), S_OK);
    Menu other;
    EXPECT_EQ(handler->QueryContextMenu(other.handle, 0, kFirst, kFirst + 50, CMF_NORMAL), MAKE_HRESULT(0, 0, 0));
    EXPECT_EQ(other.Count(), 0);
}

TEST_F(Handler, DefaultOnlyAndCommandStrings)
{
    SettingsWithBox(settings_ids::kCheckBox7);
    WriteFileBytes(dir / L"a.zip", "a");
    auto handler = Create({dir / L"a.zip"});
    ASSERT_TRUE(handler);
    Menu menu;
    EXPECT_EQ(handler->QueryContextMenu(menu.handle, 0, kFirst, kFirst + 50, CMF_DEFAULTONLY), MAKE_HRESULT(0, 0, 0));
    EXPECT_EQ(menu.Count(), 0);

    // No selection at all: no item, and nothing to start.
    ComPtr<IShellExtInit> bare;
    ASSERT_EQ(CoCreateInstance(kHandler, nullptr, CLSCTX_INPROC_SERVER, IID_IShellExtInit, bare.put()), S_OK);
    EXPECT_EQ(bare->Initialize(nullptr, nullptr, nullptr), E_INVALIDARG);
    ComPtr<IContextMenu> empty;
    ASSERT_EQ(bare->QueryInterface(IID_IContextMenu, empty.put()), S_OK);
    EXPECT_EQ(empty->QueryContextMenu(menu.handle, 0, kFirst, kFirst + 50, CMF_NORMAL), MAKE_HRESULT(0, 0, 0));
    EXPECT_EQ(menu.Count(), 0);
    CMINVOKECOMMANDINFO invoke{};
    invoke.cbSize = sizeof invoke;
    EXPECT_TRUE(FAILED(empty->InvokeCommand(&invoke)));

    char ansi[64];
    memset(ansi, '#', sizeof ansi);
    EXPECT_EQ(handler->GetCommandString(0, GCS_VERBA, nullptr, ansi, sizeof ansi), S_OK);
    EXPECT_STREQ(ansi, "glossira");
    wchar_t wide[128];
    EXPECT_EQ(handler->GetCommandString(0, GCS_VERBW, nullptr, reinterpret_cast<char*>(wide), 128), S_OK);
    EXPECT_STREQ(wide, L"glossira");
    EXPECT_EQ(handler->GetCommandString(0, GCS_HELPTEXTW, nullptr, reinterpret_cast<char*>(wide), 128), S_OK);
    EXPECT_STREQ(wide, kHelpText);
    EXPECT_EQ(handler->GetCommandString(0, GCS_HELPTEXTA, nullptr, ansi, sizeof ansi), S_OK);
    EXPECT_GT(strlen(ansi), 0u);  // in the ANSI code page
    EXPECT_EQ(handler->GetCommandString(0, GCS_VALIDATEW, nullptr, nullptr, 0), S_OK);
    // A short buffer is filled and ended, never overrun.
    memset(ansi, '#', sizeof ansi);
    EXPECT_EQ(handler->GetCommandString(0, GCS_VERBA, nullptr, ansi, 4), S_OK);
    EXPECT_STREQ(ansi, "glo");
    EXPECT_EQ(ansi[4], '#');
    EXPECT_EQ(handler->GetCommandString(5, GCS_VERBA, nullptr, ansi, sizeof ansi), E_INVALIDARG);
    const wchar_t* verbs[] = {L"glossira.rename", L"glossira.copyto", L"glossira.moveto", L"glossira.delete"};
    for (UINT i = 1; i <= 4; ++i) {
        EXPECT_EQ(handler->GetCommandString(i, GCS_VERBW, nullptr, reinterpret_cast<char*>(wide), 128), S_OK);
        EXPECT_STREQ(wide, verbs[i - 1]);
    }

    // No room for the submenu's commands: the one item, as before.
    Menu narrow;
    EXPECT_EQ(handler->QueryContextMenu(narrow.handle, 0, kFirst, kFirst, CMF_NORMAL), MAKE_HRESULT(0, 0, 1));
    EXPECT_EQ(narrow.Count(), 1);
}

TEST_F(Handler, UnloadsOnlyWhenEveryObjectAndLockIsGone)
{
    SettingsWithBox(settings_ids::kCheckBox7);
    WriteFileBytes(dir / L"a.zip", "a");
    {
        auto handler = Create({dir / L"a.zip"});
        ASSERT_TRUE(handler);
        EXPECT_EQ(CanUnload(), S_FALSE);
    }
    EXPECT_EQ(CanUnload(), S_OK);

    ComPtr<IClassFactory> factory;
    ASSERT_EQ(CoGetClassObject(kHandler, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory, factory.put()), S_OK);
    EXPECT_EQ(CanUnload(), S_FALSE);
    EXPECT_EQ(factory->LockServer(TRUE), S_OK);
    factory.reset();
    EXPECT_EQ(CanUnload(), S_FALSE);
    ASSERT_EQ(CoGetClassObject(kHandler, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory, factory.put()), S_OK);
    ComPtr<IUnknown> aggregated;
    ComPtr<IShellExtInit> init;
    EXPECT_EQ(factory->CreateInstance(factory.get(), IID_IUnknown, aggregated.put()), CLASS_E_NOAGGREGATION);
    EXPECT_FALSE(aggregated);
    EXPECT_EQ(factory->CreateInstance(nullptr, IID_IShellExtInit, init.put()), S_OK);
    EXPECT_EQ(factory->LockServer(FALSE), S_OK);
    factory.reset();
    EXPECT_EQ(CanUnload(), S_FALSE);
    init.reset();
    EXPECT_EQ(CanUnload(), S_OK);
}

TEST_F(Handler, RegsvrRegistersAndUnregistersThroughTheProgramsOwnEntries)
{
    const std::wstring regsvr = L"C:\\windows\\system32\\regsvr32.exe";
    EXPECT_EQ(RunAndWait(L"\"" + regsvr + L"\" /s \"" + LibraryPath() + L"\""), 0u);
    EXPECT_EQ(ReadText(HKEY_CLASSES_ROOT, kClassKey, L""), L"Glossira");
    EXPECT_EQ(ReadText(HKEY_CLASSES_ROOT, kClassKey + L"\\InprocServer32", L""), LibraryPath());
    EXPECT_EQ(ReadText(HKEY_CLASSES_ROOT, kClassKey + L"\\InprocServer32", L"ThreadingModel"), L"Apartment");
    EXPECT_EQ(ReadText(HKEY_CLASSES_ROOT, kHandlerKey, L""), L"{AECEEFEA-3DF8-11D1-9577-0000837A2FDA}");
    EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, kAppPathsKey, L"path"), ProgramFolder() + L"glossira.exe");
    EXPECT_EQ(ReadText(HKEY_CLASSES_ROOT, kDropClassKey + L"\\InprocServer32", L""), LibraryPath());
    for (const auto& key : kDropKeys)
        EXPECT_EQ(ReadText(HKEY_CLASSES_ROOT, key, L""), L"{B53500FB-FCA5-4D56-B161-E17C5A5D564F}");

    EXPECT_EQ(RunAndWait(L"\"" + regsvr + L"\" /u /s \"" + LibraryPath() + L"\""), 0u);
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kClassKey));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kHandlerKey));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kAppPathsKey));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kDropClassKey));
    for (const auto& key : kDropKeys) EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, key));
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, L"*\\shellex\\ContextMenuHandlers"));
}

TEST_F(Handler, WinesOwnFolderMenuOffersTheItem)
{
    SettingsWithBox(settings_ids::kCheckBox7);
    WriteFileBytes(dir / L"a.zip", "a");
    PIDLIST_ABSOLUTE pidl = nullptr;
    ASSERT_EQ(SHParseDisplayName((dir / L"a.zip").c_str(), nullptr, &pidl, 0, nullptr), S_OK);
    UniquePidl owned(pidl);
    PCUITEMID_CHILD child = nullptr;
    ComPtr<IShellFolder> parent;
    ASSERT_EQ(SHBindToParent(pidl, IID_IShellFolder, parent.put(), &child), S_OK);
    ComPtr<IContextMenu> shellMenu;
    ASSERT_EQ(parent->GetUIObjectOf(nullptr, 1, &child, IID_IContextMenu, nullptr, shellMenu.put()), S_OK);
    Menu menu;
    ASSERT_TRUE(SUCCEEDED(shellMenu->QueryContextMenu(menu.handle, 0, 1, 0x7FFF, CMF_NORMAL)));
    bool offered = false;
    for (int i = 0; i < menu.Count(); ++i) offered |= menu.Text(i) == kItemText;
    const bool loadedByTheMenu = GetModuleHandleW(LibraryPath().c_str()) != nullptr;
    // Whatever the folder menu did, the registration must lead to the
    // library: a wrong class id or path fails here.
    ComPtr<IShellExtInit> handler;
    ASSERT_EQ(CoCreateInstance(kHandler, nullptr, CLSCTX_INPROC_SERVER, IID_IShellExtInit, handler.put()), S_OK);
    ASSERT_TRUE(GetModuleHandleW(LibraryPath().c_str())) << "the registered class is not the library's";
    if (!offered && !loadedByTheMenu && UnderWine())
        GTEST_SKIP() << "Wine's folder context menu does not load registered context-menu handlers";
    EXPECT_TRUE(offered);
}

TEST_F(Handler, ASelectionSkipsNamesBeyond1251AndMissingFilesAndWalksTheRest)
{
    SettingsWithBox(settings_ids::kCheckBox7);
    for (auto name : {L"a.zip", L"caf\u00e9.zip", L"gone.zip", L"b.zip"}) WriteFileBytes(dir / name, "x");
    auto handler = Create({dir / L"a.zip", dir / L"caf\u00e9.zip", dir / L"gone.zip", dir / L"b.zip"});
    ASSERT_TRUE(handler);
    ASSERT_TRUE(DeleteFileW((dir / L"gone.zip").c_str()));  // between the right-click and the start
    CMINVOKECOMMANDINFO invoke{};
    invoke.cbSize = sizeof invoke;
    invoke.lpVerb = "glossira";
    invoke.nShow = SW_SHOWNORMAL;
    ASSERT_EQ(handler->InvokeCommand(&invoke), S_OK);

    HWND box = nullptr;
    ASSERT_TRUE(Eventually([&] {
        auto boxes = VisibleWindows(L"#32770", L"Глоссира");
        box = boxes.empty() ? nullptr : boxes.front();
        return box != nullptr;
    }));
    EXPECT_TRUE(VisibleWindows(L"TForm1").empty());
    const std::wstring text = MessageText(box);
    EXPECT_EQ(text.rfind(L"Эти файлы пропущены", 0), 0u) << Narrow8(text);
    EXPECT_NE(text.find(dir / L"caf\u00e9.zip \u2014 в имени есть символы"), std::wstring::npos);
    EXPECT_NE(text.find(dir / L"gone.zip \u2014 не найден"), std::wstring::npos);
    EXPECT_EQ(text.find(L"a.zip"), std::wstring::npos);
    Answer(box, IDOK);
    for (auto name : {L"a.zip", L"b.zip"}) {
        HWND editor = WaitEditor(name);
        ASSERT_TRUE(editor) << Narrow8(name);
        EXPECT_EQ(VisibleWindows(L"TForm1").size(), 1u);
        EXPECT_TRUE(CloseAndWait(editor));
    }
}

// A path longer than any command line is not dropped: it reaches the
// program through a list file, and the program names it as not found.
TEST_F(Handler, APathLongerThanACommandLineStillReachesTheProgram)
{
    SettingsWithBox(settings_ids::kCheckBox7);
    const std::wstring path = L"C:\\" + std::wstring(40000, L'x') + L".zip";
    // The shell's data objects name only files that exist: this selection
    // comes from a CF_HDROP block on the clipboard.
    ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
    const std::size_t bytes = sizeof(DROPFILES) + (path.size() + 2) * sizeof(wchar_t);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
    ASSERT_TRUE(block);
    auto* drop = static_cast<DROPFILES*>(GlobalLock(block));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    memcpy(drop + 1, path.c_str(), path.size() * sizeof(wchar_t));
    GlobalUnlock(block);
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    ASSERT_TRUE(SetClipboardData(CF_HDROP, block));
    CloseClipboard();
    {
        ComPtr<IDataObject> data;
        ASSERT_EQ(OleGetClipboard(reinterpret_cast<IDataObject**>(data.put())), S_OK);
        ComPtr<IShellExtInit> init;
        ASSERT_EQ(CoCreateInstance(kHandler, nullptr, CLSCTX_INPROC_SERVER, IID_IShellExtInit, init.put()), S_OK);
        ASSERT_EQ(init->Initialize(nullptr, data.get(), nullptr), S_OK);
        ComPtr<IContextMenu> handler;
        ASSERT_EQ(init->QueryInterface(IID_IContextMenu, handler.put()), S_OK);
        CMINVOKECOMMANDINFO invoke{};
        invoke.cbSize = sizeof invoke;
        invoke.lpVerb = "glossira";
        EXPECT_EQ(handler->InvokeCommand(&invoke), S_OK);
    }
    OleSetClipboard(nullptr);
    OleUninitialize();

    HWND box = nullptr;
    ASSERT_TRUE(Eventually([&] {
        auto boxes = VisibleWindows(L"#32770", L"Глоссира");
        box = boxes.empty() ? nullptr : boxes.front();
        return box != nullptr;
    })) << "nothing was started";
    const std::wstring text = MessageText(box);
    EXPECT_NE(text.find(L"\nC:\\xxx"), std::wstring::npos) << Narrow8(text.substr(0, 200));
    EXPECT_NE(text.find(L"x.zip \u2014 не найден"), std::wstring::npos);
    Answer(box, IDOK);
    EXPECT_TRUE(Eventually([] { return VisibleWindows(L"#32770", L"Глоссира").empty(); }));
}

namespace {

// The list files in the user's temporary folder.
std::vector<std::wstring> ListFilesInTemp()
{
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, temp);
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((std::wstring(temp) + L"glo*.tmp").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return names;
    do names.push_back(data.cFileName);
    while (FindNextFileW(find, &data));
    FindClose(find);
    return names;
}

}  // namespace

// 2,000 paths of 120 characters are far more than one command line holds:
// one program takes them all through a list file and walks them, one editor
// at a time, in order, leaving no list behind. Two thousand starts of the
// program take minutes: the test has a ctest entry of its own.
using LargeSelection = Handler;

TEST_F(LargeSelection, TwoThousandLongPathsAreWalkedByOneProgram)
{
    SettingsWithBox(settings_ids::kCheckBox7);
    constexpr int kCount = 2000;
    std::vector<std::wstring> names, paths;
    for (int i = 0; i < kCount; ++i) {
        std::wstring name = std::to_wstring(10000 + i) + L"-";
        name += std::wstring(120 - dir.path.size() - name.size() - 4, L'x') + L".zip";
        names.push_back(name);
        paths.push_back(dir / name);
        ASSERT_EQ(paths.back().size(), 120u);
        WriteFileBytes(paths.back(), "");
    }
    auto handler = Create(paths);
    ASSERT_TRUE(handler);
    const auto listsBefore = ListFilesInTemp();
    CMINVOKECOMMANDINFO invoke{};
    invoke.cbSize = sizeof invoke;
    invoke.lpVerb = "glossira";
    invoke.nShow = SW_SHOWNORMAL;
    ASSERT_EQ(handler->InvokeCommand(&invoke), S_OK);

    int walked = 0;
    for (const auto& name : names) {
        HWND editor = WaitEditor(name, 30000);
        ASSERT_TRUE(editor) << "editor " << walked << " never came";
        ASSERT_EQ(VisibleWindows(L"TForm1").size(), 1u) << "two editors at once at " << walked;
        ASSERT_TRUE(CloseAndWait(editor));
        ++walked;
    }
    EXPECT_EQ(walked, kCount);
    Sleep(500);
    EXPECT_TRUE(VisibleWindows(L"TForm1").empty());
    EXPECT_EQ(ListFilesInTemp(), listsBefore);
}

TEST_F(Handler, TheSubmenusVerbsStartTheProgramOnTheOperation)
{
    SettingsWithBox(settings_ids::kCheckBox7);
    WriteFileBytes(dir / L"a.zip", "a");
    WriteFileBytes(dir / L"a.txt", "about a");
    auto handler = Create({dir / L"a.zip"});
    ASSERT_TRUE(handler);

    // Rename, by its Unicode verb: the program's rename window, cancelled.
    auto rename = ByVerb("glossira.rename", L"glossira.rename");
    ASSERT_EQ(handler->InvokeCommand(reinterpret_cast<CMINVOKECOMMANDINFO*>(&rename)), S_OK);
    HWND window = nullptr;
    ASSERT_TRUE(Eventually([&] { return (window = FindWindowW(L"TFormRename", nullptr)) && IsWindowVisible(window); }));
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
    Click(Control(window, IDCANCEL));
    EXPECT_EQ(WaitForSingleObject(process, 15000), WAIT_OBJECT_0);
    CloseHandle(process);
    EXPECT_EQ(ReadFileBytes(dir / L"a.txt"), "about a");

    // Delete, by its ANSI verb: the file and its comment go.
    CMINVOKECOMMANDINFO invoke{};
    invoke.cbSize = sizeof invoke;
    invoke.lpVerb = "GLOSSIRA.DELETE";
    ASSERT_EQ(handler->InvokeCommand(&invoke), S_OK);
    EXPECT_TRUE(Eventually(
        [&] {
            // The system may ask before the Recycle Bin.
            HWND box = FindWindowW(L"#32770", nullptr);
            if (box && IsWindowVisible(box) && Clickable(GetDlgItem(box, IDYES))) Answer(box, IDYES);
            return ReadFileBytes(dir / L"a.zip") == "<missing>" && ReadFileBytes(dir / L"a.txt") == "<missing>";
        },
        30000));
}

TEST_F(Handler, TheDropMenuCopiesAndMovesIntoTheFolderDroppedOn)
{
    SettingsWithBox(settings_ids::kCheckBox7);
    e2e::Folder target;
    WriteFileBytes(dir / L"a.zip", "a");
    WriteFileBytes(dir / L"a.txt", "about a");
    WriteFileBytes(dir / L"b.zip", "b");
    WriteFileBytes(dir / L"b.txt", "about b");

    // Explorer initialises it with the folder dropped on and the dragged files.
    auto drop = [&](const std::wstring& folder, const std::vector<std::wstring>& files) {
        ComPtr<IShellExtInit> init;
        EXPECT_EQ(CoCreateInstance(kDropHandler, nullptr, CLSCTX_INPROC_SERVER, IID_IShellExtInit, init.put()), S_OK);
        ComPtr<IContextMenu> menu;
        if (!init) return menu;
        PIDLIST_ABSOLUTE pidl = nullptr;
        EXPECT_EQ(SHParseDisplayName(folder.c_str(), nullptr, &pidl, 0, nullptr), S_OK);
        UniquePidl owned(pidl);
        auto data = ShellSelection(files);
        EXPECT_EQ(init->Initialize(pidl, data.get(), nullptr), S_OK);
        EXPECT_EQ(init->QueryInterface(IID_IContextMenu, menu.put()), S_OK);
        return menu;
    };
    auto handler = drop(target.path, {dir / L"a.zip", dir / L"b.zip"});
    ASSERT_TRUE(handler);
    Menu menu;
    AppendMenuW(menu.handle, MF_STRING, 1, L"Копировать");
    EXPECT_EQ(handler->QueryContextMenu(menu.handle, 0, kFirst, kFirst + 50, CMF_NORMAL), MAKE_HRESULT(0, 0, 2));
    ASSERT_EQ(menu.Count(), 3);
    EXPECT_EQ(menu.Text(0), L"Копировать сюда с комментарием");
    EXPECT_EQ(menu.Text(1), L"Переместить сюда с комментарием");
    EXPECT_EQ(GetMenuItemID(menu.handle, 1), kFirst + 1);
    char verb[64] = {};
    EXPECT_EQ(handler->GetCommandString(1, GCS_VERBA, nullptr, verb, sizeof verb), S_OK);
    EXPECT_STREQ(verb, "glossira.movehere");

    auto move = ByVerb("glossira.movehere", L"glossira.movehere");
    ASSERT_EQ(handler->InvokeCommand(reinterpret_cast<CMINVOKECOMMANDINFO*>(&move)), S_OK);
    EXPECT_TRUE(Eventually([&] { return ReadFileBytes(target / L"b.txt") == "about b"; }, 30000));
    EXPECT_EQ(ReadFileBytes(target / L"a.zip"), "a");
    EXPECT_EQ(ReadFileBytes(target / L"a.txt"), "about a");
    EXPECT_EQ(ReadFileBytes(dir / L"a.txt"), "<missing>");

    // Dropped on their own folder: nothing to offer.
    auto same = drop(target.path, {target / L"a.zip"});
    ASSERT_TRUE(same);
    Menu none;
    EXPECT_EQ(same->QueryContextMenu(none.handle, 0, kFirst, kFirst + 50, CMF_NORMAL), MAKE_HRESULT(0, 0, 0));
    EXPECT_EQ(none.Count(), 0);
}
