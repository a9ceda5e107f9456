#include "ui/settings_form.h"

#include <commdlg.h>

#include <algorithm>
#include <string>

#include "core/dynamic_calls_win.h"
#include "core/paths.h"
#include "core/program_dir.h"
#include "core/text.h"
#include "core/wide_win.h"
#include "shell/shell_ops.h"
#include "ui/app.h"
#include "ui/controls_win.h"
#include "ui/resource_ids.h"
#include "ui/settings_layout.h"

namespace glossira {
namespace {

using namespace settings_ids;

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kNavy = RGB(0, 0, 128);

bool Checked(HWND box) { return SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void SetChecked(HWND box, bool checked)
{
    SendMessageW(box, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

// Themed buttons draw their text in the theme's colour whatever
// WM_CTLCOLORSTATIC says; unthemed they honour it.
void SwitchThemeOff(HWND control)
{
    auto setTheme = dyn::SetWindowTheme();
    // Wine refuses the empty names Windows takes; a blank name matches no theme either.
    if (setTheme && FAILED(setTheme(control, L"", L""))) setTheme(control, L" ", L" ");
}

bool IsDirectory(const std::string& path)
{
    if (path.empty()) return false;
    DWORD attributes = GetFileAttributesW(Wide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

void SettingsForm::FormCreate() { Create(SettingsWindowSpec()); }

// The controls are made when the window is first filled: most runs never
// show it, and making them would delay the editor.
void SettingsForm::CreateControlsOnce()
{
    if (Edit1) return;
    CreateControls(SettingsControls(*this));
    for (HWND edit : {Edit1, FilenameEdit1, Edit2}) SendMessageW(edit, EM_SETLIMITTEXT, 0, 0);
    FitLabels();
    KeepColoursWhenThemed();
    LoadGlyph();
    SetChecked(CheckBox1, true);
    SetChecked(CheckBox3, true);
}

void SettingsForm::Fill(const Settings& s)
{
    CreateControlsOnce();
    SetChecked(CheckBox1, !s.NoLog);
    SetEditText(Edit1, s.Strlog);
    SetChecked(CheckBox2, s.LogPath);
    SetEditText(FilenameEdit1, s.PathStrLog);
    SetChecked(CheckBox3, !s.NoOneStr);
    SetChecked(CheckBox10, s.ZoneInfo);
    SetEditText(Edit2, s.Ext);
}

void SettingsForm::OnDpiChanged()
{
    if (!Edit1) return;  // no controls yet
    FitLabels();
    LoadGlyph();
}

// Labels size themselves to their one line of text.
void SettingsForm::FitLabels()
{
    HDC dc = GetDC(hwnd());
    HGDIOBJ old = SelectObject(dc, Font());
    for (HWND label : {Label3, Label4, Label5, Label6}) {
        std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(label)) + 1, L'\0');
        text.resize(static_cast<std::size_t>(GetWindowTextW(label, text.data(), static_cast<int>(text.size()))));
        RECT r{};
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
        SetWindowPos(label, nullptr, 0, 0, r.right, r.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    SelectObject(dc, old);
    ReleaseDC(hwnd(), dc);
}

void SettingsForm::KeepColoursWhenThemed()
{
    for (HWND control : {GroupBox1, GroupBox2, GroupBox3, CheckBox3, CheckBox10}) SwitchThemeOff(control);
}

// The help button's glyph: the editor's 15 x 15 help picture.
void SettingsForm::LoadGlyph()
{
    helpGlyph_ = LoadPicture(IDI_HELP, Scale(15));
    SetButtonPicture(SpeedButton1, helpGlyph_.get());
}

HWND SettingsForm::Box(int number) const
{
    switch (number) {
    case 4: return CheckBox4;
    case 5: return CheckBox5;
    case 7: return CheckBox7;
    case 8: return CheckBox8;
    case 9: return CheckBox9;
    default: return nullptr;
    }
}

void SettingsForm::InterlockClick(int number)
{
    if (!Checked(Box(number))) return;
    for (int other : BoxesUncheckedBy(number)) SetChecked(Box(other), false);
}

SettingsChoices SettingsForm::Choices() const
{
    SettingsChoices c;
    c.CheckBox1 = Checked(CheckBox1);
    c.CheckBox2 = Checked(CheckBox2);
    c.CheckBox3 = Checked(CheckBox3);
    c.CheckBox4 = Checked(CheckBox4);
    c.CheckBox5 = Checked(CheckBox5);
    c.CheckBox6 = Checked(CheckBox6);
    c.CheckBox7 = Checked(CheckBox7);
    c.CheckBox8 = Checked(CheckBox8);
    c.CheckBox9 = Checked(CheckBox9);
    c.CheckBox10 = Checked(CheckBox10);
    c.Edit1 = EditText(Edit1);
    c.Edit2 = EditText(Edit2);
    c.FilenameEdit1 = EditText(FilenameEdit1);
    return c;
}

void SettingsForm::Button1Click()
{
    SettingsOutcome outcome = SettingsOk(Choices(), TheApp().Install(), *TheApp().dialogs);
    if (outcome.edit2) SetEditText(Edit2, *outcome.edit2);
    if (outcome.error) ShowErrorBox(*outcome.error);
    if (outcome.message) ShowMessage(*outcome.message);
    if (outcome.terminate) Terminate();
}

void SettingsForm::Button2Click() { Terminate(); }  // nothing is saved

void SettingsForm::FormCloseQuery() { Terminate(); }

void SettingsForm::SpeedButton1Click()
{
    TheApp().OpenHelp();
}

// A file-open dialog starting at the field's file, in its folder when that
// exists; the chosen path replaces the text, cancelling leaves it.
void SettingsForm::FilenameEdit1ButtonClick()
{
    const std::string current = StripQuotes(EditText(FilenameEdit1));
    const std::string folder = FolderPart(current);
    std::wstring file(32768, L'\0');
    const std::wstring name = Wide(FileNamePart(current));
    name.copy(file.data(), std::min(name.size(), file.size() - 1));
    const std::wstring initialDir = IsDirectory(folder) ? Wide(folder) : std::wstring();

    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = hwnd();
    ofn.lpstrFilter = L"All files (*.*)\0*.*\0";
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrInitialDir = initialDir.empty() ? nullptr : initialDir.c_str();
    ofn.lpstrTitle = L"Browse";
    ofn.Flags = OFN_HIDEREADONLY | OFN_EXPLORER | OFN_ENABLESIZING | OFN_NOCHANGEDIR;
    if (!GetOpenFileNameW(&ofn)) return;
    SetEditText(FilenameEdit1, Narrow(file.c_str()));
}

bool SettingsForm::OnCommand(int id, int code, HWND)
{
    if (id == IDOK || id == IDCANCEL) return true;  // neither button is the default or the cancel button
    if (code != BN_CLICKED) return false;
    switch (id) {
    case kCheckBox4: InterlockClick(4); return true;
    case kCheckBox5: InterlockClick(5); return true;
    case kCheckBox7: InterlockClick(7); return true;
    case kCheckBox8: InterlockClick(8); return true;
    case kCheckBox9: InterlockClick(9); return true;
    case kButton1: Button1Click(); return true;
    case kButton2: Button2Click(); return true;
    case kSpeedButton1: SpeedButton1Click(); return true;
    case kFilenameEdit1Browse: FilenameEdit1ButtonClick(); return true;
    default: return false;
    }
}

LRESULT SettingsForm::OnMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled)
{
    handled = true;
    switch (msg) {
    case WM_CTLCOLORSTATIC: {
        HWND control = reinterpret_cast<HWND>(lp);
        HDC dc = reinterpret_cast<HDC>(wp);
        COLORREF colour = GetSysColor(COLOR_WINDOWTEXT);
        if (control == GroupBox1 || control == GroupBox2 || control == GroupBox3) colour = kRed;
        else if (control == Label3 || control == Label4 || control == Label5 || control == Label6 ||
                 control == CheckBox3 || control == CheckBox10)
            colour = kNavy;
        SetTextColor(dc, colour);
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_ACTIVATE:
        // Keyboard focus returns to where it was, at first the first box.
        if (LOWORD(wp) == WA_INACTIVE) {
            HWND focus = GetFocus();
            if (focus && IsChild(hwnd(), focus)) lastFocus_ = focus;
        } else {
            SetFocus(lastFocus_ ? lastFocus_ : CheckBox4);
        }
        return 0;
    case WM_CLOSE:
        FormCloseQuery();
        return 0;
    default:
        handled = false;
        return 0;
    }
}

}  // namespace glossira
