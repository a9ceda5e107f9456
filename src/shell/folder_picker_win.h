// The system's folder picker.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace glossira {

// The folder the user picks, or nothing when the picker is cancelled.
// Needs COM on the calling thread; a folder Windows-1251 cannot name fails
// with a clear error.
std::optional<std::string> PickFolder(HWND owner, const std::string& title);

}  // namespace glossira
