#include "shellext/explorer_command.h"

#include <shobjidl.h>

#include <string>
#include <vector>

#include "core/messages.h"
#include "core/unique_win.h"
#include "core/wide_win.h"
#include "shell/com_win.h"
#include "shellext/com_object.h"
#include "shellext/module.h"
#include "shellext/open_editor.h"
#include "ui/resource_ids.h"

namespace glossira::shellext {
namespace {

// A copy the caller frees with CoTaskMemFree.
HRESULT Duplicate(const std::wstring& text, LPWSTR* out)
{
    if (!out) return E_POINTER;
    *out = nullptr;
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    auto* copy = static_cast<wchar_t*>(CoTaskMemAlloc(bytes));
    if (!copy) return E_OUTOFMEMORY;
    text.copy(copy, text.size());
    copy[text.size()] = 0;
    *out = copy;
    return S_OK;
}

// Anything selected. Nothing more is asked: the package offers the item for
// files alone, and an item's attributes cost the shell a walk of the whole
// selection (2.4 s for 1,000 files under Wine).
bool AnySelected(IShellItemArray* items)
{
    DWORD count = 0;
    return items && SUCCEEDED(items->GetCount(&count)) && count > 0;
}

std::vector<std::wstring> FileSystemPaths(IShellItemArray* items)
{
    std::vector<std::wstring> paths;
    DWORD count = 0;
    if (!items || FAILED(items->GetCount(&count))) return paths;
    paths.reserve(count);
    for (DWORD i = 0; i < count; ++i) {
        ComPtr<IShellItem> item;
        UniqueCoTaskString path;
        if (FAILED(items->GetItemAt(i, reinterpret_cast<IShellItem**>(item.put()))) ||
            FAILED(item->GetDisplayName(SIGDN_FILESYSPATH, path.put())) || !path)
            return {};  // one item without a path: nothing to open it with
        paths.emplace_back(path.get());
    }
    return paths;
}

class ExplorerCommand final : public ComObject<ExplorerCommand, IExplorerCommand> {
public:
    void* Find(REFIID iid)
    {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IExplorerCommand))
            return static_cast<IExplorerCommand*>(this);
        return nullptr;
    }

    STDMETHODIMP GetTitle(IShellItemArray*, LPWSTR* name) override
    {
        try {
            return Duplicate(Wide(msg::ContextMenuItem()), name);
        } catch (...) {
            return E_OUTOFMEMORY;
        }
    }
    // The program's icon in this library, as "path,-id".
    STDMETHODIMP GetIcon(IShellItemArray*, LPWSTR* icon) override
    {
        try {
            return Duplicate(ModulePath(ThisModule()) + L",-" + std::to_wstring(IDI_GLOSSIRA), icon);
        } catch (...) {
            return E_OUTOFMEMORY;
        }
    }
    STDMETHODIMP GetToolTip(IShellItemArray*, LPWSTR* tip) override
    {
        try {
            return Duplicate(Wide(msg::ContextMenuHelp()), tip);
        } catch (...) {
            return E_OUTOFMEMORY;
        }
    }
    STDMETHODIMP GetCanonicalName(GUID* name) override
    {
        if (!name) return E_POINTER;
        *name = kCommandClass;
        return S_OK;
    }
    // Never slow: the answer comes from the count alone.
    STDMETHODIMP GetState(IShellItemArray* items, BOOL, EXPCMDSTATE* state) override
    {
        if (!state) return E_POINTER;
        *state = AnySelected(items) ? ECS_ENABLED : ECS_HIDDEN;
        return S_OK;
    }
    STDMETHODIMP Invoke(IShellItemArray* items, IBindCtx*) override
    {
        try {
            const auto paths = FileSystemPaths(items);
            if (paths.empty()) return E_INVALIDARG;
            return OpenEditorOn(paths, SW_SHOWNORMAL);
        } catch (...) {
            return E_OUTOFMEMORY;
        }
    }
    STDMETHODIMP GetFlags(EXPCMDFLAGS* flags) override
    {
        if (!flags) return E_POINTER;
        *flags = ECF_DEFAULT;
        return S_OK;
    }
    STDMETHODIMP EnumSubCommands(IEnumExplorerCommand** commands) override
    {
        if (commands) *commands = nullptr;
        return E_NOTIMPL;
    }
};

}  // namespace

HRESULT CreateExplorerCommand(REFIID iid, void** object) { return CreateObject<ExplorerCommand>(iid, object); }

}  // namespace glossira::shellext
