#include "shellext/class_factory.h"

#include "core/wide_win.h"
#include "shell/install.h"
#include "shellext/com_object.h"
#include "shellext/context_menu.h"
#include "shellext/drop_menu.h"
#include "shellext/module.h"

namespace glossira::shellext {
namespace {

using Creator = HRESULT (*)(REFIID, void**);

class ClassFactory final : public ComObject<ClassFactory, IClassFactory> {
public:
    void* Find(REFIID iid)
    {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory))
            return static_cast<IClassFactory*>(this);
        return nullptr;
    }
    void SetCreator(Creator create) { create_ = create; }

    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** object) override
    {
        if (!object) return E_POINTER;
        *object = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        return create_(iid, object);
    }
    STDMETHODIMP LockServer(BOOL lock) override
    {
        shellext::LockServer(lock != FALSE);
        return S_OK;
    }

private:
    Creator create_ = CreateContextMenu;
};

bool IsClass(REFCLSID clsid, const char* id)
{
    CLSID ours = {};
    return SUCCEEDED(CLSIDFromString(Wide(id).c_str(), &ours)) && IsEqualCLSID(clsid, ours);
}

}  // namespace

HRESULT GetClassFactory(REFCLSID clsid, REFIID iid, void** object)
{
    Creator create = nullptr;
    if (IsClass(clsid, kHandlerClassId)) create = CreateContextMenu;
    else if (IsClass(clsid, kDropHandlerClassId)) create = CreateDropMenu;
    else return CLASS_E_CLASSNOTAVAILABLE;
    const HRESULT hr = CreateObject<ClassFactory>(iid, object);
    if (SUCCEEDED(hr)) static_cast<ClassFactory*>(static_cast<IClassFactory*>(*object))->SetCreator(create);
    return hr;
}

}  // namespace glossira::shellext
