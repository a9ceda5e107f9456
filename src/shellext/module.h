// The library's own state: its module handle and the count of live objects
// and server locks that keeps it loaded.
#pragma once

#include <windows.h>
#include <objbase.h>

#include <new>

namespace glossira::shellext {

HMODULE ThisModule();

void ObjectCreated();
void ObjectDestroyed();
void LockServer(bool lock);
// No object and no lock is alive.
bool CanUnload();

// A new object of the library asked for `iid`; the caller gets the one
// reference, or nothing.
template <class T>
HRESULT CreateObject(REFIID iid, void** object)
{
    if (!object) return E_POINTER;
    *object = nullptr;
    T* created = new (std::nothrow) T;
    if (!created) return E_OUTOFMEMORY;
    const HRESULT hr = created->QueryInterface(iid, object);
    created->Release();
    return hr;
}

}  // namespace glossira::shellext
