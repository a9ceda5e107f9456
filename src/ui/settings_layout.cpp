// The settings window's table: bounds at 96 DPI within the client area. The
// controls of a group box are its siblings, placed at the box's origin plus
// their place in the box, and created right after it for the tab order.
#include "core/cp1251.h"
#include "ui/settings_form.h"
#include "ui/settings_layout.h"

namespace glossira {

using namespace settings_ids;

FormSpec SettingsWindowSpec()
{
    // No title-bar buttons and no system menu.
    return {L"TForm2", FromUtf8("Установки (запуск glossira.exe без параметров показывает это окно)"), 8, 39, 661,
            422, WS_POPUP | WS_CAPTION};  // group boxes leave their inside to the window
}

std::vector<ControlSpec> SettingsControls(SettingsForm& f)
{
    constexpr DWORD group = WS_VISIBLE | WS_GROUP | BS_GROUPBOX;
    constexpr DWORD box = WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX;
    constexpr DWORD label = WS_VISIBLE | SS_LEFT | SS_NOPREFIX;
    constexpr DWORD edit = WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL;
    constexpr DWORD button = WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
    constexpr DWORD client = WS_EX_CLIENTEDGE;
    constexpr int g1x = 8, g1y = 8, g2x = 8, g2y = 112, g3x = 8, g3y = 304;
    constexpr int browse = 21;  // the browse button at the right end of FilenameEdit1's 561 pixels
    return {
        {&f.GroupBox1, kGroupBox1, L"BUTTON", g1x, g1y, 633, 97, FromUtf8("Инсталляция в систему"), group},
        {&f.CheckBox4, kCheckBox4, L"BUTTON", g1x + 16, g1y + 24, 289, 17,
         FromUtf8("Инсталлировать в контекстное меню \"Отправить\""), box | WS_GROUP},
        {&f.CheckBox7, kCheckBox7, L"BUTTON", g1x + 16, g1y + 48, 209, 17,
         FromUtf8("Инсталировать в контекстное меню "), box},
        {&f.CheckBox8, kCheckBox8, L"BUTTON", g1x + 328, g1y + 24, 249, 17,
         FromUtf8("Удалить из контекстного меню \"Отправить\""), box},
        {&f.CheckBox9, kCheckBox9, L"BUTTON", g1x + 328, g1y + 48, 233, 17, FromUtf8("Удалить из контекстного меню"),
         box},
        {&f.CheckBox5, kCheckBox5, L"BUTTON", g1x + 192, g1y + 72, 177, 17, FromUtf8("Полное удаление программы"),
         box},

        {&f.GroupBox2, kGroupBox2, L"BUTTON", g2x, g2y, 633, 169, FromUtf8("Брать дополнительный комментарий из "),
         group},
        {&f.Label3, kLabel3, L"STATIC", g2x + 16, g2y + 24, 0, 0,
         FromUtf8("Из файлов в папке , где находится файл,к которому создается комментарий"), label},
        {&f.CheckBox1, kCheckBox1, L"BUTTON", g2x + 32, g2y + 48, 17, 17, "", box | WS_GROUP},
        {&f.Edit1, kEdit1, L"EDIT", g2x + 56, g2y + 48, 561, 21, "reget.log;descript.ion;", edit, client},
        {&f.Label4, kLabel4, L"STATIC", g2x + 16, g2y + 80, 0, 0, FromUtf8("Конкретное расположение файла"), label},
        {&f.CheckBox2, kCheckBox2, L"BUTTON", g2x + 32, g2y + 104, 17, 17, "", box},
        {&f.FilenameEdit1, kFilenameEdit1, L"EDIT", g2x + 56, g2y + 104, 561 - browse, 21, "", edit, client},
        {&f.FilenameEdit1Button, kFilenameEdit1Browse, L"BUTTON", g2x + 56 + 561 - browse, g2y + 104, browse, 21,
         "...", WS_VISIBLE | BS_PUSHBUTTON, 0, "Browse"},
        {&f.CheckBox3, kCheckBox3, L"BUTTON", g2x + 32, g2y + 144, 281, 17,
         FromUtf8("Брать только одну , первую попавшуюся , строку  "), box},
        {&f.CheckBox10, kCheckBox10, L"BUTTON", g2x + 328, g2y + 144, 289, 17,
         FromUtf8("Адрес загрузки из Zone.Identifier"), box},

        {&f.Button1, kButton1, L"BUTTON", 472, 336, 75, 25, "OK", button | WS_GROUP},
        {&f.Button2, kButton2, L"BUTTON", 560, 336, 75, 25, FromUtf8("Отмена"), button},

        {&f.GroupBox3, kGroupBox3, L"BUTTON", g3x, g3y, 377, 81, FromUtf8("Расширение файла коментария"), group},
        {&f.Label5, kLabel5, L"STATIC", g3x + 8, g3y + 24, 0, 0,
         FromUtf8("Имя расширения (без точки ) (по умолчанию \"txt\")"), label},
        {&f.Edit2, kEdit2, L"EDIT", g3x + 280, g3y + 24, 89, 21, "txt", edit | WS_GROUP, client},
        {&f.Label6, kLabel6, L"STATIC", g3x + 8, g3y + 56, 0, 0,
         FromUtf8("Зарегестрировать данное расширение  для  этой  программы"), label},
        {&f.CheckBox6, kCheckBox6, L"BUTTON", g3x + 352, g3y + 56, 17, 17, "", box},

        // A flat glyph button without caption: not a tab stop.
        {&f.SpeedButton1, kSpeedButton1, L"BUTTON", 440, 336, 23, 22, "", WS_VISIBLE | BS_PUSHBUTTON | BS_FLAT | BS_ICON},
    };
}

}  // namespace glossira
