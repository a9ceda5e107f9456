// The rename window: the file's name in an edit box, OK and «Отмена». A
// name Windows does not allow, an empty one or one that is taken is
// refused with a message, and the window stays open.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "ui/form.h"

namespace glossira {

namespace rename_ids {
inline constexpr int kLabel1 = 501;
inline constexpr int kEdit1 = 502;
inline constexpr int kButtonOk = IDOK;
inline constexpr int kButtonCancel = IDCANCEL;
}  // namespace rename_ids

class RenameForm final : public Form {
public:
    // `taken` says whether a new name is taken in the file's folder.
    RenameForm(std::string name, std::function<bool(const std::string&)> taken);

    // Shows the window until OK with an allowed name or «Отмена»; the new
    // name, or nothing when the user cancelled or kept the name.
    std::optional<std::string> Ask();

    HWND Label1 = nullptr;
    HWND Edit1 = nullptr;
    HWND ButtonOk = nullptr;
    HWND ButtonCancel = nullptr;

protected:
    bool OnCommand(int id, int code, HWND control) override;
    bool OnClose() override;

private:
    void ButtonOkClick();
    void Finish(std::optional<std::string> result);

    std::string name_;
    std::function<bool(const std::string&)> taken_;
    std::optional<std::string> result_;
    bool done_ = false;
};

}  // namespace glossira
