// The clipboard's text, read and written as CF_UNICODETEXT and converted
// from and to Windows-1251.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace glossira {

// Holds the clipboard open for its lifetime. While another program has it
// open, OpenClipboard is retried `tries` times, `pauseMs` apart; after that
// the guard stays closed.
class ClipboardGuard {
public:
    explicit ClipboardGuard(HWND owner, int tries = 10, DWORD pauseMs = 20);
    ~ClipboardGuard();
    ClipboardGuard(const ClipboardGuard&) = delete;
    ClipboardGuard& operator=(const ClipboardGuard&) = delete;
    explicit operator bool() const { return open_; }

private:
    bool open_ = false;
};

// The clipboard's text up to its first NUL, in Windows-1251, each character
// Windows-1251 cannot hold (an emoji, a Chinese word) as '?', as CF_TEXT
// gives it; nullopt when it holds no text or stays held by another program.
std::optional<std::string> ReadClipboardText(HWND owner);

// Puts a Windows-1251 text on the clipboard as CF_UNICODETEXT (Windows
// derives CF_TEXT from it). False when the clipboard cannot be opened or
// the data cannot be set. `owner` must be a window for the data to stay.
bool WriteClipboardText(HWND owner, std::string_view cp1251);

}  // namespace glossira
