// The program entry: windows created in order, start-up run by the editor's
// creation, then the event loop.
#include <windows.h>
#include <commctrl.h>

#include "core/dynamic_calls_win.h"
#include "core/error.h"
#include "core/messages.h"
#include "core/paths.h"
#include "core/program_dir.h"
#include "core/unique_win.h"
#include "core/wide_win.h"
#include "shell/elevation_win.h"
#include "shell/process_win.h"
#include "shell/registry_win.h"
#include "shell/shell_win.h"
#include "ui/app.h"
#include "ui/editor_form.h"
#include "ui/empty_form.h"
#include "ui/operation_mode.h"
#include "ui/settings_form.h"
#include "ui/viewer_form.h"

namespace glossira {
namespace {

// Nothing is ever loaded from the current folder or the target's folder.
void HardenDllSearch()
{
    SetDllDirectoryW(L"");
    if (auto setDefault = dyn::SetDefaultDllDirectories()) setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

int RunProgram()
{
    HardenDllSearch();
    SetProgramDir(ProgramDirOf(NarrowLossy(ModulePath())));
    ComApartment com;
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);

    App& app = TheApp();
    app.registry = std::make_unique<Win32Registry>();
    app.shell = std::make_unique<Win32Shell>();
    app.dialogs = std::make_unique<Win32Dialogs>();
    if (auto code = RunOperationMode(reinterpret_cast<const char16_t*>(GetCommandLineW()))) return *code;
    EditorForm editor;
    SettingsForm settings;
    ViewerForm viewer;
    EmptyForm form4;
    app.editor = &editor;
    app.settingsForm = &settings;
    app.viewer = &viewer;
    app.form4 = &form4;

    StartupOutcome outcome;
    bool created = Guarded([&] {
        outcome = editor.FormCreate(reinterpret_cast<const char16_t*>(GetCommandLineW()));
        if (outcome.skipped) ShowMessage(*outcome.skipped);
        if (outcome.error) ShowErrorBox(*outcome.error);
        if (outcome.end) return;
        settings.FormCreate();
        viewer.FormCreate();
        form4.FormCreate();
    });
    if (!created) return 1;
    if (outcome.end) return 0;
    // An administrator not elevated gets the settings window elevated, from
    // a copy started through the consent prompt; refused, it opens here.
    if (outcome.mode == Mode::Settings) {
        Win32ProcessToken token;
        if (HandOverToElevated(token)) return 0;
    }
    if (outcome.showMainWindow) editor.Show();

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        HWND active = GetActiveWindow();
        if (active && IsDialogMessageW(active, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    // Several files at once: the next one gets its own run, once this one's
    // windows are gone from the screen.
    if (!outcome.remaining.empty()) {
        editor.Hide();
        viewer.Hide();
        if (!StartProgram(ModulePath(), {}, outcome.remaining, SW_SHOWNORMAL))
            ShowErrorBox(Format(msg::NextNotStarted(), SystemMessage(GetLastError())));
    }
    return static_cast<int>(msg.wParam);
}

}  // namespace
}  // namespace glossira

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return glossira::RunProgram(); }
