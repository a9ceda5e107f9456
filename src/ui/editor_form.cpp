#include "ui/editor_form.h"

#include <commctrl.h>

#include "core/comment_file.h"
#include "core/error.h"
#include "core/messages.h"
#include "core/program_dir.h"
#include "core/wide_win.h"
#include "shell/settings_registry.h"
#include "shell/shell_ops.h"
#include "shell/shell_win.h"
#include "sources/clipboard_import.h"
#include "sources/clipboard_win.h"
#include "sources/harvest.h"
#include "ui/app.h"
#include "ui/controls_win.h"
#include "ui/editor_layout.h"
#include "ui/settings_form.h"
#include "ui/viewer_form.h"

namespace glossira {
namespace {
constexpr UINT_PTR kTimer1 = 1;
}

StartupOutcome EditorForm::FormCreate(std::u16string_view rawCommandLine)
{
    Create(EditorWindowSpec());
    CreateControls(EditorControls(*this));
    SendMessageW(Memo1, EM_SETLIMITTEXT, 0, 0);
    SendMessageW(Memo3, EM_SETLIMITTEXT, 0, 0);
    SendMessageW(ListBox2, LB_SETITEMHEIGHT, 0, Scale(13));
    SetTimer(hwnd(), kTimer1, 100, nullptr);

    App& app = TheApp();
    StartupOutcome outcome = RunStartup(*this, rawCommandLine, app.settings, app.run);
    saveAllowed_ = outcome.saveAllowed;
    if (!outcome.timerEnabled) KillTimer(hwnd(), kTimer1);
    return outcome;
}

void EditorForm::ClearEditor() { SetEditText(Memo1, ""); }

void EditorForm::LoadSettings(Settings& settings) { glossira::LoadSettings(*TheApp().registry, settings); }

bool EditorForm::FileExists(const std::string& path) { return TheApp().files.FileExists(path); }

void EditorForm::LoadComment(const std::string& path)
{
    SetEditText(Memo1, NormalizeLineEnds(TheApp().files.ReadWhole(path)));
}

std::optional<std::string> EditorForm::EditorFirstRow() { return FirstRow(Memo1); }

void EditorForm::SetEditorCaption(const std::string& caption) { SetCaption(caption); }

void EditorForm::RepairAssociation() { glossira::RepairAssociation(*TheApp().registry); }

void EditorForm::Harvest()
{
    App& app = TheApp();
    HarvestResult result = glossira::Harvest(app.files, app.settings, app.run);
    if (!result.lines.empty()) {
        std::string block;
        for (const auto& line : result.lines) block.append(line).append("\r\n");
        InsertAtStart(Memo1, block);
    }
    app.run.HeaderFound = result.headerFound;
    if (result.error) throw Error(*result.error);
}

void EditorForm::CopyClip()
{
    if (auto text = ReadClipboardText(hwnd()))
        SetListItems(ListBox2, ImportClipboard(ListItems(ListBox2), *text));
    if (!TheApp().run.HeaderFound) Harvest();
}

void EditorForm::Sav()
{
    App& app = TheApp();
    if (!app.run.HeaderFound) Harvest();
    const std::string path = app.run.CommentPath();
    if (!saveAllowed_) throw Error(Format(msg::CommentNotLoaded(), path));
    app.files.WriteAtomically(path, ComposeComment(EditText(Memo1), ListItems(ListBox2)));
    Terminate();
}

void EditorForm::BitBtn3Click() { SendMessageW(ListBox2, LB_RESETCONTENT, 0, 0); }

void EditorForm::SpeedButton1Click()
{
    Win32Shell shell;
    OpenHelp(shell, ProgramDir());
}

void EditorForm::SpeedButton2Click()
{
    auto items = ListItems(ListBox2);
    if (items.empty()) return;
    // Only whether the text is empty or ends with a line end matters; an
    // empty last row means the text ends with one (wrapped rows are never empty).
    std::string tail;
    if (GetWindowTextLengthW(Memo1) > 0) {
        auto lastRow = SendMessageW(Memo1, EM_GETLINECOUNT, 0, 0) - 1;
        auto lastStart = SendMessageW(Memo1, EM_LINEINDEX, lastRow, 0);
        tail = SendMessageW(Memo1, EM_LINELENGTH, lastStart, 0) == 0 ? "\n" : "x";
    }
    AppendAtEnd(Memo1, ListSuffix(tail, items));
    SendMessageW(ListBox2, LB_RESETCONTENT, 0, 0);
}

void EditorForm::Timer1Timer()
{
    App& app = TheApp();
    if (app.run.ViewerPending) {
        KillTimer(hwnd(), kTimer1);
        app.run.ViewerPending = false;
        if (!app.files.FileExists(app.run.CommentPath())) {
            Terminate();  // nothing to show: end rather than stay invisible
            return;
        }
        app.viewer->Open(NormalizeLineEnds(app.files.ReadWhole(app.run.CommentPath())), app.settings, app.run);
        Hide();
    } else if (app.run.SettingsPending) {
        app.run.SettingsPending = false;
        KillTimer(hwnd(), kTimer1);
        app.settingsForm->Fill(app.settings);
        app.settingsForm->Show();
    }
}

bool EditorForm::OnCommand(int id, int code, HWND)
{
    if (code != BN_CLICKED) return false;
    switch (id) {
    case kBitBtn1: BitBtn1Click(); return true;
    case kBitBtn2: BitBtn2Click(); return true;
    case kBitBtn3: BitBtn3Click(); return true;
    case kBitBtn4: BitBtn4Click(); return true;
    case kSpeedButton1: SpeedButton1Click(); return true;
    case kSpeedButton2: SpeedButton2Click(); return true;
    default: return false;
    }
}

void EditorForm::OnTimer(UINT_PTR id)
{
    if (id == kTimer1) Timer1Timer();
}

LRESULT EditorForm::OnMessage(UINT msg, WPARAM, LPARAM, bool& handled)
{
    handled = false;
    if (msg == WM_DESTROY) Terminate();  // closing the editor ends the program without saving
    return 0;
}

}  // namespace glossira
