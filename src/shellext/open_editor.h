// What choosing the item does in either menu: the editor on the selected
// files, started from glossira.exe beside the library or where it was
// registered.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace glossira::shellext {

// S_OK once the program has started; the failure's HRESULT otherwise.
HRESULT OpenEditorOn(const std::vector<std::wstring>& paths, int show);

}  // namespace glossira::shellext
