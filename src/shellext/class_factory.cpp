#include "shellext/class_factory.h"

#include <new>

#include "core/wide_win.h"
#include "shell/install.h"
#include "shellext/com_object.h"
#include "shellext/context_menu.h"
#include "shellext/drop_menu.h"
#include "shellext/explorer_command.h"
#include "shellext/module.h"

namespace glossira::shellext {
namespace {

class ClassFactory final : public ComObject<ClassFactory, IClassFactory> {
public:
    explicit ClassFactory(CreateFunction create) : create_(create) {}

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
        return create_(iid, object);
    }
    STDMETHODIMP LockServer(BOOL lock) override
    {
        shellext::LockServer(lock != FALSE);
        return S_OK;
    }

private:
    CreateFunction create_;
};

bool IsClass(REFCLSID clsid, const char* id)
{
    CLSID ours = {};
    return SUCCEEDED(CLSIDFromString(Wide(id).c_str(), &ours)) && IsEqualCLSID(clsid, ours);
}

CreateFunction CreatorOf(REFCLSID clsid)
{
    if (IsClass(clsid, kHandlerClassId)) return CreateContextMenu;
    if (IsClass(clsid, kDropHandlerClassId)) return CreateDropMenu;
    if (IsEqualCLSID(clsid, kCommandClass)) return CreateExplorerCommand;
    return nullptr;
}

}  // namespace

HRESULT GetClassFactory(REFCLSID clsid, REFIID iid, void** object)
{
    if (!object) return E_POINTER;
    *object = nullptr;
    try {
        const CreateFunction create = CreatorOf(clsid);
        if (!create) return CLASS_E_CLASSNOTAVAILABLE;
        auto* factory = new (std::nothrow) ClassFactory(create);
        if (!factory) return E_OUTOFMEMORY;
        const HRESULT hr = factory->QueryInterface(iid, object);
        factory->Release();
        return hr;
    } catch (...) {
        return E_OUTOFMEMORY;  // nothing may leave an export into Explorer
    }
}

}  // namespace glossira::shellext
