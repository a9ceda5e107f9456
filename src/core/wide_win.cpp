#include "core/wide_win.h"

#include <objbase.h>

#include <vector>

#include "core/cp1251.h"
#include "core/unique_win.h"

static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 wchar_t");

namespace glossira {

std::wstring Wide(std::string_view cp1251)
{
    std::u16string u = ToUtf16(cp1251);
    return std::wstring(u.begin(), u.end());
}

std::string Narrow(std::wstring_view utf16)
{
    return ToCp1251(std::u16string_view(reinterpret_cast<const char16_t*>(utf16.data()), utf16.size()));
}

std::string NarrowLossy(std::wstring_view utf16)
{
    return ToCp1251Lossy(std::u16string_view(reinterpret_cast<const char16_t*>(utf16.data()), utf16.size()));
}

std::string SystemText(DWORD code)
{
    wchar_t* buffer = nullptr;
    DWORD len = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                   FORMAT_MESSAGE_IGNORE_INSERTS,
                               nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text;
    if (len && buffer) text.assign(buffer, len);
    if (buffer) LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ' || text.back() == L'.'))
        text.pop_back();
    return NarrowLossy(text);
}

std::string SystemMessage(DWORD code)
{
    std::string text = SystemText(code);
    return text.empty() ? "System error " + std::to_string(code) : text;
}

std::wstring ModulePath(HMODULE module)
{
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        DWORD len = GetModuleFileNameW(module, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (len < buffer.size()) return std::wstring(buffer.data(), len);
        buffer.resize(buffer.size() * 2);
    }
}

ComApartment::ComApartment() : ok_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}

ComApartment::~ComApartment()
{
    if (ok_) CoUninitialize();
}

}  // namespace glossira
