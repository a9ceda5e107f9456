// TForm1: the comment editor, the main window. Its creation runs start-up.
#pragma once

#include <array>

#include "core/comment_encoding.h"
#include "core/comment_fingerprint.h"
#include "core/startup.h"
#include "ui/form.h"
#include "ui/pictures.h"

namespace glossira {

class EditorForm final : public Form, private StartupHost {
public:
    EditorForm() = default;
    // Creates the window and runs start-up over the raw command line.
    StartupOutcome FormCreate(std::u16string_view rawCommandLine);

    void Harvest();
    void CopyClip();
    void Sav();

private:
    // StartupHost
    void ClearEditor() override;
    void LoadSettings(Settings& settings) override;
    bool FileExists(const std::string& path) override;
    bool PathExists(const std::string& path) override;
    std::vector<std::u16string> TakeList(const std::u16string& file) override;
    void LoadComment(const std::string& path) override;
    std::optional<std::string> EditorFirstRow() override;
    void SetEditorCaption(const std::string& caption) override;
    void RepairAssociation() override;

    bool OnCommand(int id, int code, HWND control) override;
    bool OnClose() override;
    void OnTimer(UINT_PTR id) override;
    std::optional<LRESULT> OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void OnDpiChanged() override;

    void LoadPictures();
    static LRESULT CALLBACK MemoProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);

    void Timer1Timer();
    void BitBtn1Click() { CopyClip(); }
    void BitBtn2Click() { Sav(); }
    void BitBtn3Click();
    void BitBtn4Click() { Harvest(); }
    void SpeedButton1Click();
    void SpeedButton2Click();

    HWND Memo1 = nullptr;
    HWND ListBox2 = nullptr;
    HWND Memo3 = nullptr;
    HWND BitBtn1 = nullptr;
    HWND BitBtn2 = nullptr;
    HWND BitBtn3 = nullptr;
    HWND BitBtn4 = nullptr;
    HWND SpeedButton1 = nullptr;
    HWND SpeedButton2 = nullptr;
    bool saveAllowed_ = false;
    CommentEncoding commentEncoding_ = CommentEncoding::Cp1251;  // written back in it
    std::string beyond1251_;  // set when the comment cannot be saved whole: why
    bool shown_ = false;
    // Set once start-up is over: what changes the comment or the list from
    // then on is the user's, and closing the window asks before it is lost.
    bool tracking_ = false;
    bool changed_ = false;
    CommentFingerprint loaded_;  // the comment file as start-up read it
    std::array<UniqueIcon, 5> pictures_;
    std::array<UniqueImageList, 5> pictureLists_;

    friend std::vector<ControlSpec> EditorControls(EditorForm& form);
};

FormSpec EditorWindowSpec();
// The controls in tab order (creation order is tab order).
std::vector<ControlSpec> EditorControls(EditorForm& form);

}  // namespace glossira
