// What the context-menu handler and the right-drag handler share: a shell
// extension whose commands are a table of verbs that start the program.
// `Derived` gives `Verbs()`, `Offers(offset)` (the command may run for
// this selection) and `Destination()` (the folder an operation goes to,
// or empty).
#pragma once

#include <shlobj.h>

#include <string>
#include <vector>

#include "shellext/com_object.h"
#include "shellext/verbs.h"

namespace glossira::shellext {

template <class Derived>
class VerbMenu : public ComObject<Derived, IShellExtInit, IContextMenu> {
public:
    void* Find(REFIID iid)
    {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IShellExtInit))
            return static_cast<IShellExtInit*>(this);
        if (IsEqualIID(iid, IID_IContextMenu)) return static_cast<IContextMenu*>(this);
        return nullptr;
    }

    STDMETHODIMP InvokeCommand(CMINVOKECOMMANDINFO* info) override
    {
        try {
            if (!info || info->cbSize < sizeof *info) return E_INVALIDARG;
            const Derived& self = static_cast<const Derived&>(*this);
            const int offset = InvokedOffset(info, Derived::Verbs());
            if (offset < 0 || !self.Offers(offset)) return E_FAIL;
            return StartVerb(Derived::Verbs()[offset], paths_, self.Destination(), info->nShow);
        } catch (...) {
            return E_OUTOFMEMORY;
        }
    }

    STDMETHODIMP GetCommandString(UINT_PTR command, UINT type, UINT*, CHAR* name, UINT size) override
    {
        try {
            if (command >= Derived::Verbs().size()) return E_INVALIDARG;
            return VerbString(Derived::Verbs()[command], type, name, size);
        } catch (...) {
            return E_OUTOFMEMORY;
        }
    }

protected:
    std::vector<std::wstring> paths_;  // the selected or dragged files
};

}  // namespace glossira::shellext
