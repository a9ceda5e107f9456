#include "shellext/context_menu.h"

#include <shlobj.h>
#include <shellapi.h>

#include <string>
#include <string_view>
#include <vector>

#include "core/drop_files.h"
#include "core/messages.h"
#include "core/unique_win.h"
#include "core/wide_win.h"
#include "shellext/com_object.h"
#include "shellext/menu_bitmap.h"
#include "shellext/module.h"
#include "shellext/open_editor.h"
#include "ui/resource_ids.h"

namespace glossira::shellext {
namespace {

constexpr char kVerb[] = "glossira";
constexpr wchar_t kVerbW[] = L"glossira";

// A storage medium released with ReleaseStgMedium.
class Medium {
public:
    Medium() = default;
    ~Medium()
    {
        if (held_) ReleaseStgMedium(&medium_);
    }
    Medium(const Medium&) = delete;
    Medium& operator=(const Medium&) = delete;
    STGMEDIUM* put()
    {
        held_ = true;
        return &medium_;
    }
    DWORD type() const { return medium_.tymed; }
    HGLOBAL global() const { return medium_.hGlobal; }

private:
    STGMEDIUM medium_ = {};
    bool held_ = false;
};

// A global memory block locked for reading.
class GlobalView {
public:
    explicit GlobalView(HGLOBAL global) : global_(global), data_(static_cast<const char*>(GlobalLock(global))) {}
    ~GlobalView()
    {
        if (data_) GlobalUnlock(global_);
    }
    GlobalView(const GlobalView&) = delete;
    GlobalView& operator=(const GlobalView&) = delete;
    std::string_view bytes() const { return data_ ? std::string_view(data_, GlobalSize(global_)) : std::string_view(); }

private:
    HGLOBAL global_;
    const char* data_;
};

std::wstring FromAnsi(const std::string& text)
{
    int size = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(size > 0 ? size : 0), L'\0');
    if (size > 0) MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(), size);
    return out;
}

// The dropped file names, each of any length.
std::vector<std::wstring> DroppedPaths(HGLOBAL global)
{
    std::vector<std::wstring> paths;
    GlobalView view(global);
    auto list = ParseDropFiles(view.bytes());
    if (!list) return paths;
    paths.reserve(list->paths.size() + list->narrow.size());
    for (const auto& path : list->paths) paths.emplace_back(path.begin(), path.end());
    for (const auto& path : list->narrow) paths.push_back(FromAnsi(path));  // the ANSI form's code page
    return paths;
}

template <class Char>
HRESULT CopyOut(const std::basic_string<Char>& text, Char* buffer, UINT size)
{
    if (!buffer || size == 0) return E_INVALIDARG;
    const std::size_t n = std::min<std::size_t>(text.size(), size - 1);
    text.copy(buffer, n);
    buffer[n] = 0;
    return S_OK;
}

// The help text in the ANSI code page, which is what the ANSI form means.
std::string AnsiText(const std::wstring& text)
{
    int size = WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                   nullptr);
    std::string out(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    if (size > 0)
        WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), out.data(), size, nullptr, nullptr);
    return out;
}

// The item's picture, made once and kept until the library is unloaded: a
// host may still draw the menu after the handler that filled it is released.
HBITMAP MenuPicture()
{
    static const UniqueBitmap picture = MenuBitmap(ThisModule(), IDI_GLOSSIRA, MenuDpi());
    return picture.get();
}

class ContextMenu final : public ComObject<ContextMenu, IShellExtInit, IContextMenu> {
public:
    void* Find(REFIID iid)
    {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IShellExtInit))
            return static_cast<IShellExtInit*>(this);
        if (IsEqualIID(iid, IID_IContextMenu)) return static_cast<IContextMenu*>(this);
        return nullptr;
    }

    // IShellExtInit
    STDMETHODIMP Initialize(PCIDLIST_ABSOLUTE, IDataObject* data, HKEY) override
    {
        try {
            paths_.clear();
            if (!data) return E_INVALIDARG;
            FORMATETC format = {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
            Medium medium;
            HRESULT hr = data->GetData(&format, medium.put());
            if (FAILED(hr)) return hr;
            if (medium.type() != TYMED_HGLOBAL) return DV_E_TYMED;  // another medium's handle is no memory block
            paths_ = DroppedPaths(medium.global());
            return S_OK;
        } catch (...) {
            paths_.clear();
            return E_OUTOFMEMORY;
        }
    }

    // IContextMenu
    STDMETHODIMP QueryContextMenu(HMENU menu, UINT index, UINT first, UINT last, UINT flags) override
    {
        try {
            const HRESULT none = MAKE_HRESULT(SEVERITY_SUCCESS, FACILITY_NULL, 0);
            if ((flags & CMF_DEFAULTONLY) || paths_.empty() || first > last) return none;
            const HBITMAP picture = MenuPicture();
            std::wstring text = Wide(msg::ContextMenuItem());
            MENUITEMINFOW item = {};
            item.cbSize = sizeof item;
            item.fMask = MIIM_STRING | MIIM_ID | (picture ? MIIM_BITMAP : 0);
            item.wID = first;
            item.dwTypeData = text.data();
            item.hbmpItem = picture;
            if (!InsertMenuItemW(menu, index, TRUE, &item)) return HRESULT_FROM_WIN32(GetLastError());
            return MAKE_HRESULT(SEVERITY_SUCCESS, FACILITY_NULL, 1);  // the highest offset used, plus one
        } catch (...) {
            return E_OUTOFMEMORY;
        }
    }

    STDMETHODIMP InvokeCommand(CMINVOKECOMMANDINFO* info) override
    {
        try {
            if (!info || info->cbSize < sizeof *info) return E_INVALIDARG;
            if (!IsOurs(info)) return E_FAIL;
            return OpenEditorOn(paths_, info->nShow);
        } catch (...) {
            return E_OUTOFMEMORY;
        }
    }

    STDMETHODIMP GetCommandString(UINT_PTR command, UINT type, UINT*, CHAR* name, UINT size) override
    {
        try {
            if (command != 0) return E_INVALIDARG;
            switch (type) {
            case GCS_VERBA: return CopyOut(std::string(kVerb), name, size);
            case GCS_VERBW: return CopyOut(std::wstring(kVerbW), reinterpret_cast<wchar_t*>(name), size);
            case GCS_HELPTEXTA: return CopyOut(AnsiText(Wide(msg::ContextMenuHelp())), name, size);
            case GCS_HELPTEXTW:
                return CopyOut(Wide(msg::ContextMenuHelp()), reinterpret_cast<wchar_t*>(name), size);
            case GCS_VALIDATEA:
            case GCS_VALIDATEW: return S_OK;
            default: return E_INVALIDARG;
            }
        } catch (...) {
            return E_OUTOFMEMORY;
        }
    }

private:
    // By offset 0 or by our verb, ANSI or (CMINVOKECOMMANDINFOEX) Unicode.
    static bool IsOurs(const CMINVOKECOMMANDINFO* info)
    {
        if (info->cbSize >= sizeof(CMINVOKECOMMANDINFOEX) && (info->fMask & CMIC_MASK_UNICODE)) {
            auto ex = reinterpret_cast<const CMINVOKECOMMANDINFOEX*>(info);
            if (ex->lpVerbW && !IS_INTRESOURCE(ex->lpVerbW)) return lstrcmpiW(ex->lpVerbW, kVerbW) == 0;
        }
        if (IS_INTRESOURCE(info->lpVerb)) return LOWORD(reinterpret_cast<UINT_PTR>(info->lpVerb)) == 0;
        return lstrcmpiA(info->lpVerb, kVerb) == 0;
    }

    std::vector<std::wstring> paths_;
};

}  // namespace

HRESULT CreateContextMenu(REFIID iid, void** object) { return CreateObject<ContextMenu>(iid, object); }

}  // namespace glossira::shellext
