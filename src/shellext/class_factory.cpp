#include "shellext/class_factory.h"

#include "shellext/com_object.h"
#include "shellext/context_menu.h"
#include "shellext/module.h"

namespace glossira::shellext {
namespace {

class ClassFactory final : public ComObject<ClassFactory, IClassFactory> {
public:
    void* Find(REFIID iid)
    {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory))
            return static_cast<IClassFactory*>(this);
        return nullptr;
    }

    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** object) override
    {
        if (!object) return E_POINTER;
        *object = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        return CreateContextMenu(iid, object);
    }
    STDMETHODIMP LockServer(BOOL lock) override
    {
        shellext::LockServer(lock != FALSE);
        return S_OK;
    }
};

}  // namespace

HRESULT GetClassFactory(REFIID iid, void** object) { return CreateObject<ClassFactory>(iid, object); }

}  // namespace glossira::shellext
