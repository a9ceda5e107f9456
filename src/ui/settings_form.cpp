#include "ui/settings_form.h"

#include <commdlg.h>

#include <algorithm>
#include <string>

#include "core/dynamic_calls_win.h"
#include "core/paths.h"
#include "core/program_dir.h"
#include "core/text.h"
#include "core/wide_win.h"
#include "shell/menu_package_win.h"
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
    ShowChoices(SettingsChoices{}, false);
    FocusAtFirst(CheckBox4);
}

void SettingsForm::Fill(const Settings& s)
{
    CreateControlsOnce();
    ShowChoices(ChoicesFor(s), true);
}

std::span<const SettingsForm::Binding> SettingsForm::Bindings()
{
    using C = SettingsChoices;
    using F = SettingsForm;
    static const Binding bindings[] = {
        {.control = &F::CheckBox4, .box = &C::installSendTo, .saved = false},
        {.control = &F::CheckBox7, .box = &C::registerContextMenu, .saved = false},
        {.control = &F::CheckBox8, .box = &C::removeSendTo, .saved = false},
        {.control = &F::CheckBox9, .box = &C::unregisterContextMenu, .saved = false},
        {.control = &F::CheckBox5, .box = &C::fullRemoval, .saved = false},
        {.control = &F::CheckBox1, .box = &C::harvestLogs},
        {.control = &F::Edit1, .text = &C::logNames},
        {.control = &F::CheckBox2, .box = &C::harvestLogPath},
        {.control = &F::FilenameEdit1, .text = &C::logPath},
        {.control = &F::CheckBox3, .box = &C::firstLineOnly},
        {.control = &F::CheckBox10, .box = &C::zoneInfo},
        {.control = &F::Edit2, .text = &C::ext},
        {.control = &F::CheckBox6, .box = &C::associate, .saved = false},
    };
    return bindings;
}

void SettingsForm::ShowChoices(const SettingsChoices& c, bool savedOnly)
{
    for (const Binding& b : Bindings()) {
        if (savedOnly && !b.saved) continue;
        if (b.box) SetChecked(this->*b.control, c.*b.box);
        else SetEditText(this->*b.control, c.*b.text);
    }
}

SettingsChoices SettingsForm::Choices() const
{
    SettingsChoices c;
    for (const Binding& b : Bindings()) {
        if (b.box) c.*b.box = Checked(this->*b.control);
        else c.*b.text = EditText(this->*b.control);
    }
    return c;
}

HWND SettingsForm::Box(ChoiceBox box) const
{
    for (const Binding& b : Bindings())
        if (b.box == box) return this->*b.control;
    return nullptr;
}

void SettingsForm::InterlockClick(ChoiceBox box)
{
    if (!Checked(Box(box))) return;
    for (ChoiceBox other : BoxesUncheckedBy(box)) SetChecked(Box(other), false);
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
    WindowDc window(hwnd());
    HDC dc = window.get();
    Selection font(dc, Font());
    for (HWND label : {Label3, Label4, Label5, Label6}) {
        std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(label)) + 1, L'\0');
        text.resize(static_cast<std::size_t>(GetWindowTextW(label, text.data(), static_cast<int>(text.size()))));
        RECT r{};
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
        SetWindowPos(label, nullptr, 0, 0, r.right, r.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
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

void SettingsForm::Button1Click()
{
    const SettingsChoices choices = Choices();
    SettingsOutcome outcome = SettingsOk(choices, TheApp().Install(), *TheApp().dialogs);
    // Windows 11's own menu follows the classic one, for this user, when its
    // package lies beside the program (full removal takes it away too); a
    // failure leaves the classic menu.
    const bool registers = choices.registerContextMenu && !choices.fullRemoval;
    if (outcome.terminate && (registers || choices.unregisterContextMenu || choices.fullRemoval))
        ApplyMenuPackage(TheApp().Install().programDir,
                         registers ? MenuPackageAction::Register : MenuPackageAction::Remove);
    if (outcome.ext) SetEditText(Edit2, *outcome.ext);
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

bool SettingsForm::OnCommand(int id, int code, HWND control)
{
    if (id == IDOK || id == IDCANCEL) return true;  // neither button is the default or the cancel button
    if (code != BN_CLICKED) return false;
    for (const Binding& b : Bindings()) {
        if (this->*b.control != control || !b.box || BoxesUncheckedBy(b.box).empty()) continue;
        InterlockClick(b.box);
        return true;
    }
    switch (id) {
    case kButton1: Button1Click(); return true;
    case kButton2: Button2Click(); return true;
    case kSpeedButton1: SpeedButton1Click(); return true;
    case kFilenameEdit1Browse: FilenameEdit1ButtonClick(); return true;
    default: return false;
    }
}

std::optional<LRESULT> SettingsForm::OnMessage(UINT msg, WPARAM wp, LPARAM lp)
{
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
    case WM_CLOSE:
        FormCloseQuery();
        return 0;
    default:
        return std::nullopt;
    }
}

}  // namespace glossira
