#include "inspect.h"

#include "driver.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <optional>

namespace glossira::e2e {
namespace {

// Memory in another process, for messages whose argument is a pointer.
class RemoteBuffer {
public:
    RemoteBuffer(HWND window, std::size_t size) : size_(size)
    {
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
        if (process_) address_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    }
    ~RemoteBuffer()
    {
        if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
        if (process_) CloseHandle(process_);
    }
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;

    bool Valid() const { return address_ != nullptr; }
    char* At(std::size_t offset) const { return static_cast<char*>(address_) + offset; }
    bool Write(std::size_t offset, const void* data, std::size_t size) const
    {
        return offset + size <= size_ && WriteProcessMemory(process_, At(offset), data, size, nullptr);
    }
    bool Read(std::size_t offset, void* data, std::size_t size) const
    {
        return offset + size <= size_ && ReadProcessMemory(process_, At(offset), data, size, nullptr);
    }

private:
    std::size_t size_;
    HANDLE process_ = nullptr;
    void* address_ = nullptr;
};

struct TooltipSearch {
    HWND owner;
    HWND found;
};

BOOL CALLBACK FindTooltip(HWND hwnd, LPARAM lp)
{
    auto* search = reinterpret_cast<TooltipSearch*>(lp);
    wchar_t name[64];
    GetClassNameW(hwnd, name, 64);
    if (wcscmp(name, TOOLTIPS_CLASSW) != 0 || GetWindow(hwnd, GW_OWNER) != search->owner) return TRUE;
    search->found = hwnd;
    return FALSE;
}

struct Pixels {
    std::vector<DWORD> data;  // top-down 0x00RRGGBB
    int width = 0;
    int height = 0;
    DWORD At(int x, int y) const { return data[static_cast<std::size_t>(y) * width + x] & 0xFFFFFF; }
};

Pixels Capture(HDC source, int left, int top, int width, int height)
{
    Pixels out;
    if (width <= 0 || height <= 0) return out;
    HDC memory = CreateCompatibleDC(source);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, source, left, top, SRCCOPY);
    GdiFlush();
    const auto* data = static_cast<const DWORD*>(bits);
    out.data.assign(data, data + static_cast<std::size_t>(width) * height);
    out.width = width;
    out.height = height;
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    return out;
}

// The window's client area as it is on the screen.
Pixels CaptureClient(HWND window)
{
    RECT client{};
    GetClientRect(window, &client);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    HDC screen = GetDC(nullptr);
    Pixels p = Capture(screen, origin.x, origin.y, client.right, client.bottom);
    ReleaseDC(nullptr, screen);
    return p;
}

DWORD AsDibPixel(COLORREF color)
{
    return (static_cast<DWORD>(GetRValue(color)) << 16) | (static_cast<DWORD>(GetGValue(color)) << 8) |
           GetBValue(color);
}

constexpr const wchar_t* kSettingsKey = L"Software\\Orvik\\Glossira";
constexpr const wchar_t* kDesktopKey = L"Control Panel\\Desktop";

std::optional<DWORD>& SavedDpi()
{
    static std::optional<DWORD> saved;
    return saved;
}
bool& DpiChanged()
{
    static bool changed = false;
    return changed;
}

}  // namespace

std::vector<Hint> Hints(HWND form)
{
    std::vector<Hint> hints;
    TooltipSearch search{form, nullptr};
    EnumWindows(&FindTooltip, reinterpret_cast<LPARAM>(&search));
    if (!search.found) return hints;
    constexpr std::size_t kTextOffset = 512;
    constexpr std::size_t kTextChars = 1024;
    RemoteBuffer remote(search.found, kTextOffset + kTextChars * sizeof(wchar_t));
    if (!remote.Valid()) return hints;
    auto count = SendMessageW(search.found, TTM_GETTOOLCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        TOOLINFOW info{};
        info.cbSize = sizeof info;
        info.lpszText = reinterpret_cast<wchar_t*>(remote.At(kTextOffset));
        wchar_t empty = 0;
        remote.Write(kTextOffset, &empty, sizeof empty);
        remote.Write(0, &info, sizeof info);
        if (!SendMessageW(search.found, TTM_ENUMTOOLSW, i, reinterpret_cast<LPARAM>(remote.At(0)))) continue;
        remote.Read(0, &info, sizeof info);
        // The text again through TTM_GETTEXTW, which takes the buffer size.
        info.lpszText = reinterpret_cast<wchar_t*>(remote.At(kTextOffset));
        remote.Write(0, &info, sizeof info);
        SendMessageW(search.found, TTM_GETTEXTW, kTextChars, reinterpret_cast<LPARAM>(remote.At(0)));
        std::wstring text(kTextChars, L'\0');
        remote.Read(kTextOffset, text.data(), kTextChars * sizeof(wchar_t));
        text.resize(wcsnlen(text.c_str(), kTextChars));
        HWND control = (info.uFlags & TTF_IDISHWND) ? reinterpret_cast<HWND>(info.uId) : nullptr;
        hints.push_back({control, text});
    }
    return hints;
}

namespace {

// The extent of the pixels inside [x0, x1) x [y0, y1) that differ from `back`.
Ink InkOf(const Pixels& p, int x0, int y0, int x1, int y1, DWORD back)
{
    int left = x1, right = x0 - 1, top = y1, bottom = y0 - 1;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            if (p.At(x, y) != back) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    Ink ink;
    ink.highlighted = true;
    if (right >= left) {
        ink.width = right - left + 1;
        ink.height = bottom - top + 1;
    }
    return ink;
}

}  // namespace

Ink HighlightedMenuInk(HWND window, bool popup)
{
    RECT area{};
    if (popup) {
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        HWND menu = VisibleWindowOf(pid, L"#32768");
        if (!menu) return {};
        GetWindowRect(menu, &area);
    } else {  // the bar lies between the caption and the client area
        RECT outer{};
        GetWindowRect(window, &outer);
        POINT client{0, 0};
        ClientToScreen(window, &client);
        area = {outer.left, client.y - GetSystemMetrics(SM_CYMENU), outer.right, client.y};
    }
    HDC screen = GetDC(nullptr);
    Pixels p = Capture(screen, area.left, area.top, area.right - area.left, area.bottom - area.top);
    ReleaseDC(nullptr, screen);
    for (int colour : {COLOR_HIGHLIGHT, COLOR_MENUHILIGHT}) {
        const DWORD back = AsDibPixel(GetSysColor(colour));
        int left = p.width, right = -1, top = p.height, bottom = -1;
        for (int y = 0; y < p.height; ++y)
            for (int x = 0; x < p.width; ++x)
                if (p.At(x, y) == back) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                }
        if (right >= left) {
            return InkOf(p, left, top, right + 1, bottom + 1, back);
        }
    }
    return {};
}

Ink MenuTextInk(const std::wstring& text)
{
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    HFONT font = CreateFontIndirectW(&metrics.lfMenuFont);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    constexpr int kWidth = 600, kHeight = 60;
    HBITMAP bitmap = CreateCompatibleBitmap(screen, kWidth, kHeight);
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    HGDIOBJ oldFont = SelectObject(dc, font);
    RECT all{0, 0, kWidth, kHeight};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    TextOutW(dc, 10, 10, text.c_str(), static_cast<int>(text.size()));
    Pixels p = Capture(dc, 0, 0, kWidth, kHeight);
    SelectObject(dc, oldFont);
    SelectObject(dc, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    DeleteObject(font);
    return InkOf(p, 0, 0, kWidth, kHeight, 0xFFFFFF);
}

RECT SendDpiChanged(HWND window, UINT dpi, const RECT& suggested)
{
    RECT after{};
    // The rectangle lies at the same address in both processes, whether or
    // not Wine copies it across with the message.
    RemoteBuffer remote(window, sizeof suggested);
    if (!remote.Valid() || !remote.Write(0, &suggested, sizeof suggested)) return after;
    void* local = VirtualAlloc(remote.At(0), sizeof suggested, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (local) std::memcpy(local, &suggested, sizeof suggested);
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(remote.At(0)));
    if (local) VirtualFree(local, 0, MEM_RELEASE);
    GetWindowRect(window, &after);
    return after;
}

bool HasPicture(HWND button)
{
    if (SendMessageW(button, BM_GETIMAGE, IMAGE_ICON, 0) || SendMessageW(button, BM_GETIMAGE, IMAGE_BITMAP, 0))
        return true;
    RemoteBuffer remote(button, sizeof(BUTTON_IMAGELIST));
    BUTTON_IMAGELIST list{};
    if (!remote.Valid() || !remote.Write(0, &list, sizeof list)) return false;
    if (!SendMessageW(button, BCM_GETIMAGELIST, 0, reinterpret_cast<LPARAM>(remote.At(0)))) return false;
    remote.Read(0, &list, sizeof list);
    return list.himl != nullptr;
}

RECT BoundsInParent(HWND control)
{
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::vector<HWND> Children(HWND parent)
{
    std::vector<HWND> children;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

COLORREF ClientPixel(HWND window, int x, int y)
{
    Pixels capture = CaptureClient(window);
    if (x < 0 || y < 0 || x >= capture.width || y >= capture.height) return CLR_INVALID;
    DWORD p = capture.At(x, y);
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

int CountClientPixels(HWND window, COLORREF color)
{
    Pixels capture = CaptureClient(window);
    const DWORD wanted = AsDibPixel(color);
    int count = 0;
    for (DWORD p : capture.data)
        if ((p & 0xFFFFFF) == wanted) ++count;
    return count;
}

bool PutOnClipboard(const std::wstring& text)
{
    // The clipboard needs an owner window for SetClipboardData; it lives as
    // long as the test process.
    static HWND owner = CreateWindowExW(0, L"STATIC", L"clipboard owner", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                        nullptr, nullptr);
    bool opened = Eventually([] { return OpenClipboard(owner) != FALSE; }, 5000);
    if (!opened) return false;
    EmptyClipboard();
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    bool done = false;
    if (memory) {
        memcpy(GlobalLock(memory), text.c_str(), bytes);
        GlobalUnlock(memory);
        done = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
        if (!done) GlobalFree(memory);
    }
    CloseClipboard();
    return done;
}

StoredDword ReadSetting(const wchar_t* name)
{
    StoredDword stored;
    DWORD size = sizeof stored.value;
    LSTATUS status = RegGetValueW(HKEY_LOCAL_MACHINE, kSettingsKey, name, RRF_RT_ANY, &stored.type, &stored.value,
                                  &size);
    stored.present = status == ERROR_SUCCESS;
    return stored;
}

void WriteSetting(const wchar_t* name, DWORD value)
{
    HKEY key;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, kSettingsKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr))
        return;
    RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    RegCloseKey(key);
}

void DeleteSetting(const wchar_t* name) { RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kSettingsKey, name); }

void SetSystemDpi(DWORD dpi)
{
    if (!DpiChanged()) {
        DWORD value = 0, size = sizeof value;
        if (RegGetValueW(HKEY_CURRENT_USER, kDesktopKey, L"LogPixels", RRF_RT_REG_DWORD, nullptr, &value, &size) ==
            ERROR_SUCCESS)
            SavedDpi() = value;
        DpiChanged() = true;
    }
    RegSetKeyValueW(HKEY_CURRENT_USER, kDesktopKey, L"LogPixels", REG_DWORD, &dpi, sizeof dpi);
}

void ResetSystemDpi()
{
    if (!DpiChanged()) return;
    if (SavedDpi()) {
        DWORD value = *SavedDpi();
        RegSetKeyValueW(HKEY_CURRENT_USER, kDesktopKey, L"LogPixels", REG_DWORD, &value, sizeof value);
    } else {
        RegDeleteKeyValueW(HKEY_CURRENT_USER, kDesktopKey, L"LogPixels");
    }
    DpiChanged() = false;
    SavedDpi().reset();
}

std::string Utf8(const std::wstring& text)
{
    std::string out(
        static_cast<std::size_t>(WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr)), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, out.data(), static_cast<int>(out.size()), nullptr, nullptr);
    out.pop_back();
    return out;
}

std::wstring CloseAndAnswer(Program& app, HWND editor, int buttonId)
{
    CloseBox(editor);
    HWND box = app.WaitMessageBox(5000);
    if (!box) return L"";
    std::wstring question = MessageText(box);
    Answer(box, buttonId);
    Eventually([&] { return !IsWindow(box); }, 5000);
    return question;
}

}  // namespace glossira::e2e
