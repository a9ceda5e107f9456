// The context-menu handler: one item that opens the comment editor on the
// selected files.
#pragma once

#include <windows.h>
#include <objbase.h>

namespace glossira::shellext {

// A new handler object for `iid`, its one reference handed to the caller.
HRESULT CreateContextMenu(REFIID iid, void** object);

}  // namespace glossira::shellext
