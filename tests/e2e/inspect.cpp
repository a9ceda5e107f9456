#include "inspect.h"

#include <commctrl.h>

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

struct ScreenCapture {
    std::vector<DWORD> pixels;  // top-down 0x00RRGGBB
    int width = 0;
    int height = 0;
};

ScreenCapture CaptureClient(HWND window)
{
    ScreenCapture capture;
    RECT client{};
    GetClientRect(window, &client);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    capture.width = client.right;
    capture.height = client.bottom;
    if (capture.width <= 0 || capture.height <= 0) return capture;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = capture.width;
    info.bmiHeader.biHeight = -capture.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, capture.width, capture.height, screen, origin.x, origin.y, SRCCOPY);
    GdiFlush();
    const auto* data = static_cast<const DWORD*>(bits);
    capture.pixels.assign(data, data + static_cast<std::size_t>(capture.width) * capture.height);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return capture;
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
    ScreenCapture capture = CaptureClient(window);
    if (x < 0 || y < 0 || x >= capture.width || y >= capture.height) return CLR_INVALID;
    DWORD p = capture.pixels[static_cast<std::size_t>(y) * capture.width + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

int CountClientPixels(HWND window, COLORREF color)
{
    ScreenCapture capture = CaptureClient(window);
    const DWORD wanted = AsDibPixel(color);
    int count = 0;
    for (DWORD p : capture.pixels)
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

}  // namespace glossira::e2e
