#include "ui/editor_form.h"

#include <commctrl.h>

#include "core/comment_file.h"
#include "core/error.h"
#include "core/messages.h"
#include "core/program_dir.h"
#include "core/wide_win.h"
#include "shell/list_file_win.h"
#include "shell/settings_registry.h"
#include "shell/shell_ops.h"
#include "sources/clipboard_import.h"
#include "sources/clipboard_win.h"
#include "sources/harvest.h"
#include "ui/app.h"
#include "ui/controls_win.h"
#include "ui/editor_layout.h"
#include "ui/resource_ids.h"
#include "ui/settings_form.h"
#include "ui/viewer_form.h"

namespace glossira {
namespace {

using namespace editor_ids;
constexpr UINT_PTR kTimer1 = 1;
constexpr UINT kWarnBeyond1251 = WM_APP + 1;  // posted when the editor first shows
}

StartupOutcome EditorForm::FormCreate(std::u16string_view rawCommandLine)
{
    Create(EditorWindowSpec());
    CreateControls(EditorControls(*this));
    SendMessageW(Memo1, EM_SETLIMITTEXT, 0, 0);
    SendMessageW(Memo3, EM_SETLIMITTEXT, 0, 0);
    SendMessageW(ListBox2, LB_SETITEMHEIGHT, 0, Scale(13));
    SetWindowSubclass(Memo1, &EditorForm::MemoProc, 1, 0);
    SetWindowSubclass(Memo3, &EditorForm::MemoProc, 1, 0);
    LoadPictures();
    // The comment has the focus at first (the zero-width Memo3 comes first
    // in the tab order but shows nothing).
    FocusAtFirst(Memo1);
    SetTimer(hwnd(), kTimer1, 100, nullptr);

    App& app = TheApp();
    StartupOutcome outcome = RunStartup(*this, rawCommandLine, app.settings, app.run);
    saveAllowed_ = outcome.saveAllowed;
    if (!outcome.timerEnabled) KillTimer(hwnd(), kTimer1);
    tracking_ = true;  // the harvest of start-up is not the user's change
    return outcome;
}

void EditorForm::OnDpiChanged()
{
    SendMessageW(ListBox2, LB_SETITEMHEIGHT, 0, Scale(13));
    LoadPictures();
}

void EditorForm::LoadPictures()
{
    const struct {
        HWND button;
        int icon;
        int size;  // at 96 DPI
    } pictures[] = {{BitBtn1, IDI_CLIPBOARD, 16}, {BitBtn2, IDI_SAVE, 16},   {BitBtn3, IDI_ERASE, 16},
                    {SpeedButton1, IDI_HELP, 15},  {SpeedButton2, IDI_ARROW, 16}};
    static_assert(std::size(pictures) == std::tuple_size_v<decltype(pictures_)>);
    for (std::size_t i = 0; i < std::size(pictures); ++i) {
        const int size = Scale(pictures[i].size);
        pictures_[i] = LoadPicture(pictures[i].icon, size);
        if (GetWindowTextLengthW(pictures[i].button) > 0)
            pictureLists_[i] = PictureWithText(pictures[i].button, pictures_[i].get(), size, Scale(4));
        else
            SetButtonPicture(pictures[i].button, pictures_[i].get());
    }
}

// The comment takes Enter but, as in any dialog, Tab moves to the next control.
// Esc does nothing: a multi-line edit in a dialog would post WM_CLOSE to the
// window on it, and the typed text would be gone.
LRESULT CALLBACK EditorForm::MemoProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR)
{
    if ((msg == WM_KEYDOWN || msg == WM_CHAR) && wp == VK_ESCAPE) return 0;
    if (msg == WM_GETDLGCODE && lp) {
        const MSG* key = reinterpret_cast<const MSG*>(lp);
        if (key->message == WM_KEYDOWN && key->wParam == VK_TAB)
            return DefSubclassProc(hwnd, msg, wp, lp) & ~(DLGC_WANTALLKEYS | DLGC_WANTTAB);
    }
    return DefSubclassProc(hwnd, msg, wp, lp);
}

void EditorForm::ClearEditor() { SetEditText(Memo1, ""); }

void EditorForm::LoadSettings(Settings& settings) { glossira::LoadSettings(*TheApp().registry, settings); }

bool EditorForm::FileExists(const std::string& path) { return TheApp().files.FileExists(path); }
bool EditorForm::PathExists(const std::string& path) { return TheApp().files.PathExists(path); }
std::vector<std::u16string> EditorForm::TakeList(const std::u16string& file) { return TakeListFile(file); }

void EditorForm::LoadComment(const std::string& path)
{
    const std::string bytes = TheApp().files.ReadWhole(path);
    loaded_ = FingerprintOf(bytes);
    DecodedComment comment = DecodeComment(bytes);
    commentEncoding_ = comment.encoding;
    beyond1251_ = comment.lossy ? Format(msg::CommentBeyond1251(), path) : std::string();
    SetEditText(Memo1, NormalizeLineEnds(comment.text));
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
    if (auto text = ReadClipboardText(hwnd())) {
        std::vector<std::string> items = ListItems(ListBox2);
        std::vector<std::string> imported = ImportClipboard(items, *text);
        changed_ = changed_ || imported != items;
        SetListItems(ListBox2, imported);
    }
    if (!TheApp().run.HeaderFound) Harvest();
}

void EditorForm::Sav()
{
    App& app = TheApp();
    const std::string path = app.run.CommentPath();
    // Another editor on the same comment may have saved since: ask before
    // anything changes, so that No leaves the editor as it was.
    if (saveAllowed_ && ChangedSinceLoaded(app.files, path, loaded_) &&
        !AskYesNo(Format(msg::CommentChanged(), path)))
        return;
    if (!app.run.HeaderFound) Harvest();
    if (!saveAllowed_) throw Error(Format(msg::CommentNotLoaded(), path));
    if (!beyond1251_.empty()) throw Error(beyond1251_);
    app.files.WriteAtomically(path,
                              EncodeComment(ComposeComment(EditText(Memo1), ListItems(ListBox2)), commentEncoding_));
    Terminate();
}

void EditorForm::BitBtn3Click()
{
    changed_ = changed_ || SendMessageW(ListBox2, LB_GETCOUNT, 0, 0) > 0;
    SendMessageW(ListBox2, LB_RESETCONTENT, 0, 0);
}

void EditorForm::SpeedButton1Click()
{
    TheApp().OpenHelp();
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
    changed_ = true;
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
        std::string text;
        // A comment that cannot be read is explained; the process then ends
        // rather than stay without a window.
        if (!Guarded([&] { text = NormalizeLineEnds(DecodeComment(app.files.ReadWhole(app.run.CommentPath())).text); })) {
            Terminate();
            return;
        }
        app.viewer->Open(text, app.settings, app.run);
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
    if (id == kMemo1 && code == EN_CHANGE) {  // typing, or a button's lines
        changed_ = changed_ || tracking_;
        return true;
    }
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

// Closing the window after the user changed the comment or the list asks
// whether to save: Yes does what "Запись и Выход" does (a failed save keeps
// the editor open with its text), No closes without saving, Cancel stays.
bool EditorForm::OnClose()
{
    if (!changed_) return false;
    switch (AskYesNoCancel(Format(msg::SaveOnClose(), TheApp().run.CommentPath()))) {
    case IDYES: Sav(); return true;  // on success Sav has ended the program
    case IDNO: return false;
    default: return true;
    }
}

void EditorForm::OnTimer(UINT_PTR id)
{
    if (id == kTimer1) Timer1Timer();
}

std::optional<LRESULT> EditorForm::OnMessage(UINT msg, WPARAM wp, LPARAM)
{
    if (msg == WM_DESTROY) Terminate();  // closing the editor ends the program without saving
    // When the editor is first seen, typing goes after the text (below the
    // harvested lines), and a comment that cannot be saved whole is explained.
    if (msg == WM_SHOWWINDOW && wp && !shown_) {
        shown_ = true;
        CaretAtEnd(Memo1);
        if (!beyond1251_.empty()) PostMessageW(hwnd(), kWarnBeyond1251, 0, 0);
    }
    if (msg == kWarnBeyond1251) {
        ShowMessage(beyond1251_);
        return 0;
    }
    return std::nullopt;
}

}  // namespace glossira
