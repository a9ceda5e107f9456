// The button pictures: icon resources loaded at the size the DPI asks for,
// so a 200 % screen gets the 32-pixel images instead of scaled-up ones.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "core/unique_win.h"

namespace glossira {

// The icon resource `id` at `size` pixels square; empty when it is missing.
UniqueIcon LoadPicture(int id, int size);
// Gives a push button its picture (beside its text, if it has one).
void SetButtonPicture(HWND button, HICON icon);
// The picture left of the text with `gap` pixels between them; the button
// draws from the returned list, which must outlive it.
UniqueImageList PictureWithText(HWND button, HICON icon, int size, int gap);

}  // namespace glossira
