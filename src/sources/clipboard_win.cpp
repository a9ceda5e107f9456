#include "sources/clipboard_win.h"

#include <algorithm>
#include <cstring>

#include "core/cp1251.h"
#include "core/unique_win.h"
#include "core/wide_win.h"

namespace glossira {

ClipboardGuard::ClipboardGuard(HWND owner, int tries, DWORD pauseMs)
{
    for (int i = 0; i < tries; ++i) {
        if (i > 0) Sleep(pauseMs);
        if (OpenClipboard(owner)) {
            open_ = true;
            return;
        }
    }
}

ClipboardGuard::~ClipboardGuard()
{
    if (open_) CloseClipboard();
}

std::optional<std::string> ReadClipboardText(HWND owner)
{
    if (!IsClipboardFormatAvailable(CF_UNICODETEXT)) return std::nullopt;
    std::wstring text;
    {
        ClipboardGuard guard(owner);
        if (!guard) return std::nullopt;
        HANDLE data = GetClipboardData(CF_UNICODETEXT);
        if (!data) return std::nullopt;
        auto chars = static_cast<const wchar_t*>(GlobalLock(data));
        if (!chars) return std::nullopt;
        std::size_t capacity = GlobalSize(data) / sizeof(wchar_t);
        text.assign(chars, std::find(chars, chars + capacity, L'\0'));
        GlobalUnlock(data);
    }
    // As CF_TEXT would give it: a character Windows-1251 lacks becomes '?'.
    return ToCp1251Lossy(std::u16string_view(reinterpret_cast<const char16_t*>(text.data()), text.size()));
}

bool WriteClipboardText(HWND owner, std::string_view cp1251)
{
    std::wstring text = Wide(cp1251);
    std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    UniqueGlobal memory(GlobalAlloc(GMEM_MOVEABLE, bytes));
    if (!memory) return false;
    void* target = GlobalLock(memory.get());
    if (!target) return false;
    std::memcpy(target, text.c_str(), bytes);
    GlobalUnlock(memory.get());

    ClipboardGuard guard(owner);
    if (!guard || !EmptyClipboard()) return false;
    if (!SetClipboardData(CF_UNICODETEXT, memory.get())) return false;
    memory.release();  // the clipboard owns it now
    return true;
}

}  // namespace glossira
