// The persisted options and the per-run state, process-wide records filled
// at start-up.
#pragma once

#include <cstdint>
#include <string>

namespace glossira {

// The comment extension and the log files harvested while nothing else is set.
inline constexpr const char* kDefaultExt = "txt";
inline constexpr const char* kDefaultLogNames = "reget.log;descript.ion;";

struct Settings {
    bool NoLog = false;     // do not harvest the Strlog files
    bool LogPath = false;   // also harvest PathStrLog
    bool NoOneStr = false;  // take every matching line, not only the first
    bool ZoneInfo = false;  // also the download address in the target's Zone.Identifier
    std::string Ext = kDefaultExt;
    std::string Strlog = kDefaultLogNames;
    std::string PathStrLog;
    std::uint32_t ColorBack = 0xFFFFFF;  // 0x00BBGGRR
    std::uint32_t ColorText = 0;

    // An empty extension is the default one.
    void DefaultEmptyExt()
    {
        if (Ext.empty()) Ext = kDefaultExt;
    }
};

struct RunState {
    std::string TargetPath;
    std::string TargetDir;    // with one trailing backslash, or empty
    std::string TargetName;
    std::string CommentName;  // NameWithoutExt(TargetPath) + "." + Ext
    bool HeaderFound = false;
    bool ViewerPending = false;
    bool SettingsPending = false;

    std::string CommentPath() const { return TargetDir + CommentName; }
};

// Where the settings live: HKEY_LOCAL_MACHINE\Software\Orvik\Glossira.
inline constexpr const char* kSettingsKey = "Software\\Orvik\\Glossira";

}  // namespace glossira
