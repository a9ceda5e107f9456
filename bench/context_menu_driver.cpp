// What every right-click in Explorer costs us: a new handler object,
// Initialize with the shell's data object of the selection, and
// QueryContextMenu, for 1 and for 1,000 selected files. Beside it, the same
// calls on an empty handler that reads nothing and adds nothing, with the
// same data object, and on one that only gets the selection from the data
// object. Then tavrex.dll with room for its submenu «Глоссира» beside the
// same handler given room for one command only, which adds today's single
// item alone. Runs alternate; medians are printed with their ratios.
//   bench_context_menu TAVREX_DLL [RUNS]
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

const CLSID kHandler = {0xAECEEFEA, 0x3DF8, 0x11D1, {0x95, 0x77, 0x00, 0x00, 0x83, 0x7A, 0x2F, 0xDA}};

// The baseline: a handler that does nothing at all; with `fetch`, it only
// gets the selection's CF_HDROP block from the data object and frees it.
class EmptyHandler final : public IShellExtInit, public IContextMenu {
public:
    explicit EmptyHandler(bool fetch) : fetch_(fetch) {}
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override
    {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IShellExtInit))
            *object = static_cast<IShellExtInit*>(this);
        else if (IsEqualIID(iid, IID_IContextMenu))
            *object = static_cast<IContextMenu*>(this);
        else {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++refs_; }
    STDMETHODIMP_(ULONG) Release() override
    {
        ULONG left = --refs_;
        if (!left) delete this;
        return left;
    }
    STDMETHODIMP Initialize(PCIDLIST_ABSOLUTE, IDataObject* data, HKEY) override
    {
        if (!fetch_) return S_OK;
        FORMATETC format = {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        STGMEDIUM medium = {};
        if (SUCCEEDED(data->GetData(&format, &medium))) ReleaseStgMedium(&medium);
        return S_OK;
    }
    STDMETHODIMP QueryContextMenu(HMENU, UINT, UINT, UINT, UINT) override { return MAKE_HRESULT(0, 0, 0); }
    STDMETHODIMP InvokeCommand(CMINVOKECOMMANDINFO*) override { return E_FAIL; }
    STDMETHODIMP GetCommandString(UINT_PTR, UINT, UINT*, CHAR*, UINT) override { return E_INVALIDARG; }

private:
    ULONG refs_ = 1;
    bool fetch_;
};

using GetClassObjectFn = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);

IDataObject* Selection(const std::wstring& folder, int count)
{
    IShellFolder* desktop = nullptr;
    SHGetDesktopFolder(&desktop);
    PIDLIST_RELATIVE folderPidl = nullptr;
    desktop->ParseDisplayName(nullptr, nullptr, const_cast<wchar_t*>(folder.c_str()), nullptr, &folderPidl, nullptr);
    IShellFolder* parent = nullptr;
    desktop->BindToObject(folderPidl, nullptr, IID_IShellFolder, reinterpret_cast<void**>(&parent));
    std::vector<PIDLIST_RELATIVE> children;
    for (int i = 0; i < count; ++i) {
        wchar_t name[64];
        swprintf(name, 64, L"download-%04d-setup.zip", i);
        PIDLIST_RELATIVE child = nullptr;
        parent->ParseDisplayName(nullptr, nullptr, name, nullptr, &child, nullptr);
        children.push_back(child);
    }
    IDataObject* data = nullptr;
    parent->GetUIObjectOf(nullptr, count, const_cast<PCUITEMID_CHILD_ARRAY>(children.data()), IID_IDataObject,
                          nullptr, reinterpret_cast<void**>(&data));
    for (auto child : children) CoTaskMemFree(child);
    CoTaskMemFree(folderPidl);
    parent->Release();
    desktop->Release();
    return data;
}

double Microseconds(const std::function<IShellExtInit*()>& create, IDataObject* data, UINT last = 0x7FFF)
{
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    HMENU menu = CreatePopupMenu();
    QueryPerformanceCounter(&start);
    IShellExtInit* init = create();
    init->Initialize(nullptr, data, nullptr);
    IContextMenu* contextMenu = nullptr;
    init->QueryInterface(IID_IContextMenu, reinterpret_cast<void**>(&contextMenu));
    contextMenu->QueryContextMenu(menu, 0, 1, last, CMF_NORMAL);
    contextMenu->Release();
    init->Release();
    QueryPerformanceCounter(&end);
    DestroyMenu(menu);
    return 1e6 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_context_menu TAVREX_DLL [RUNS]\n");
        return 2;
    }
    const int runs = argc > 2 ? _wtoi(argv[2]) : 201;
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    HMODULE library = LoadLibraryW(argv[1]);
    auto getClassObject = library ? reinterpret_cast<GetClassObjectFn>(
                                        reinterpret_cast<void*>(GetProcAddress(library, "DllGetClassObject")))
                                  : nullptr;
    IClassFactory* factory = nullptr;
    if (!getClassObject || FAILED(getClassObject(kHandler, IID_IClassFactory, reinterpret_cast<void**>(&factory)))) {
        std::fprintf(stderr, "cannot load the handler\n");
        return 1;
    }
    auto ours = [factory] {
        IShellExtInit* init = nullptr;
        factory->CreateInstance(nullptr, IID_IShellExtInit, reinterpret_cast<void**>(&init));
        return init;
    };
    auto empty = []() -> IShellExtInit* { return new EmptyHandler(false); };
    auto fetching = []() -> IShellExtInit* { return new EmptyHandler(true); };

    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + L"glossira-bench-menu";
    CreateDirectoryW(folder.c_str(), nullptr);
    for (int i = 0; i < 1000; ++i) {
        wchar_t name[64];
        swprintf(name, 64, L"\\download-%04d-setup.zip", i);
        HANDLE h = CreateFileW((folder + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        CloseHandle(h);
    }

    std::printf("| selection | empty handler | only getting CF_HDROP | tavrex.dll | ratio to empty | ratio to getting CF_HDROP |\n"
                "|---|---|---|---|---|---|\n");
    for (int count : {1, 1000}) {
        IDataObject* data = Selection(folder, count);
        if (!data) return 1;
        std::vector<double> base, fetch, mine;
        for (int i = 0; i < runs; ++i) {
            base.push_back(Microseconds(empty, data));
            fetch.push_back(Microseconds(fetching, data));
            mine.push_back(Microseconds(ours, data));
        }
        const double b = Median(base), f = Median(fetch), m = Median(mine);
        std::printf("| %d file%s | %.1f us | %.1f us | %.1f us | %.0f x | %.1f x |\n", count, count == 1 ? "" : "s", b,
                    f, m, m / b, m / f);
        data->Release();
    }
    std::printf("\n| selection | the single item | with the submenu | ratio |\n|---|---|---|---|\n");
    for (int count : {1, 1000}) {
        IDataObject* data = Selection(folder, count);
        if (!data) return 1;
        std::vector<double> single, submenu;
        for (int i = 0; i < runs; ++i) {
            single.push_back(Microseconds(ours, data, 1));
            submenu.push_back(Microseconds(ours, data));
        }
        const double a = Median(single), b = Median(submenu);
        std::printf("| %d file%s | %.1f us | %.1f us | %.2f x |\n", count, count == 1 ? "" : "s", a, b, b / a);
        data->Release();
    }
    factory->Release();
    for (int i = 0; i < 1000; ++i) {
        wchar_t name[64];
        swprintf(name, 64, L"\\download-%04d-setup.zip", i);
        DeleteFileW((folder + name).c_str());
    }
    RemoveDirectoryW(folder.c_str());
    return 0;
}
