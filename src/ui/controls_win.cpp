#include "ui/controls_win.h"

#include "core/comment_file.h"
#include "core/cp1251.h"

namespace glossira {
namespace {

std::wstring ControlText(const std::string& text)
{
    std::u16string u = ToControlText(text);
    return std::wstring(u.begin(), u.end());
}

std::string FromControl(const std::wstring& text)
{
    return FromControlText(std::u16string_view(reinterpret_cast<const char16_t*>(text.data()), text.size()));
}

void Replace(HWND edit, DWORD at, const std::string& text)
{
    SendMessageW(edit, EM_SETSEL, at, at);
    SendMessageW(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(ControlText(text).c_str()));
}

}  // namespace

std::string EditText(HWND edit)
{
    int length = GetWindowTextLengthW(edit);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    int got = GetWindowTextW(edit, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
    return FromControl(text);
}

void SetEditText(HWND edit, const std::string& text) { SetWindowTextW(edit, ControlText(text).c_str()); }

void InsertAtStart(HWND edit, const std::string& text)
{
    Replace(edit, 0, text);
    SendMessageW(edit, EM_SETSEL, 0, 0);
    SendMessageW(edit, EM_SCROLLCARET, 0, 0);
}

void AppendAtEnd(HWND edit, const std::string& text)
{
    Replace(edit, static_cast<DWORD>(GetWindowTextLengthW(edit)), text);
}

void CaretAtEnd(HWND edit)
{
    const auto end = static_cast<WPARAM>(GetWindowTextLengthW(edit));
    SendMessageW(edit, EM_SETSEL, end, static_cast<LPARAM>(end));
    SendMessageW(edit, EM_SCROLLCARET, 0, 0);
}

std::optional<std::string> FirstRow(HWND edit)
{
    if (GetWindowTextLengthW(edit) == 0) return std::nullopt;
    auto length = static_cast<std::size_t>(SendMessageW(edit, EM_LINELENGTH, 0, 0));
    std::wstring row(length + 2, L'\0');
    *reinterpret_cast<WORD*>(row.data()) = static_cast<WORD>(length + 1 > 0xFFFF ? 0xFFFF : length + 1);
    auto got = static_cast<std::size_t>(SendMessageW(edit, EM_GETLINE, 0, reinterpret_cast<LPARAM>(row.data())));
    row.resize(got < row.size() ? got : row.size());
    std::u16string u(row.begin(), row.end());
    return ToCp1251Lossy(u);
}

std::vector<std::string> ListItems(HWND list)
{
    std::vector<std::string> items;
    auto count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        auto length = SendMessageW(list, LB_GETTEXTLEN, i, 0);
        std::wstring item(static_cast<std::size_t>(length > 0 ? length : 0) + 1, L'\0');
        auto got = SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(item.data()));
        item.resize(static_cast<std::size_t>(got > 0 ? got : 0));
        items.push_back(FromControl(item));
    }
    return items;
}

void SetListItems(HWND list, const std::vector<std::string>& items)
{
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    SendMessageW(list, LB_INITSTORAGE, items.size(), 0);
    for (const auto& item : items)
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ControlText(item).c_str()));
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

}  // namespace glossira
