#include "ui/viewer_form.h"

#include <commctrl.h>

#include <algorithm>

#include "core/cp1251.h"
#include "core/dynamic_calls_win.h"
#include "core/messages.h"
#include "core/startup.h"
#include "core/wide_win.h"
#include "shell/settings_registry.h"
#include "ui/app.h"
#include "ui/controls_win.h"
#include "ui/editor_form.h"
#include "ui/viewer_layout.h"

namespace glossira {
namespace {

using namespace viewer_ids;

constexpr COLORREF kWhite = 0xFFFFFF;
constexpr COLORREF kBlack = 0;
constexpr COLORREF kLightGrey = 0xE5E5E5;

void AppendItem(HMENU menu, UINT_PTR id, const char* utf8Caption)
{
    AppendMenuW(menu, MF_STRING, id, Wide(FromUtf8(utf8Caption)).c_str());
}

}  // namespace

bool ColorDialog::Execute(HWND owner)
{
    CHOOSECOLORW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.rgbResult = color;
    dialog.lpCustColors = custom;
    dialog.Flags = flags;
    if (!ChooseColorW(&dialog)) return false;  // Cancel, or the dialog could not open
    color = dialog.rgbResult;
    return true;
}

void ViewerForm::FormCreate()
{
    std::fill(std::begin(ColorDialog1.custom), std::end(ColorDialog1.custom), kWhite);
    ColorDialog1.custom[0] = kLightGrey;  // custom colour A
    ColorDialog1.color = kLightGrey;
    ColorDialog1.flags = CC_RGBINIT | CC_FULLOPEN;
    std::fill(std::begin(ColorDialog2.custom), std::end(ColorDialog2.custom), kWhite);
    ColorDialog2.color = kBlack;
    ColorDialog2.flags = CC_RGBINIT;

    Create(ViewerWindowSpec());
    CreateMainMenu();
    CreateControls(ViewerControls(*this));
    FocusAtFirst(Memo1);
    SetMemoFont();
    SendMessageW(Memo1, EM_SETLIMITTEXT, 0, 0);
    SetWindowSubclass(Memo1, &ViewerForm::MemoProc, 1, 0);
    SetColors(back_, text_);
    AutoSize();
}

// The memo has its own font: the window's, in bold.
void ViewerForm::SetMemoFont()
{
    UniqueFont old = std::move(memoFont_);
    memoFont_ = NewFont(FW_BOLD);
    SendMessageW(Memo1, WM_SETFONT, reinterpret_cast<WPARAM>(memoFont_.get()), TRUE);
}

void ViewerForm::OnDpiChanged()
{
    SetMemoFont();
    AutoSize();
}

void ViewerForm::CreateMainMenu()
{
    HMENU bar = CreateMenu();
    HMENU settings = CreatePopupMenu();
    AppendItem(settings, kN3, "Цвет Фона");
    AppendItem(settings, kN4, "Цвет Текста");
    AppendItem(settings, kN7, "Выставить по умолчанию");
    AppendItem(settings, kN5, "");  // N5: an item with an empty caption and no action
    AppendItem(settings, kN6, "Сохранить Цвета");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(settings), Wide(FromUtf8("Установки")).c_str());
    AppendItem(bar, kN2, "Редактор");
    AppendItem(bar, kEsc1, "Выход (Esc)");
    SetMenu(hwnd(), bar);  // destroyed with the window
}

// The window fits its contents: the client area is exactly the memo.
void ViewerForm::AutoSize()
{
    RECT memo{};
    GetWindowRect(Memo1, &memo);
    RECT outer{0, 0, memo.right - memo.left, memo.bottom - memo.top};
    auto adjustForDpi = dyn::AdjustWindowRectExForDpi();
    const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(hwnd(), GWL_STYLE));
    const DWORD exStyle = static_cast<DWORD>(GetWindowLongPtrW(hwnd(), GWL_EXSTYLE));
    if (!adjustForDpi || !adjustForDpi(&outer, style, TRUE, exStyle, Dpi()))
        AdjustWindowRectEx(&outer, style, TRUE, exStyle);
    SetWindowPos(hwnd(), nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    // A menu bar that wraps onto a second row makes the client lower; a
    // frame drawn at another DPI than the one asked for, higher or wider.
    RECT client{};
    GetClientRect(hwnd(), &client);
    const int dx = (memo.right - memo.left) - (client.right - client.left);
    const int dy = (memo.bottom - memo.top) - (client.bottom - client.top);
    if (dx || dy)
        SetWindowPos(hwnd(), nullptr, 0, 0, outer.right - outer.left + dx, outer.bottom - outer.top + dy,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void ViewerForm::Open(const std::string& text, const Settings& settings, const RunState& run)
{
    SetEditText(Memo1, text);
    SetCaption(ViewerCaptionFor(run));
    ColorDialog1.color = settings.ColorBack & 0xFFFFFF;
    ColorDialog2.color = settings.ColorText & 0xFFFFFF;
    SetColors(settings.ColorBack & 0xFFFFFF, settings.ColorText & 0xFFFFFF);
    Show();
    SetFocus(Memo1);
}

void ViewerForm::SetColors(COLORREF back, COLORREF text)
{
    back_ = back;
    text_ = text;
    brush_.reset(CreateSolidBrush(back_));
    InvalidateRect(Memo1, nullptr, TRUE);
}

void ViewerForm::N3Click()
{
    if (ColorDialog1.Execute(hwnd())) SetColors(ColorDialog1.color, text_);
}

void ViewerForm::N4Click()
{
    if (ColorDialog2.Execute(hwnd())) SetColors(back_, ColorDialog2.color);
}

void ViewerForm::N7Click() { SetColors(kWhite, kBlack); }

void ViewerForm::N6Click()
{
    App& app = TheApp();
    if (!SaveColors(*app.registry, back_, text_)) {
        ShowMessage(msg::NeedNotGuest());
        return;
    }
    app.settings.ColorBack = back_;
    app.settings.ColorText = text_;
}

void ViewerForm::N2Click()
{
    Hide();
    TheApp().editor->Show();
}

void ViewerForm::Esc1Click() { Terminate(); }

LRESULT CALLBACK ViewerForm::MemoProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR)
{
    if (msg == WM_KEYDOWN && wp == VK_ESCAPE) {  // Memo1KeyDown
        Terminate();
        return 0;
    }
    return DefSubclassProc(hwnd, msg, wp, lp);
}

bool ViewerForm::OnCommand(int id, int, HWND)
{
    switch (id) {
    case kN3: N3Click(); return true;
    case kN4: N4Click(); return true;
    case kN7: N7Click(); return true;
    case kN5: return true;
    case kN6: N6Click(); return true;
    case kN2: N2Click(); return true;
    case kEsc1: Esc1Click(); return true;
    case IDCANCEL: Terminate(); return true;  // Esc in the window, through the dialog keys
    default: return false;
    }
}

std::optional<LRESULT> ViewerForm::OnMessage(UINT msg, WPARAM wp, LPARAM)
{
    switch (msg) {
    case WM_CTLCOLORSTATIC:  // a read-only edit asks for these
    case WM_CTLCOLOREDIT: {
        HDC dc = reinterpret_cast<HDC>(wp);
        SetTextColor(dc, text_);
        SetBkColor(dc, back_);
        return reinterpret_cast<LRESULT>(brush_.get());
    }
    case WM_KEYDOWN:  // FormKeyDown
        if (wp == VK_ESCAPE) Terminate();
        return 0;
    case WM_CLOSE:  // FormCloseQuery/FormClose: no question, the process ends
        Terminate();
        return 0;
    default:
        return std::nullopt;
    }
}

}  // namespace glossira
