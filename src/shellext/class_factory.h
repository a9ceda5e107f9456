// The class object of the handler's class id.
#pragma once

#include <windows.h>
#include <objbase.h>

namespace glossira::shellext {

HRESULT GetClassFactory(REFIID iid, void** object);

}  // namespace glossira::shellext
