#include "ui/rename_form.h"

#include "core/error.h"
#include "core/file_name_rules.h"
#include "core/messages.h"
#include "core/text.h"
#include "core/wide_win.h"
#include "ui/controls_win.h"

namespace glossira {

using namespace rename_ids;

RenameForm::RenameForm(std::string name, std::function<bool(const std::string&)> taken)
    : name_(std::move(name)), taken_(std::move(taken))
{
    Create({L"TFormRename", msg::RenameCaption(), 240, 200, 380, 140,
            WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, WS_EX_DLGMODALFRAME});
    constexpr DWORD button = WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
    CreateControls({
        {.member = &Label1, .id = kLabel1, .cls = L"STATIC", .bounds = {12, 12, 350, 16}, .text = msg::RenameLabel(),
         .style = WS_VISIBLE},
        {.member = &Edit1, .id = kEdit1, .cls = L"EDIT", .bounds = {12, 32, 346, 21}, .text = name_,
         .style = WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, .exStyle = WS_EX_CLIENTEDGE},
        {.member = &ButtonOk, .id = kButtonOk, .cls = L"BUTTON", .bounds = {196, 68, 78, 25}, .text = "OK",
         .style = WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON},
        {.member = &ButtonCancel, .id = kButtonCancel, .cls = L"BUTTON", .bounds = {280, 68, 78, 25},
         .text = msg::CancelButton(), .style = button},
    });
    // As Explorer does: the name without its extension is selected.
    const auto dot = name_.rfind('.');
    const auto end = dot == std::string::npos || dot == 0 ? name_.size() : dot;
    SendMessageW(Edit1, EM_SETSEL, 0, static_cast<LPARAM>(Wide(name_.substr(0, end)).size()));
    FocusAtFirst(Edit1);
}

std::optional<std::string> RenameForm::Ask()
{
    Show();
    SetFocus(Edit1);
    MSG msg;
    while (!done_ && GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (IsDialogMessageW(hwnd(), &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    Hide();
    return result_;
}

bool RenameForm::OnCommand(int id, int, HWND)
{
    if (id == kButtonOk) ButtonOkClick();
    else if (id == kButtonCancel) Finish(std::nullopt);
    else return false;
    return true;
}

bool RenameForm::OnClose()
{
    Finish(std::nullopt);
    return true;
}

void RenameForm::ButtonOkClick()
{
    const std::string name = EditText(Edit1);
    if (name == name_) return Finish(std::nullopt);
    std::optional<std::string> refusal = NameRefusal(name);
    // A new name that differs only in case is the same file's.
    if (!refusal && UpperCase1251(name) != UpperCase1251(name_) && taken_(name))
        refusal = Format(msg::NameTaken(), name);
    if (refusal) {
        ShowErrorBox(*refusal);
        SetFocus(Edit1);
        return;
    }
    Finish(name);
}

void RenameForm::Finish(std::optional<std::string> result)
{
    result_ = std::move(result);
    done_ = true;
    PostMessageW(hwnd(), WM_NULL, 0, 0);  // wakes the loop
}

}  // namespace glossira
