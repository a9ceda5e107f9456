#include "core/startup.h"

#include "core/command_line.h"
#include "core/cp1251.h"
#include "core/error.h"
#include "core/list_file.h"
#include "core/messages.h"
#include "core/paths.h"
#include "core/selection.h"
#include "core/text.h"

namespace glossira {

std::string EditorCaptionFor(const RunState& run) { return msg::EditorCaption() + "   " + run.TargetName; }

std::string ViewerCaptionFor(const RunState& run) { return msg::ViewerCaption() + "    " + run.CommentName; }

StartupOutcome RunStartup(StartupHost& host, std::u16string_view rawCommandLine, Settings& settings, RunState& run)
{
    StartupOutcome out;
    bool listing = false;  // reading a list file: an error there leaves nothing to open
    try {
        host.ClearEditor();
        settings = Settings{};
        host.LoadSettings(settings);
        settings.DefaultEmptyExt();

        auto pieces = SplitCommandLine(rawCommandLine);
        if (pieces.size() < 2 || pieces[1].empty()) {
            run.SettingsPending = true;
            out.mode = Mode::Settings;
            out.showMainWindow = false;
            return out;
        }
        auto exists = [&host](const std::string& path) { return host.PathExists(path); };
        std::optional<std::vector<std::u16string>> selection;
        listing = true;
        const auto list = ListSwitchAt(pieces, 1);
        if (list) selection = host.TakeList(*list);
        listing = false;
        if (!list) selection = SelectionPieces(pieces, exists);
        if (selection) {
            JudgedSelection judged = JudgeSelection(*selection, exists);
            if (!judged.skipped.empty()) out.skipped = SkippedMessage(judged.skipped);
            if (judged.usable.empty()) {
                out.end = true;
                out.showMainWindow = false;
                out.timerEnabled = false;
                return out;
            }
            run.TargetPath = judged.usable.front();
            for (std::size_t i = 1; i < judged.usable.size(); ++i) out.remaining.push_back(ToUtf16(judged.usable[i]));
        } else {
            run.TargetPath = JoinTarget(pieces);
        }
        run.TargetDir = WithTrailingBackslash(FolderPart(run.TargetPath));
        run.TargetName = FileNamePart(run.TargetPath);
        host.SetEditorCaption(EditorCaptionFor(run));
        run.CommentName = NameWithoutExt(run.TargetPath) + "." + settings.Ext;

        const std::string comment = run.CommentPath();
        if (host.FileExists(comment)) {
            host.LoadComment(comment);
            auto first = host.EditorFirstRow();
            if (first && !run.TargetName.empty() && first->find(run.TargetName) != std::string::npos)
                run.HeaderFound = true;
        }
        out.saveAllowed = true;
        if (!run.HeaderFound) host.Harvest();

        if (UpperCase1251(comment) != UpperCase1251(run.TargetPath)) {
            out.timerEnabled = false;
            out.mode = Mode::Editor;
        } else {
            out.showMainWindow = false;
            host.RepairAssociation();
            run.ViewerPending = true;
            out.mode = Mode::Viewer;
        }
    } catch (const Error& e) {
        out.error = e.what();
        out.mode = Mode::Editor;
        out.timerEnabled = true;
        out.showMainWindow = true;
        run.ViewerPending = false;
        run.SettingsPending = false;
        if (listing) {
            out.end = true;
            out.showMainWindow = false;
            out.timerEnabled = false;
        }
    }
    return out;
}

}  // namespace glossira
