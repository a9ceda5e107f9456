// Start-up: everything the editor window's creation does, as a sequence
// over a host that stands for the windows, the registry and the files.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/settings.h"

namespace glossira {

enum class Mode { Editor, Viewer, Settings };

class StartupHost {
public:
    virtual ~StartupHost() = default;
    virtual void ClearEditor() = 0;
    virtual void LoadSettings(Settings& settings) = 0;  // may raise Error
    virtual bool FileExists(const std::string& path) = 0;
    virtual bool PathExists(const std::string& path) = 0;  // a file or a folder
    // The paths of a list file, which is then deleted; raises Error when it
    // cannot be read or is not a list.
    virtual std::vector<std::u16string> TakeList(const std::u16string& file) = 0;
    // Reads the comment file into the editor (line ends normalised); may raise.
    virtual void LoadComment(const std::string& path) = 0;
    // The editor's first displayed row, or nothing when it has no lines.
    virtual std::optional<std::string> EditorFirstRow() = 0;
    virtual void SetEditorCaption(const std::string& caption) = 0;
    virtual void Harvest() = 0;            // may raise; sets HeaderFound
    virtual void RepairAssociation() = 0;  // viewer mode only
};

struct StartupOutcome {
    Mode mode = Mode::Editor;
    bool timerEnabled = true;
    bool showMainWindow = true;
    // The comment on disk is fully in the editor (or there is none), so a
    // save cannot lose any of it.
    bool saveAllowed = false;
    std::optional<std::string> error;  // shown by the error box; later steps skipped
    // The paths of a selection that get no editor, and why: shown before
    // the first editor opens.
    std::optional<std::u16string> skipped;
    // Nothing to open (no usable path, or a list that cannot be read): the
    // program ends once the messages are seen.
    bool end = false;
    // Several files at once: the paths the program starts itself on when
    // this run ends.
    std::vector<std::u16string> remaining;
};

// The start-up steps in order. An error stops them where it happens: the
// editor opens with what was done, the timer stays on with nothing pending;
// an error while reading a list file ends the program instead.
StartupOutcome RunStartup(StartupHost& host, std::u16string_view rawCommandLine, Settings& settings, RunState& run);

// The caption of the editor: the designed one, three blanks, the target name.
std::string EditorCaptionFor(const RunState& run);
// The caption of the viewer: the designed one, four blanks, the comment name.
std::string ViewerCaptionFor(const RunState& run);

}  // namespace glossira
