// The menu item's picture: the program's icon as a 32-bit bitmap with
// premultiplied alpha, the form MENUITEMINFO.hbmpItem draws.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "core/unique_win.h"

namespace glossira::shellext {

// The icon resource `iconId` of `module` at the small-icon size of `dpi`;
// empty when it cannot be made.
UniqueBitmap MenuBitmap(HMODULE module, int iconId, UINT dpi);

// The DPI menus are drawn at: the system's.
UINT MenuDpi();

// Pixels 0xAARRGGBB made premultiplied. An icon without an alpha channel
// (every alpha 0) takes its transparency from the mask: a non-zero mask
// pixel is transparent.
void Premultiply(std::vector<std::uint32_t>& pixels, const std::vector<std::uint32_t>& mask);

}  // namespace glossira::shellext
