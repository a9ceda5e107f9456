#include "shellext/drop_menu.h"

#include <shlobj.h>

#include <string>
#include <vector>

#include "core/messages.h"
#include "shellext/com_object.h"
#include "shellext/selection_data.h"
#include "shellext/verbs.h"

namespace glossira::shellext {
namespace {

constexpr Verb kVerbs[] = {
    {"glossira.copyhere", msg::CopyHereItem, msg::CopyHereHelp, u"copyhere"},
    {"glossira.movehere", msg::MoveHereItem, msg::MoveHereHelp, u"movehere"},
};
constexpr UINT kCommands = std::size(kVerbs);

std::wstring WithoutTrailingBackslash(std::wstring path)
{
    while (!path.empty() && path.back() == L'\\') path.pop_back();
    return path;
}

bool SameText(const std::wstring& a, const std::wstring& b)
{
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()),
                                TRUE) == CSTR_EQUAL;
}

class DropMenu final : public ComObject<DropMenu, IShellExtInit, IContextMenu> {
public:
    void* Find(REFIID iid)
    {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IShellExtInit))
            return static_cast<IShellExtInit*>(this);
        if (IsEqualIID(iid, IID_IContextMenu)) return static_cast<IContextMenu*>(this);
        return nullptr;
    }

    // IShellExtInit: the folder dropped on, and the dragged files.
    STDMETHODIMP Initialize(PCIDLIST_ABSOLUTE folder, IDataObject* data, HKEY) override
    {
        try {
            folder_.clear();
            paths_.clear();
            wchar_t path[MAX_PATH] = {};
            // A place that is no folder of the file system takes no files.
            if (!folder || !SHGetPathFromIDListW(folder, path)) return E_INVALIDARG;
            const HRESULT hr = ReadSelection(data, paths_);
            if (SUCCEEDED(hr)) folder_ = path;
            return hr;
        } catch (...) {
            folder_.clear();
            paths_.clear();
            return E_OUTOFMEMORY;
        }
    }

    // IContextMenu
    STDMETHODIMP QueryContextMenu(HMENU menu, UINT index, UINT first, UINT last, UINT flags) override
    {
        try {
            const HRESULT none = MAKE_HRESULT(SEVERITY_SUCCESS, FACILITY_NULL, 0);
            if ((flags & CMF_DEFAULTONLY) || paths_.empty() || folder_.empty() || first > last ||
                last - first < kCommands - 1 || AllInFolder())
                return none;
            for (UINT offset = 0; offset < kCommands; ++offset)
                if (!InsertItem(menu, index + offset, first + offset, kVerbs[offset].text()))
                    return HRESULT_FROM_WIN32(GetLastError());
            return MAKE_HRESULT(SEVERITY_SUCCESS, FACILITY_NULL, kCommands);
        } catch (...) {
            return E_OUTOFMEMORY;
        }
    }

    STDMETHODIMP InvokeCommand(CMINVOKECOMMANDINFO* info) override
    {
        try {
            if (!info || info->cbSize < sizeof *info) return E_INVALIDARG;
            const int offset = InvokedOffset(info, kVerbs);
            if (offset < 0) return E_FAIL;
            if (folder_.empty()) return E_UNEXPECTED;
            return StartVerb(kVerbs[offset], paths_, folder_, info->nShow);
        } catch (...) {
            return E_OUTOFMEMORY;
        }
    }

    STDMETHODIMP GetCommandString(UINT_PTR command, UINT type, UINT*, CHAR* name, UINT size) override
    {
        try {
            if (command >= kCommands) return E_INVALIDARG;
            return VerbString(kVerbs[command], type, name, size);
        } catch (...) {
            return E_OUTOFMEMORY;
        }
    }

private:
    // Dropped on their own folder: there is nothing to copy or move there.
    bool AllInFolder() const
    {
        const std::wstring folder = WithoutTrailingBackslash(folder_);
        for (const auto& path : paths_) {
            const auto slash = path.find_last_of(L'\\');
            if (slash == std::wstring::npos || !SameText(WithoutTrailingBackslash(path.substr(0, slash)), folder))
                return false;
        }
        return true;
    }

    std::wstring folder_;
    std::vector<std::wstring> paths_;
};

}  // namespace

HRESULT CreateDropMenu(REFIID iid, void** object) { return CreateObject<DropMenu>(iid, object); }

}  // namespace glossira::shellext
