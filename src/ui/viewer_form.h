// TForm3: the read-only comment viewer in the user's colours.
#pragma once

#include <windows.h>
#include <commdlg.h>

#include <string>
#include <vector>

#include "core/settings.h"
#include "ui/form.h"

namespace glossira {

// The standard colour-choice dialog with the colour and custom colours it
// keeps from one opening to the next.
struct ColorDialog {
    COLORREF color = 0;
    COLORREF custom[16];
    DWORD flags = CC_RGBINIT;
    // Opens the dialog on `color`; on OK stores the choice and returns true.
    bool Execute(HWND owner);
};

class ViewerForm final : public Form {
public:
    void FormCreate();
    // Shows the comment text with the saved colours and its caption.
    void Open(const std::string& text, const Settings& settings, const RunState& run);

private:
    std::optional<LRESULT> OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    bool OnCommand(int id, int code, HWND control) override;
    void OnDpiChanged() override;
    static LRESULT CALLBACK MemoProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);

    void CreateMainMenu();
    void AutoSize();
    void SetMemoFont();
    void SetColors(COLORREF back, COLORREF text);

    void N3Click();
    void N4Click();
    void N7Click();
    void N6Click();
    void N2Click();
    void Esc1Click();

    HWND Memo1 = nullptr;
    ColorDialog ColorDialog1;
    ColorDialog ColorDialog2;
    COLORREF back_ = 0xFFFFFF;
    COLORREF text_ = 0;
    UniqueBrush brush_;
    UniqueFont memoFont_;

    friend std::vector<ControlSpec> ViewerControls(ViewerForm& form);
};

FormSpec ViewerWindowSpec();
std::vector<ControlSpec> ViewerControls(ViewerForm& form);

}  // namespace glossira
