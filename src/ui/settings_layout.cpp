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
        {.member = &f.GroupBox1, .id = kGroupBox1, .cls = L"BUTTON", .bounds = {g1x, g1y, 633, 97}, .text = FromUtf8("Инсталляция в систему"), .style = group},
        {.member = &f.CheckBox4, .id = kCheckBox4, .cls = L"BUTTON", .bounds = {g1x + 16, g1y + 24, 289, 17}, .text = FromUtf8("Инсталлировать в контекстное меню \"Отправить\""), .style = box | WS_GROUP},
        {.member = &f.CheckBox7, .id = kCheckBox7, .cls = L"BUTTON", .bounds = {g1x + 16, g1y + 48, 209, 17}, .text = FromUtf8("Инсталировать в контекстное меню "), .style = box},
        {.member = &f.CheckBox8, .id = kCheckBox8, .cls = L"BUTTON", .bounds = {g1x + 328, g1y + 24, 249, 17}, .text = FromUtf8("Удалить из контекстного меню \"Отправить\""), .style = box},
        {.member = &f.CheckBox9, .id = kCheckBox9, .cls = L"BUTTON", .bounds = {g1x + 328, g1y + 48, 233, 17}, .text = FromUtf8("Удалить из контекстного меню"), .style = box},
        {.member = &f.CheckBox5, .id = kCheckBox5, .cls = L"BUTTON", .bounds = {g1x + 192, g1y + 72, 177, 17}, .text = FromUtf8("Полное удаление программы"), .style = box},

        {.member = &f.GroupBox2, .id = kGroupBox2, .cls = L"BUTTON", .bounds = {g2x, g2y, 633, 169}, .text = FromUtf8("Брать дополнительный комментарий из "), .style = group},
        {.member = &f.Label3, .id = kLabel3, .cls = L"STATIC", .bounds = {g2x + 16, g2y + 24, 0, 0}, .text = FromUtf8("Из файлов в папке , где находится файл,к которому создается комментарий"), .style = label},
        {.member = &f.CheckBox1, .id = kCheckBox1, .cls = L"BUTTON", .bounds = {g2x + 32, g2y + 48, 17, 17}, .style = box | WS_GROUP},
        {.member = &f.Edit1, .id = kEdit1, .cls = L"EDIT", .bounds = {g2x + 56, g2y + 48, 561, 21}, .style = edit, .exStyle = client},
        {.member = &f.Label4, .id = kLabel4, .cls = L"STATIC", .bounds = {g2x + 16, g2y + 80, 0, 0}, .text = FromUtf8("Конкретное расположение файла"), .style = label},
        {.member = &f.CheckBox2, .id = kCheckBox2, .cls = L"BUTTON", .bounds = {g2x + 32, g2y + 104, 17, 17}, .style = box},
        {.member = &f.FilenameEdit1, .id = kFilenameEdit1, .cls = L"EDIT", .bounds = {g2x + 56, g2y + 104, 561 - browse, 21}, .style = edit, .exStyle = client},
        {.member = &f.FilenameEdit1Button, .id = kFilenameEdit1Browse, .cls = L"BUTTON", .bounds = {g2x + 56 + 561 - browse, g2y + 104, browse, 21}, .text = "...", .style = WS_VISIBLE | BS_PUSHBUTTON, .hint = "Browse"},
        {.member = &f.CheckBox3, .id = kCheckBox3, .cls = L"BUTTON", .bounds = {g2x + 32, g2y + 144, 281, 17}, .text = FromUtf8("Брать только одну , первую попавшуюся , строку  "), .style = box},
        {.member = &f.CheckBox10, .id = kCheckBox10, .cls = L"BUTTON", .bounds = {g2x + 328, g2y + 144, 289, 17}, .text = FromUtf8("Адрес загрузки из Zone.Identifier"), .style = box},

        {.member = &f.Button1, .id = kButton1, .cls = L"BUTTON", .bounds = {472, 336, 75, 25}, .text = "OK", .style = button | WS_GROUP},
        {.member = &f.Button2, .id = kButton2, .cls = L"BUTTON", .bounds = {560, 336, 75, 25}, .text = FromUtf8("Отмена"), .style = button},

        {.member = &f.GroupBox3, .id = kGroupBox3, .cls = L"BUTTON", .bounds = {g3x, g3y, 377, 81}, .text = FromUtf8("Расширение файла коментария"), .style = group},
        {.member = &f.Label5, .id = kLabel5, .cls = L"STATIC", .bounds = {g3x + 8, g3y + 24, 0, 0}, .text = FromUtf8("Имя расширения (без точки ) (по умолчанию \"txt\")"), .style = label},
        {.member = &f.Edit2, .id = kEdit2, .cls = L"EDIT", .bounds = {g3x + 280, g3y + 24, 89, 21}, .style = edit | WS_GROUP, .exStyle = client},
        {.member = &f.Label6, .id = kLabel6, .cls = L"STATIC", .bounds = {g3x + 8, g3y + 56, 0, 0}, .text = FromUtf8("Зарегестрировать данное расширение  для  этой  программы"), .style = label},
        {.member = &f.CheckBox6, .id = kCheckBox6, .cls = L"BUTTON", .bounds = {g3x + 352, g3y + 56, 17, 17}, .style = box},

        // A flat glyph button without caption: not a tab stop.
        {.member = &f.SpeedButton1, .id = kSpeedButton1, .cls = L"BUTTON", .bounds = {440, 336, 23, 22}, .style = WS_VISIBLE | BS_PUSHBUTTON | BS_FLAT | BS_ICON},
    };
}

}  // namespace glossira
