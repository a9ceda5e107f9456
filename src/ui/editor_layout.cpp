// The editor window's table: bounds at 96 DPI within the client area.
#include "core/cp1251.h"
#include "core/messages.h"
#include "ui/editor_form.h"
#include "ui/editor_layout.h"

namespace glossira {

using namespace editor_ids;

FormSpec EditorWindowSpec()
{
    return {L"TForm1", msg::EditorCaption(), 11, 39, 675, 427,
            WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN};
}

std::vector<ControlSpec> EditorControls(EditorForm& f)
{
    constexpr DWORD memo = WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
    constexpr DWORD button = WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
    // The speed buttons show a picture only and, like any speed button, are
    // not in the tab order.
    constexpr DWORD flat = WS_VISIBLE | BS_PUSHBUTTON | BS_FLAT | BS_ICON;
    return {
        {.member = &f.Memo3, .id = kMemo3, .cls = L"EDIT", .bounds = {257, 289, 0, 7}, .text = "Memo3",
         .style = WS_VISIBLE | WS_TABSTOP | ES_MULTILINE},
        {.member = &f.ListBox2, .id = kListBox2, .cls = L"LISTBOX", .bounds = {8, 216, 577, 129},
         .style = WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | LBS_NOINTEGRALHEIGHT | LBS_NOTIFY, .exStyle = WS_EX_CLIENTEDGE,
         .hint = FromUtf8("Коментарий экспортируемый из Буфера обмена")},
        {.member = &f.Memo1, .id = kMemo1, .cls = L"EDIT", .bounds = {8, 8, 593, 193}, .style = memo,
         .exStyle = WS_EX_CLIENTEDGE, .hint = FromUtf8("Здесь можете писать коментарий")},
        {.member = &f.BitBtn1, .id = kBitBtn1, .cls = L"BUTTON", .bounds = {112, 360, 193, 25},
         .text = FromUtf8("Копировать Буфер Обмена"), .style = button},
        {.member = &f.BitBtn2, .id = kBitBtn2, .cls = L"BUTTON", .bounds = {312, 360, 177, 25},
         .text = FromUtf8("Запись и Выход"), .style = button},
        {.member = &f.BitBtn3, .id = kBitBtn3, .cls = L"BUTTON", .bounds = {592, 272, 75, 25},
         .text = FromUtf8("Стереть"), .style = button},
        {.member = &f.BitBtn4, .id = kBitBtn4, .cls = L"BUTTON", .bounds = {608, 80, 51, 25},
         .text = FromUtf8("Поиск"), .style = button},
        {.member = &f.SpeedButton1, .id = kSpeedButton1, .cls = L"BUTTON", .bounds = {608, 360, 23, 22},
         .style = flat},
        {.member = &f.SpeedButton2, .id = kSpeedButton2, .cls = L"BUTTON", .bounds = {616, 240, 23, 22},
         .style = flat, .hint = FromUtf8("Перенести текст из нижнего в верхнее окно")},
    };
}

}  // namespace glossira
