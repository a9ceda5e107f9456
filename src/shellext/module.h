// The library's own state: its module handle and the count of live objects
// and server locks that keeps it loaded.
#pragma once

#include <windows.h>

namespace glossira::shellext {

HMODULE ThisModule();

void ObjectCreated();
void ObjectDestroyed();
void LockServer(bool lock);
// No object and no lock is alive.
bool CanUnload();

}  // namespace glossira::shellext
