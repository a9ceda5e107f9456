// The class objects of the library's classes: the context-menu handler and
// the right-drag menu's handler.
#pragma once

#include <windows.h>
#include <objbase.h>

namespace glossira::shellext {

// CLASS_E_CLASSNOTAVAILABLE for a class id that is none of ours.
HRESULT GetClassFactory(REFCLSID clsid, REFIID iid, void** object);

}  // namespace glossira::shellext
