#include "shellext/context_menu.h"

#include <shlobj.h>

#include <string>
#include <vector>

#include "core/messages.h"
#include "core/unique_win.h"
#include "core/wide_win.h"
#include "shellext/menu_bitmap.h"
#include "shellext/module.h"
#include "shellext/selection_data.h"
#include "shellext/verb_menu.h"
#include "ui/resource_ids.h"

namespace glossira::shellext {
namespace {

// Offset 0 opens the editor, as it always has; the submenu «Глоссира»
// holds the commands that carry the comments along (rename: one file only).
constexpr Verb kVerbs[] = {
    {"glossira", msg::ContextMenuItem, msg::ContextMenuHelp, nullptr},
    {"glossira.rename", msg::RenameItem, msg::RenameHelp, u"rename"},
    {"glossira.copyto", msg::CopyToItem, msg::CopyToHelp, u"copyto"},
    {"glossira.moveto", msg::MoveToItem, msg::MoveToHelp, u"moveto"},
    {"glossira.delete", msg::DeleteItem, msg::DeleteHelp, u"delete"},
};
constexpr UINT kRename = 1;
constexpr UINT kCommands = std::size(kVerbs);

// The item's picture, made once and kept until the library is unloaded: a
// host may still draw the menu after the handler that filled it is released.
HBITMAP MenuPicture()
{
    static const UniqueBitmap picture = MenuBitmap(ThisModule(), IDI_GLOSSIRA, MenuDpi());
    return picture.get();
}

class ContextMenu final : public VerbMenu<ContextMenu> {
public:
    static std::span<const Verb> Verbs() { return kVerbs; }
    // Several files cannot be renamed at once.
    bool Offers(int offset) const { return offset != static_cast<int>(kRename) || paths_.size() == 1; }
    std::wstring Destination() const { return {}; }

    // IShellExtInit
    STDMETHODIMP Initialize(PCIDLIST_ABSOLUTE, IDataObject* data, HKEY) override
    {
        return ReadSelection(data, paths_);
    }

    // IContextMenu
    STDMETHODIMP QueryContextMenu(HMENU menu, UINT index, UINT first, UINT last, UINT flags) override
    {
        try {
            const HRESULT none = MAKE_HRESULT(SEVERITY_SUCCESS, FACILITY_NULL, 0);
            if ((flags & CMF_DEFAULTONLY) || paths_.empty() || first > last) return none;
            if (!InsertItem(menu, index, first, kVerbs[0].text(), MenuPicture()))
                return HRESULT_FROM_WIN32(GetLastError());
            // The submenu only when Explorer leaves room for its commands.
            if (last - first < kCommands) return MAKE_HRESULT(SEVERITY_SUCCESS, FACILITY_NULL, 1);
            UniqueMenu submenu(CreatePopupMenu());
            if (!submenu) return MAKE_HRESULT(SEVERITY_SUCCESS, FACILITY_NULL, 1);
            UINT position = 0;
            for (UINT offset = 1; offset < kCommands; ++offset) {
                if (!Offers(static_cast<int>(offset))) continue;
                InsertItem(submenu.get(), position++, first + offset, kVerbs[offset].text());
            }
            if (InsertItem(menu, index + 1, first + kCommands, msg::AppTitle(), nullptr, submenu.get()))
                submenu.release();  // the menu owns it now
            return MAKE_HRESULT(SEVERITY_SUCCESS, FACILITY_NULL, kCommands + 1);  // the highest offset used, plus one
        } catch (...) {
            return E_OUTOFMEMORY;
        }
    }
};

}  // namespace

HRESULT CreateContextMenu(REFIID iid, void** object) { return CreateObject<ContextMenu>(iid, object); }

}  // namespace glossira::shellext
