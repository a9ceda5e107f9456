// TForm3: the read-only comment viewer in the user's colours.
#pragma once

#include <string>

#include "core/settings.h"
#include "ui/form.h"

namespace glossira {

class ViewerForm final : public Form {
public:
    void FormCreate();
    // Shows the comment text with the saved colours and its caption.
    void Open(const std::string& text, const Settings& settings, const RunState& run);

private:
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;
    bool OnCommand(int id, int code, HWND control) override;
    static LRESULT CALLBACK MemoProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);

    HWND Memo1 = nullptr;
    COLORREF back_ = 0xFFFFFF;
    COLORREF text_ = 0;
    UniqueBrush brush_;
};

}  // namespace glossira
