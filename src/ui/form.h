// A top-level window built from a control table: bounds at 96 DPI scaled to
// the monitor, the program's font, tooltips for hints, tab order by creation
// order. Every message goes through one guard, so no exception ever leaves
// the window procedure.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "core/unique_win.h"

namespace glossira {

struct Bounds {
    int left, top, width, height;
};

struct ControlSpec {
    HWND* member = nullptr;  // where the form keeps the control
    int id = 0;
    const wchar_t* cls = nullptr;
    Bounds bounds{};   // client coordinates at 96 DPI
    std::string text;  // Windows-1251
    DWORD style = 0;
    DWORD exStyle = 0;
    std::string hint;  // tooltip; empty: none
};

struct FormSpec {
    const wchar_t* className;
    std::string caption;  // Windows-1251
    int left, top, width, height;  // outer bounds at 96 DPI
    DWORD style;
    DWORD exStyle = 0;
};

class Form {
public:
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    HWND hwnd() const { return hwnd_; }
    void Show();
    void Hide();
    bool Visible() const;
    void SetCaption(const std::string& caption);
    // Scales a length given at 96 DPI to this window's DPI.
    int Scale(int value) const;
    UINT Dpi() const { return dpi_; }

protected:
    Form() = default;
    void Create(const FormSpec& spec);
    void CreateControls(const std::vector<ControlSpec>& controls);
    HFONT Font() const { return font_.get(); }
    // The program's font, "MS Sans Serif" 8 point, at this window's DPI.
    UniqueFont NewFont(int weight) const;

    // Keyboard focus returns to the control that had it when the window was
    // left; at first to `control`.
    void FocusAtFirst(HWND control) { focus_ = control; }

    // Handlers; each returns true when it handled the message.
    virtual bool OnCommand(int /*id*/, int /*code*/, HWND /*control*/) { return false; }
    virtual void OnTimer(UINT_PTR /*id*/) {}
    virtual bool OnClose() { return false; }  // true: do not destroy
    // Any message first: its result, or nothing for the usual handling.
    virtual std::optional<LRESULT> OnMessage(UINT /*msg*/, WPARAM /*wp*/, LPARAM /*lp*/) { return std::nullopt; }
    // After a DPI change has re-scaled the controls and their font: what
    // else the window draws at its DPI (pictures, other fonts, item heights).
    virtual void OnDpiChanged() {}

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT Dispatch(UINT msg, WPARAM wp, LPARAM lp);
    bool OnActivate(bool active);
    void ApplyDpi(UINT dpi, const RECT* suggested);
    void SetIcons();

    struct Placed {
        HWND control;
        Bounds bounds;  // at 96 DPI
    };
    std::vector<Placed> layout_;
    HWND hwnd_ = nullptr;
    HWND tooltip_ = nullptr;
    HWND focus_ = nullptr;
    UINT dpi_ = 96;
    UniqueFont font_;
};

// The error box of the whole program: the message with the full-stop rule,
// the error icon, the application title.
void ShowErrorBox(const std::string& message);
// A plain message box with one OK button titled with the application title.
void ShowMessage(const std::string& message);
void ShowMessage(const std::u16string& message);  // for names Windows-1251 cannot hold
// A Yes/No question titled with the application title, No the default;
// true for Yes.
bool AskYesNo(const std::string& question);
// A Yes/No/Cancel question titled with the application title, Yes the
// default: IDYES, IDNO or IDCANCEL (also for Esc).
int AskYesNoCancel(const std::string& question);
// The window message boxes are owned by: the visible form, if any.
HWND MessageOwner();

// Runs an action, showing any error in the error box; true when it succeeded.
template <class F>
bool Guarded(F&& action);

// Ends the program: the event loop stops and the process exits with 0.
void Terminate();

}  // namespace glossira

#include "ui/form_guard.h"
