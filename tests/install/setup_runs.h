// Runs the setup under test and its uninstaller, and finds what they show.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>

#include "driver.h"

namespace glossira::e2e {

// An environment variable of the test run (ASCII).
std::wstring Env(const char* name);
// The setup under test (GLOSSIRA_SETUP, a Windows path) and the folder of
// the files it was made from (that of GLOSSIRA_EXE), ending in a backslash.
std::wstring SetupPath();
std::wstring SourceFolder();

// Whether two files hold the same bytes (a program is too long to print).
bool SameFile(const std::wstring& a, const std::wstring& b);
bool FolderExists(const std::wstring& path);

// Runs a command, does `meanwhile`, and waits until the command and every
// process it started have ended: the uninstaller runs on from a copy of
// itself. False on timeout.
bool RunTree(const std::wstring& program, const std::wstring& arguments, DWORD timeoutMs = 120000,
             const std::function<void()>& meanwhile = {});

// A silent setup into `folder` (the last one's when empty); its exit code.
// The folder's blanks reach the setup as typed.
int RunSetup(const std::wstring& folder);
// The same, which must succeed.
void Install(const std::wstring& folder);

// A setup test: there is a setup to run, and the user's Send To folder exists
// as in a used profile.
class SetupTest : public ::testing::Test {
protected:
    void SetUp() override;
};

// The setup's wizard, clicked through as a person does: welcome, the folder
// page (whose text it keeps), the progress, up to the finish page. Its
// `finish` is null when that page was not reached.
struct Wizard {
    HWND window = nullptr, next = nullptr, finish = nullptr;
    std::wstring folder;
};
Wizard ClickToFinishPage(Program& setup);

// A visible message box of any process whose text starts with `text`.
HWND FindMessageBox(const std::wstring& text);

}  // namespace glossira::e2e
