// The item of Windows 11's own context menu: the same command as the classic
// handler's, as an IExplorerCommand that the menu package names.
#pragma once

#include <windows.h>
#include <objbase.h>

namespace glossira::shellext {

// {33B1497F-3BF6-4504-8934-32330C5CDF53}, the class the package's manifest names.
inline constexpr CLSID kCommandClass = {0x33B1497F, 0x3BF6, 0x4504, {0x89, 0x34, 0x32, 0x33, 0x0C, 0x5C, 0xDF, 0x53}};

// A new command object for `iid`, its one reference handed to the caller.
HRESULT CreateExplorerCommand(REFIID iid, void** object);

}  // namespace glossira::shellext
