#include "sources/clipboard_win.h"

#include <algorithm>
#include <cstring>

#include "core/cp1251.h"
#include "core/error.h"
#include "core/messages.h"
#include "core/unique_win.h"
#include "core/wide_win.h"

namespace glossira {
namespace {

bool IsHighSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// A short excerpt around the first character Windows-1251 cannot hold, for
// the error message: the whole clipboard may be megabytes.
std::string ExcerptAroundUnmappable(std::wstring_view text)
{
    constexpr std::size_t kContext = 30;
    std::size_t bad = 0;
    for (; bad < text.size(); ++bad) {
        std::size_t len = IsHighSurrogate(text[bad]) && bad + 1 < text.size() && IsLowSurrogate(text[bad + 1]) ? 2 : 1;
        std::u16string_view one(reinterpret_cast<const char16_t*>(text.data() + bad), len);
        if (!TryToCp1251(one)) break;
        bad += len - 1;
    }
    std::size_t from = bad > kContext ? bad - kContext : 0;
    std::size_t to = std::min(text.size(), bad + 1 + kContext);
    if (from > 0 && IsLowSurrogate(text[from])) --from;
    if (to < text.size() && IsLowSurrogate(text[to])) ++to;
    std::string out = from > 0 ? "..." : "";
    out += NarrowLossy(text.substr(from, to - from));
    if (to < text.size()) out += "...";
    return out;
}

}  // namespace

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
    std::optional<std::string> narrow =
        TryToCp1251(std::u16string_view(reinterpret_cast<const char16_t*>(text.data()), text.size()));
    if (!narrow) throw Error(Format(msg::NotIn1251(), ExcerptAroundUnmappable(text)));
    return narrow;
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
