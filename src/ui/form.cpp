#include "ui/form.h"

#include <commctrl.h>

#include "core/cp1251.h"
#include "core/dynamic_calls_win.h"
#include "core/error.h"
#include "core/messages.h"
#include "core/wide_win.h"
#include "ui/resource_ids.h"

namespace glossira {
namespace {

UINT DpiOf(HWND hwnd)
{
    auto getDpi = dyn::GetDpiForWindow();
    if (getDpi && hwnd) {
        if (UINT dpi = getDpi(hwnd)) return dpi;
    }
    WindowDc screen(nullptr);
    UINT dpi = static_cast<UINT>(GetDeviceCaps(screen.get(), LOGPIXELSY));
    return dpi ? dpi : 96;
}

}  // namespace

Form::~Form()
{
    if (hwnd_) {
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
}

int Form::Scale(int value) const { return MulDiv(value, static_cast<int>(dpi_), 96); }

void Form::Create(const FormSpec& spec)
{
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (!GetClassInfoExW(instance, spec.className, &wc)) {
        wc = WNDCLASSEXW{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = &Form::Proc;
        wc.hInstance = instance;
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_GLOSSIRA));
        wc.lpszClassName = spec.className;
        RegisterClassExW(&wc);
    }
    dpi_ = DpiOf(nullptr);
    CreateWindowExW(spec.exStyle, spec.className, Wide(spec.caption).c_str(), spec.style, Scale(spec.left),
                    Scale(spec.top), Scale(spec.width), Scale(spec.height), nullptr, nullptr, instance, this);
    if (!hwnd_) {
        const DWORD code = GetLastError();
        throw Error(SystemMessage(code), code);
    }
    // The window's own DPI (its monitor's) serves both its size and its controls.
    if (UINT dpi = DpiOf(hwnd_); dpi != dpi_) {
        dpi_ = dpi;
        SetWindowPos(hwnd_, nullptr, Scale(spec.left), Scale(spec.top), Scale(spec.width), Scale(spec.height),
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    SetIcons();
    font_ = NewFont(FW_NORMAL);
}

// The caption and the task bar show the program's icon at this window's DPI.
void Form::SetIcons()
{
    for (auto [which, size] : {std::pair{ICON_SMALL, 16}, std::pair{ICON_BIG, 32}}) {
        int pixels = Scale(size);
        auto icon = LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_GLOSSIRA), IMAGE_ICON, pixels, pixels,
                               LR_SHARED);
        SendMessageW(hwnd_, WM_SETICON, which, reinterpret_cast<LPARAM>(icon));
    }
}

UniqueFont Form::NewFont(int weight) const
{
    return UniqueFont(CreateFontW(-MulDiv(8, static_cast<int>(dpi_), 72), 0, 0, 0, weight, FALSE, FALSE, FALSE,
                                  DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                  DEFAULT_PITCH | FF_DONTCARE, L"MS Sans Serif"));
}

// Moved to a monitor of another DPI: every control again from its bounds at
// 96 DPI, a new font, the rectangle Windows suggests.
void Form::ApplyDpi(UINT dpi, const RECT* suggested)
{
    if (dpi && dpi != dpi_) {
        dpi_ = dpi;
        UniqueFont old = std::move(font_);  // kept until no control uses it
        font_ = NewFont(FW_NORMAL);
        for (const Placed& p : layout_) {
            SetWindowPos(p.control, nullptr, Scale(p.bounds.left), Scale(p.bounds.top), Scale(p.bounds.width),
                         Scale(p.bounds.height), SWP_NOZORDER | SWP_NOACTIVATE);
            SendMessageW(p.control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), TRUE);
        }
    }
    if (suggested)
        SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    SetIcons();
    OnDpiChanged();
}

void Form::CreateControls(const std::vector<ControlSpec>& controls)
{
    HINSTANCE instance = GetModuleHandleW(nullptr);
    for (const auto& c : controls) {
        const Bounds& b = c.bounds;
        HWND control = CreateWindowExW(c.exStyle, c.cls, Wide(c.text).c_str(), WS_CHILD | c.style, Scale(b.left),
                                       Scale(b.top), Scale(b.width), Scale(b.height), hwnd_,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), instance, nullptr);
        if (!control) {
            const DWORD code = GetLastError();
            throw Error(SystemMessage(code), code);
        }
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
        if (c.member) *c.member = control;
        layout_.push_back({control, b});
        if (c.hint.empty()) continue;
        if (!tooltip_) {
            tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                       CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr,
                                       instance, nullptr);
        }
        std::wstring hint = Wide(c.hint);
        TOOLINFOW info{};
        info.cbSize = sizeof info;
        info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        info.hwnd = hwnd_;
        info.uId = reinterpret_cast<UINT_PTR>(control);
        info.lpszText = hint.data();
        SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    }
}

void Form::Show()
{
    ShowWindow(hwnd_, SW_SHOW);
    SetForegroundWindow(hwnd_);
}

void Form::Hide() { ShowWindow(hwnd_, SW_HIDE); }

bool Form::Visible() const { return IsWindowVisible(hwnd_) != FALSE; }

void Form::SetCaption(const std::string& caption) { SetWindowTextW(hwnd_, Wide(caption).c_str()); }

LRESULT CALLBACK Form::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_NCCREATE) {
        auto* form = static_cast<Form*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
        form->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
    }
    auto* form = reinterpret_cast<Form*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!form) return DefWindowProcW(hwnd, msg, wp, lp);
    LRESULT result = 0;
    bool done = false;
    Guarded([&] {
        result = form->Dispatch(msg, wp, lp);
        done = true;
    });
    return done ? result : 0;
}

LRESULT Form::Dispatch(UINT msg, WPARAM wp, LPARAM lp)
{
    if (std::optional<LRESULT> result = OnMessage(msg, wp, lp)) return *result;
    switch (msg) {
    case WM_ACTIVATE:
        if (OnActivate(LOWORD(wp) != WA_INACTIVE)) return 0;
        break;
    case WM_COMMAND:
        if (OnCommand(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp))) return 0;
        break;
    case WM_TIMER:
        OnTimer(wp);
        return 0;
    case WM_CLOSE:
        if (OnClose()) return 0;
        break;
    case WM_DPICHANGED:
        ApplyDpi(LOWORD(wp), reinterpret_cast<const RECT*>(lp));
        return 0;
    default:
        break;
    }
    return DefWindowProcW(hwnd_, msg, wp, lp);
}

// Leaving the window remembers the focused control; coming back focuses it.
bool Form::OnActivate(bool active)
{
    if (!active) {
        HWND focus = GetFocus();
        if (focus && IsChild(hwnd_, focus)) focus_ = focus;
        return true;
    }
    if (!focus_ || !IsWindow(focus_)) return false;
    SetFocus(focus_);
    return true;
}

HWND MessageOwner()
{
    HWND active = GetActiveWindow();
    if (active && IsWindowVisible(active)) return active;
    return nullptr;
}

void ShowErrorBox(const std::string& message)
{
    MessageBoxW(MessageOwner(), Wide(ErrorBoxText(message)).c_str(), Wide(msg::AppTitle()).c_str(),
                MB_OK | MB_ICONERROR);
}

void ShowMessage(const std::string& message) { ShowMessage(ToUtf16(message)); }

void ShowMessage(const std::u16string& message)
{
    const std::wstring text(message.begin(), message.end());
    MessageBoxW(MessageOwner(), text.c_str(), Wide(msg::AppTitle()).c_str(), MB_OK);
}

bool AskYesNo(const std::string& question)
{
    return MessageBoxW(MessageOwner(), Wide(question).c_str(), Wide(msg::AppTitle()).c_str(),
                       MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
}

int AskYesNoCancel(const std::string& question)
{
    return MessageBoxW(MessageOwner(), Wide(question).c_str(), Wide(msg::AppTitle()).c_str(),
                       MB_YESNOCANCEL | MB_ICONQUESTION);
}

void ShowUnexpectedError()
{
    try {
        throw;
    } catch (const std::bad_alloc&) {
        ShowErrorBox(SystemMessage(ERROR_NOT_ENOUGH_MEMORY));
    } catch (const std::exception& e) {
        ShowErrorBox(e.what());
    } catch (...) {
        ShowErrorBox(SystemMessage(ERROR_INTERNAL_ERROR));
    }
}

void Terminate() { PostQuitMessage(0); }

}  // namespace glossira
