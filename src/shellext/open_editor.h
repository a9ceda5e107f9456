// What choosing the item does in either menu: the editor on the selected
// files, started from glossira.exe beside the library or where it was
// registered.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace glossira::shellext {

// The program on the selected files, with the switches of an operation (none
// for the editor). S_OK once the program has started; the failure's HRESULT
// otherwise.
HRESULT StartProgramOn(const std::vector<std::wstring>& paths, const std::vector<std::u16string>& switches, int show);

inline HRESULT OpenEditorOn(const std::vector<std::wstring>& paths, int show) { return StartProgramOn(paths, {}, show); }

}  // namespace glossira::shellext
