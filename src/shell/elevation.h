// Under UAC an administrator's programs run with a limited token: the
// settings window, which writes machine-wide, asks for the full one first.
#pragma once

namespace glossira {

// TOKEN_ELEVATION_TYPE: no split token (UAC off, or not an administrator),
// the full token of an elevated administrator, the limited one of an
// administrator not elevated.
enum class TokenElevation { Default, Full, Limited };

// The process's token question and the restart. Win32: elevation_win; tests
// use doubles.
class ProcessToken {
public:
    virtual ~ProcessToken() = default;
    virtual TokenElevation Elevation() = 0;
    // Starts this program again, with no arguments, through the system's
    // consent prompt; false when the prompt is refused or the start fails.
    virtual bool RestartElevated() = 0;
};

// Settings mode: an administrator not elevated starts the program again
// elevated; true when that copy runs and this one must end. Everyone else,
// and a refused prompt, goes on here as before.
bool HandOverToElevated(ProcessToken& token);

}  // namespace glossira
