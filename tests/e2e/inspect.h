// What a person sees of the program that the driver cannot ask for
// directly: tooltip texts (read through memory in the program's process),
// screen pixels, and the clipboard the program imports from.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace glossira::e2e {

// Waits until `condition` holds; false when it never did.
template <class F>
bool Eventually(F&& condition, DWORD timeoutMs = 15000)
{
    for (DWORD waited = 0;; waited += 50) {
        if (condition()) return true;
        if (waited >= timeoutMs) return false;
        Sleep(50);
    }
}

// A wide text as UTF-8, for failure messages and for writing UTF-8 files.
std::string Utf8(const std::wstring& text);

struct Hint {
    HWND control;
    std::wstring text;
};
// The tooltips of a window's controls, from its tooltip control.
std::vector<Hint> Hints(HWND form);

// Whether a button shows a picture: an icon or bitmap, or an image list.
bool HasPicture(HWND button);

// A child's bounds in its parent's client coordinates.
RECT BoundsInParent(HWND control);
// The children of a window in z-order, which is their tab order.
std::vector<HWND> Children(HWND parent);

// The colour of a screen pixel at a point of a window's client area.
COLORREF ClientPixel(HWND window, int x, int y);
// How many pixels of the window's client area have exactly this colour.
int CountClientPixels(HWND window, COLORREF color);

// Puts text on the real clipboard as CF_UNICODETEXT.
bool PutOnClipboard(const std::wstring& text);

// The program's settings key, HKLM\Software\Orvik\Glossira.
struct StoredDword {
    bool present = false;
    DWORD type = REG_NONE;
    DWORD value = 0;
};
StoredDword ReadSetting(const wchar_t* name);
void WriteSetting(const wchar_t* name, DWORD value);
void DeleteSetting(const wchar_t* name);

// The extent of the text drawn in a menu's highlighted item, read from the
// screen: the menu bar of `window`, or with `popup` the menu open in its
// process. A menu cannot be read from another process, but its look can.
struct Ink {
    bool highlighted = false;  // an item is highlighted at all
    int width = 0;             // 0: the item shows no text
    int height = 0;
};
Ink HighlightedMenuInk(HWND window, bool popup);
// The extent of a text drawn in the system's menu font.
Ink MenuTextInk(const std::wstring& text);

class Program;
// Closes the editor with its close box and answers its question whether to
// save with `buttonId` (IDYES, IDNO, IDCANCEL); returns the question, empty
// when none was asked.
std::wstring CloseAndAnswer(Program& app, HWND editor, int buttonId);

// Sends WM_DPICHANGED as Windows does when a window moves to a monitor of
// another DPI, with the rectangle it suggests (screen coordinates); returns
// the window's rectangle afterwards.
RECT SendDpiChanged(HWND window, UINT dpi, const RECT& suggested);

// Monitor scaling for the programs started from now on (LogPixels).
void SetSystemDpi(DWORD dpi);
void ResetSystemDpi();

}  // namespace glossira::e2e
