#include "shellext/class_factory.h"

#include <atomic>

#include "shellext/context_menu.h"
#include "shellext/module.h"

namespace glossira::shellext {
namespace {

class ClassFactory final : public IClassFactory {
public:
    ClassFactory() { ObjectCreated(); }
    ~ClassFactory() { ObjectDestroyed(); }
    ClassFactory(const ClassFactory&) = delete;
    ClassFactory& operator=(const ClassFactory&) = delete;

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override
    {
        if (!object) return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
            *object = static_cast<IClassFactory*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++refs_; }
    STDMETHODIMP_(ULONG) Release() override
    {
        const ULONG left = --refs_;
        if (left == 0) delete this;
        return left;
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

private:
    std::atomic<ULONG> refs_{1};
};

}  // namespace

HRESULT GetClassFactory(REFIID iid, void** object) { return CreateObject<ClassFactory>(iid, object); }

}  // namespace glossira::shellext
