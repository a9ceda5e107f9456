#include "shellext/drop_menu.h"

#include <shlobj.h>

#include <string>
#include <vector>

#include "core/messages.h"
#include "shellext/selection_data.h"
#include "shellext/verb_menu.h"

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

class DropMenu final : public VerbMenu<DropMenu> {
public:
    static std::span<const Verb> Verbs() { return kVerbs; }
    bool Offers(int) const { return !folder_.empty(); }
    std::wstring Destination() const { return folder_; }

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
};

}  // namespace

HRESULT CreateDropMenu(REFIID iid, void** object) { return CreateObject<DropMenu>(iid, object); }

}  // namespace glossira::shellext
