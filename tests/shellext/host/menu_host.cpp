// Opens a file's context menu as Explorer builds it: the shell's own items
// for the file, then the items of tavrex.dll given the shell's data object,
// shown with TrackPopupMenu over a plain window named after the file's
// folder.
// For the README's picture (tools/screenshot-menu); ends when the menu is
// dismissed. With --submenu the submenu «Глоссира» is opened too, with the
// keys a person would press.
//   menu_host FILE TAVREX_DLL [--submenu]
#include <windows.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <string>

namespace {

const CLSID kHandler = {0xAECEEFEA, 0x3DF8, 0x11D1, {0x95, 0x77, 0x00, 0x00, 0x83, 0x7A, 0x2F, 0xDA}};
using GetClassObjectFn = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);

HMENU menu = nullptr;
int downs = -1;  // Down presses that reach the submenu, or none

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_TIMER) {
        KillTimer(hwnd, 1);
        POINT at{24, 16};
        ClientToScreen(hwnd, &at);
        SetForegroundWindow(hwnd);
        // The menu's own loop takes these keys once it is open.
        for (int i = 0; i < downs; ++i) PostMessageW(hwnd, WM_KEYDOWN, VK_DOWN, 0);
        if (downs > 0) PostMessageW(hwnd, WM_KEYDOWN, VK_RIGHT, 0);
        TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN, at.x, at.y, 0, hwnd, nullptr);
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (argc < 3) return 2;
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);

    PIDLIST_ABSOLUTE pidl = nullptr;
    if (FAILED(SHParseDisplayName(argv[1], nullptr, &pidl, 0, nullptr))) return 1;
    IShellFolder* parent = nullptr;
    PCUITEMID_CHILD child = nullptr;
    if (FAILED(SHBindToParent(pidl, IID_IShellFolder, reinterpret_cast<void**>(&parent), &child))) return 1;

    menu = CreatePopupMenu();
    IContextMenu* shellMenu = nullptr;
    if (SUCCEEDED(parent->GetUIObjectOf(nullptr, 1, &child, IID_IContextMenu, nullptr,
                                        reinterpret_cast<void**>(&shellMenu))))
        shellMenu->QueryContextMenu(menu, 0, 1, 0x7FFF, CMF_NORMAL);

    IDataObject* data = nullptr;
    parent->GetUIObjectOf(nullptr, 1, &child, IID_IDataObject, nullptr, reinterpret_cast<void**>(&data));
    HMODULE library = LoadLibraryW(argv[2]);
    auto getClassObject = library ? reinterpret_cast<GetClassObjectFn>(
                                        reinterpret_cast<void*>(GetProcAddress(library, "DllGetClassObject")))
                                  : nullptr;
    IClassFactory* factory = nullptr;
    IShellExtInit* init = nullptr;
    IContextMenu* ours = nullptr;
    if (!data || !getClassObject || FAILED(getClassObject(kHandler, IID_IClassFactory, reinterpret_cast<void**>(&factory))) ||
        FAILED(factory->CreateInstance(nullptr, IID_IShellExtInit, reinterpret_cast<void**>(&init))) ||
        FAILED(init->Initialize(nullptr, data, nullptr)) ||
        FAILED(init->QueryInterface(IID_IContextMenu, reinterpret_cast<void**>(&ours))))
        return 1;
    // After the default item and its separator, where Explorer puts handlers' items.
    const int at = GetMenuItemCount(menu) > 1 ? 2 : 0;
    ours->QueryContextMenu(menu, at, 0x8000, 0xFFFF, CMF_NORMAL);
    if (argc > 3 && std::wstring(argv[3]) == L"--submenu") {
        downs = 0;
        for (int i = 0; i <= at + 1; ++i)
            if (!(GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_SEPARATOR)) ++downs;
    }

    std::wstring folder = argv[1];
    folder = folder.substr(0, folder.find_last_of(L'\\'));
    folder = folder.substr(folder.find_last_of(L'\\') + 1);
    WNDCLASSW wc{};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = L"MenuHost";
    RegisterClassW(&wc);
    const int width = downs < 0 ? 330 : 520;  // room for the open submenu
    HWND window = CreateWindowW(L"MenuHost", folder.c_str(), WS_POPUP | WS_BORDER | WS_VISIBLE, 40, 40, width, 260,
                                nullptr, nullptr, instance, nullptr);
    SetTimer(window, 1, 300, nullptr);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
