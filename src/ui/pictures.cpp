#include "ui/pictures.h"

#include <commctrl.h>

namespace glossira {

UniqueIcon LoadPicture(int id, int size)
{
    return UniqueIcon(static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
}

void SetButtonPicture(HWND button, HICON icon)
{
    SendMessageW(button, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
}

UniqueImageList PictureWithText(HWND button, HICON icon, int size, int gap)
{
    UniqueImageList list(ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, 1, 0));
    if (!list || ImageList_AddIcon(list.get(), icon) < 0) {
        SetButtonPicture(button, icon);
        return list;
    }
    BUTTON_IMAGELIST info{list.get(), {0, 0, gap, 0}, BUTTON_IMAGELIST_ALIGN_LEFT};
    if (!SendMessageW(button, BCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(&info))) SetButtonPicture(button, icon);
    return list;
}

}  // namespace glossira
