// The removal question and the final message as real message boxes, worked
// from another thread the way a person would.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <functional>

#include "core/cp1251.h"
#include "core/messages.h"
#include "core/unique_win.h"
#include "shell/install.h"
#include "shell/registry_win.h"
#include "shell/shell_ops.h"
#include "shell/shell_win.h"
#include "shell_peek.h"

using namespace glossira;

namespace {

struct Question {
    std::string text;
    bool yes = false, no = false, cancel = false, yesIsDefault = false, centred = false;
};

Question Inspect(HWND box)
{
    Question q;
    q.text = peek::DialogText(box);
    q.yes = GetDlgItem(box, IDYES) != nullptr;
    q.no = GetDlgItem(box, IDNO) != nullptr;
    q.cancel = GetDlgItem(box, IDCANCEL) != nullptr;
    HWND yes = GetDlgItem(box, IDYES);
    q.yesIsDefault = yes && (GetWindowLongW(yes, GWL_STYLE) & 0x0F) == BS_DEFPUSHBUTTON;
    RECT r;
    GetWindowRect(box, &r);
    HMONITOR monitor = MonitorFromWindow(box, MONITOR_DEFAULTTONEAREST);
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    GetMonitorInfoW(monitor, &info);
    const RECT& m = info.rcWork;
    q.centred = std::abs((r.left + r.right) - (m.left + m.right)) <= 4 &&
                std::abs((r.top + r.bottom) - (m.top + m.bottom)) <= 64;
    return q;
}

void PressKey(HWND box, WPARAM key)
{
    HWND focus = GetDlgItem(box, IDYES);
    PostMessageW(focus ? focus : box, WM_KEYDOWN, key, 0);
    PostMessageW(focus ? focus : box, WM_KEYUP, key, 0xC0000000);
}

// Presses one of the box's buttons as a person would; a box without that
// button, or with it hidden or disabled, fails, and is answered anyway so
// that the test ends.
void Press(HWND box, int id)
{
    HWND button = GetDlgItem(box, id);
    if (button && IsWindowVisible(button) && IsWindowEnabled(button)) {
        PostMessageW(button, BM_CLICK, 0, 0);
        return;
    }
    ADD_FAILURE() << "the box has no button " << id << " to press";
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
}

// Answers the question with `act` and reports what the box showed.
bool Ask(std::function<void(HWND)> act, Question* seen = nullptr)
{
    Question q;
    peek::BoxWatcher watcher(msg::ConfirmCaption(), [&](HWND box) {
        q = Inspect(box);
        act(box);
    });
    Win32Dialogs dialogs;
    bool answer = dialogs.Confirm(msg::ConfirmRemoval(), msg::ConfirmCaption());
    watcher.Join();
    EXPECT_TRUE(watcher.found);
    if (seen) *seen = q;
    return answer;
}

}  // namespace

TEST(RemovalQuestion, ShowsYesAsDefaultAndNoCentred)
{
    Question q;
    EXPECT_FALSE(Ask([](HWND box) { Press(box, IDNO); }, &q));
    EXPECT_EQ(q.text, FromUtf8("Удалить полностью из системы \"Глоссира к файлу\"?"));
    EXPECT_TRUE(q.yes);
    EXPECT_TRUE(q.no);
    EXPECT_FALSE(q.cancel);
    EXPECT_TRUE(q.yesIsDefault);
    EXPECT_TRUE(q.centred);
}

TEST(RemovalQuestion, EscapeAndClosingAnswerNoEnterAnswersYes)
{
    EXPECT_FALSE(Ask([](HWND box) { PressKey(box, VK_ESCAPE); }));
    EXPECT_FALSE(Ask([](HWND box) { PostMessageW(box, WM_CLOSE, 0, 0); }));
    EXPECT_TRUE(Ask([](HWND box) { PressKey(box, VK_RETURN); }));
    EXPECT_TRUE(Ask([](HWND box) { Press(box, IDYES); }));
}

TEST(RemovalQuestion, FinalMessageHasOneButtonAndNoIcon)
{
    std::string text;
    bool cancel = true, icon = true;
    peek::BoxWatcher watcher(msg::AppTitle(), [&](HWND box) {
        text = peek::DialogText(box);
        cancel = GetDlgItem(box, IDCANCEL) != nullptr || GetDlgItem(box, IDNO) != nullptr;
        HWND picture = GetDlgItem(box, 20);  // the message box's icon
        icon = picture && IsWindowVisible(picture);
        Press(box, IDOK);
    });
    Win32Dialogs().Inform(msg::RemovedAfterReboot(), msg::AppTitle());
    watcher.Join();
    EXPECT_TRUE(watcher.found);
    EXPECT_EQ(text, FromUtf8("После перезагрузки системы программа полностью удалится"));
    EXPECT_FALSE(cancel);
    EXPECT_FALSE(icon);
}

// The whole removal through the real boxes, registry and Send To folder.
TEST(RemovalQuestion, NoChangesNothingYesRemovesAndTells)
{
    ComApartment com;
    Win32Registry registry;
    Win32Shell shell;
    Win32Dialogs dialogs;
    InstallContext context{registry, shell, "C:\\Program Files\\Glossira\\", Narrow(ModulePath())};
    // An installed copy, with its uninstaller.
    CreateDirectoryW(L"C:\\Program Files\\Glossira", nullptr);
    const std::wstring uninstaller = L"C:\\Program Files\\Glossira\\unins000.exe";
    CloseHandle(CreateFileW(uninstaller.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    const std::string link = SendToFolder(registry) + FromUtf8("Глоссира.lnk");
    const std::string runOnce = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
    InstallSendTo(context);
    RegisterContextMenu(context);
    const auto values = peek::Values(HKEY_LOCAL_MACHINE, runOnce);

    for (WPARAM key : {WPARAM(VK_ESCAPE), WPARAM(0)}) {
        peek::BoxWatcher watcher(msg::ConfirmCaption(), [key](HWND box) {
            if (key) PressKey(box, key);
            else Press(box, IDNO);
        });
        EXPECT_EQ(ScheduleFullRemoval(context, dialogs), RemovalResult::Declined);
        watcher.Join();
        EXPECT_TRUE(watcher.found) << "declined without the question";
        EXPECT_TRUE(peek::KeyExists(HKEY_CLASSES_ROOT, "CLSID\\{AECEEFEA-3DF8-11D1-9577-0000837A2FDA}"));
        EXPECT_NE(GetFileAttributesW(Wide(link).c_str()), INVALID_FILE_ATTRIBUTES);
        EXPECT_EQ(peek::Values(HKEY_LOCAL_MACHINE, runOnce), values);
    }

    std::string told;
    peek::BoxWatcher question(msg::ConfirmCaption(), [](HWND box) { PressKey(box, VK_RETURN); });
    peek::BoxWatcher message(msg::AppTitle(), [&](HWND box) {
        told = peek::DialogText(box);
        Press(box, IDOK);
    });
    EXPECT_EQ(ScheduleFullRemoval(context, dialogs), RemovalResult::Scheduled);
    question.Join();
    message.Join();
    EXPECT_TRUE(question.found);
    EXPECT_EQ(told, FromUtf8("После перезагрузки системы программа полностью удалится"));
    EXPECT_FALSE(peek::KeyExists(HKEY_CLASSES_ROOT, "CLSID\\{AECEEFEA-3DF8-11D1-9577-0000837A2FDA}"));
    EXPECT_EQ(GetFileAttributesW(Wide(link).c_str()), INVALID_FILE_ATTRIBUTES);
    auto after = peek::Values(HKEY_LOCAL_MACHINE, runOnce);
    EXPECT_NE(std::find(after.begin(), after.end(), "glossira=REG_SZ:\"C:\\Program Files\\Glossira\\unins000.exe\" /S"),
              after.end());
    RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, Wide(runOnce).c_str(), L"glossira");
    DeleteFileW(uninstaller.c_str());
    RemoveDirectoryW(L"C:\\Program Files\\Glossira");
}
