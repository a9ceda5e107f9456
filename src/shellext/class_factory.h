// The class objects of the library's classes: the context-menu handler,
// the right-drag menu's handler and Windows 11's menu command.
#pragma once

#include <windows.h>
#include <objbase.h>

namespace glossira::shellext {

// Makes a new object of one class for an interface id.
using CreateFunction = HRESULT (*)(REFIID iid, void** object);

// The class object of `clsid`, or CLASS_E_CLASSNOTAVAILABLE for a class the
// library does not serve.
HRESULT GetClassFactory(REFCLSID clsid, REFIID iid, void** object);

}  // namespace glossira::shellext
