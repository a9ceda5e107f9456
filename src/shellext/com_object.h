// What every COM object of the library shares: its reference count, and its
// place in the count of live objects that keeps the library loaded.
#pragma once

#include <windows.h>
#include <objbase.h>

#include <atomic>

#include "shellext/module.h"

namespace glossira::shellext {

// `Derived::Find(iid)` gives the interface pointer for an interface id, or
// null when the object has none of that id.
template <class Derived, class... Interfaces>
class ComObject : public Interfaces... {
public:
    ComObject() { ObjectCreated(); }
    ~ComObject() { ObjectDestroyed(); }
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override
    {
        if (!object) return E_POINTER;
        *object = static_cast<Derived*>(this)->Find(iid);
        if (!*object) return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++refs_; }
    STDMETHODIMP_(ULONG) Release() override
    {
        const ULONG left = --refs_;
        if (left == 0) delete static_cast<Derived*>(this);
        return left;
    }

private:
    std::atomic<ULONG> refs_{1};
};

}  // namespace glossira::shellext
