#include "ui/viewer_form.h"

#include <commctrl.h>

#include "core/messages.h"
#include "core/startup.h"
#include "ui/controls_win.h"

namespace glossira {
namespace {
constexpr int kViewerMemo = 301;
}

void ViewerForm::FormCreate()
{
    Create({L"TForm3", msg::ViewerCaption(), 33, 13, 497, 431,
            WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN});
    CreateControls({{&Memo1, kViewerMemo, L"EDIT", 0, 0, 489, 385, "",
                     WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL,
                     WS_EX_CLIENTEDGE, ""}});
    SendMessageW(Memo1, EM_SETLIMITTEXT, 0, 0);
    SetWindowSubclass(Memo1, &ViewerForm::MemoProc, 1, 0);
}

void ViewerForm::Open(const std::string& text, const Settings& settings, const RunState& run)
{
    SetEditText(Memo1, text);
    back_ = settings.ColorBack & 0xFFFFFF;
    text_ = settings.ColorText & 0xFFFFFF;
    brush_.reset(CreateSolidBrush(back_));
    SetCaption(ViewerCaptionFor(run));
    Show();
    SetFocus(Memo1);
}

LRESULT CALLBACK ViewerForm::MemoProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR)
{
    if (msg == WM_KEYDOWN && wp == VK_ESCAPE) {
        Terminate();
        return 0;
    }
    return DefSubclassProc(hwnd, msg, wp, lp);
}

bool ViewerForm::OnCommand(int id, int, HWND)
{
    if (id == IDCANCEL) {  // Esc in the window
        Terminate();
        return true;
    }
    return false;
}

LRESULT ViewerForm::OnMessage(UINT msg, WPARAM wp, LPARAM, bool& handled)
{
    handled = true;
    switch (msg) {
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT: {
        HDC dc = reinterpret_cast<HDC>(wp);
        SetTextColor(dc, text_);
        SetBkColor(dc, back_);
        return reinterpret_cast<LRESULT>(brush_.get());
    }
    case WM_KEYDOWN:
        if (wp == VK_ESCAPE) Terminate();
        return 0;
    case WM_CLOSE:
        Terminate();
        return 0;
    default:
        handled = false;
        return 0;
    }
}

}  // namespace glossira
