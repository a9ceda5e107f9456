// The library's exports: the class object, whether it may be unloaded, and
// registration through the settings window's own procedures.
#include <windows.h>
#include <objbase.h>
#include <olectl.h>

#include "core/paths.h"
#include "core/wide_win.h"
#include "shell/install.h"
#include "shell/registry_win.h"
#include "shell/shell_win.h"
#include "shellext/class_factory.h"
#include "shellext/module.h"

namespace glossira::shellext {
namespace {

// The program's folder is the library's own; glossira.exe lies beside it.
template <class Procedure>
HRESULT WithInstallContext(Procedure procedure)
{
    try {
        Win32Registry registry;
        Win32Shell shell;
        const std::string dir = ProgramDirOf(Narrow(ModulePath(ThisModule())));
        procedure(InstallContext{registry, shell, dir, dir + "glossira.exe"});
        return S_OK;
    } catch (...) {
        return SELFREG_E_CLASS;
    }
}

}  // namespace
}  // namespace glossira::shellext

using namespace glossira;

extern "C" {

HRESULT WINAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** object)
{
    if (!object) return E_POINTER;
    *object = nullptr;
    try {
        return shellext::GetClassFactory(clsid, iid, object);
    } catch (...) {
        return E_OUTOFMEMORY;  // nothing may leave an export into Explorer
    }
}

HRESULT WINAPI DllCanUnloadNow() { return shellext::CanUnload() ? S_OK : S_FALSE; }

HRESULT WINAPI DllRegisterServer() { return shellext::WithInstallContext(RegisterContextMenu); }

HRESULT WINAPI DllUnregisterServer() { return shellext::WithInstallContext(UnregisterContextMenu); }

}  // extern "C"
