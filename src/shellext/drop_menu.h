// The right-drag menu's handler: dropping files with the right mouse button
// on a folder, a drive or a folder window offers to copy or move them there
// with their comments.
#pragma once

#include <windows.h>
#include <objbase.h>

namespace glossira::shellext {

// A new drop handler object for `iid`, its one reference handed to the caller.
HRESULT CreateDropMenu(REFIID iid, void** object);

}  // namespace glossira::shellext
