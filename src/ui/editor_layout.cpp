// The editor window's table: bounds at 96 DPI within the client area.
#include "core/cp1251.h"
#include "core/messages.h"
#include "ui/editor_form.h"
#include "ui/editor_layout.h"

namespace glossira {

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
        {&f.Memo3, kMemo3, L"EDIT", 257, 289, 0, 7, "Memo3", WS_VISIBLE | WS_TABSTOP | ES_MULTILINE, 0, ""},
        {&f.ListBox2, kListBox2, L"LISTBOX", 8, 216, 577, 129, "",
         WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | LBS_NOINTEGRALHEIGHT | LBS_NOTIFY, WS_EX_CLIENTEDGE,
         FromUtf8("Коментарий экспортируемый из Буфера обмена")},
        {&f.Memo1, kMemo1, L"EDIT", 8, 8, 593, 193, "", memo, WS_EX_CLIENTEDGE,
         FromUtf8("Здесь можете писать коментарий")},
        {&f.BitBtn1, kBitBtn1, L"BUTTON", 112, 360, 193, 25, FromUtf8("Копировать Буфер Обмена"), button},
        {&f.BitBtn2, kBitBtn2, L"BUTTON", 312, 360, 177, 25, FromUtf8("Запись и Выход"), button},
        {&f.BitBtn3, kBitBtn3, L"BUTTON", 592, 272, 75, 25, FromUtf8("Стереть"), button},
        {&f.BitBtn4, kBitBtn4, L"BUTTON", 608, 80, 51, 25, FromUtf8("Поиск"), button},
        {&f.SpeedButton1, kSpeedButton1, L"BUTTON", 608, 360, 23, 22, "", flat},
        {&f.SpeedButton2, kSpeedButton2, L"BUTTON", 616, 240, 23, 22, "", flat, 0,
         FromUtf8("Перенести текст из нижнего в верхнее окно")},
    };
}

}  // namespace glossira
