#include "ui/settings_form.h"

#include "core/cp1251.h"

namespace glossira {

void SettingsForm::FormCreate()
{
    Create({L"TForm2", FromUtf8("Установки (запуск glossira.exe без параметров показывает это окно)"), 8, 39, 661,
            422, WS_POPUP | WS_CAPTION | WS_CLIPCHILDREN});
}

void SettingsForm::Fill(const Settings&) {}

LRESULT SettingsForm::OnMessage(UINT msg, WPARAM, LPARAM, bool& handled)
{
    handled = msg == WM_CLOSE;
    if (handled) Terminate();  // closing saves nothing
    return 0;
}

}  // namespace glossira
