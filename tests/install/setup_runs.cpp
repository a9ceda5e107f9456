#include "setup_runs.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "driver.h"
#include "inspect.h"
#include "system_view.h"

namespace glossira::e2e {

std::wstring Env(const char* name)
{
    const char* value = std::getenv(name);
    std::string text = value ? value : "";
    return std::wstring(text.begin(), text.end());
}

std::wstring SetupPath() { return Env("GLOSSIRA_SETUP"); }

std::wstring SourceFolder()
{
    std::wstring exe = ProgramPath();
    return exe.substr(0, exe.find_last_of(L'\\') + 1);
}

bool SameFile(const std::wstring& a, const std::wstring& b)
{
    return ReadFileBytes(a) == ReadFileBytes(b);
}

bool FolderExists(const std::wstring& path)
{
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool RunTree(const std::wstring& program, const std::wstring& arguments, DWORD timeoutMs,
             const std::function<void()>& meanwhile)
{
    HANDLE job = CreateJobObjectW(nullptr, nullptr);
    std::wstring commandLine = L"\"" + program + L"\" " + arguments;
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!job || !CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                                nullptr, &si, &pi)) {
        ADD_FAILURE() << "cannot start " << Utf8(commandLine) << ": " << GetLastError();
        if (job) CloseHandle(job);
        return false;
    }
    AssignProcessToJobObject(job, pi.hProcess);
    ResumeThread(pi.hThread);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    if (meanwhile) meanwhile();
    bool ended = Eventually([&] {
        JOBOBJECT_BASIC_ACCOUNTING_INFORMATION info{};
        if (!QueryInformationJobObject(job, JobObjectBasicAccountingInformation, &info, sizeof info, nullptr)) {
            ADD_FAILURE() << "cannot follow the processes of " << Utf8(program) << ": " << GetLastError();
            return true;
        }
        return info.ActiveProcesses == 0;
    }, timeoutMs);
    CloseHandle(job);
    return ended;
}

int RunSetup(const std::wstring& folder)
{
    std::wstring arguments = L"/S";
    if (!folder.empty()) arguments += L" /D=" + folder;
    Program setup(SetupPath(), arguments);
    return setup.WaitExit(120000);
}

void Install(const std::wstring& folder) { ASSERT_EQ(RunSetup(folder), 0); }

void SetupTest::SetUp()
{
    ASSERT_FALSE(SetupPath().empty()) << "GLOSSIRA_SETUP names no setup";
    CreateDirectoryW(SendToFolder().c_str(), nullptr);
}

Wizard ClickToFinishPage(Program& setup)
{
    Wizard wizard;
    wizard.window = setup.WaitWindow(L"#32770");
    if (!wizard.window) return wizard;
    wizard.next = Control(wizard.window, IDOK);
    auto page = [&] { return FindWindowExW(wizard.window, nullptr, L"#32770", nullptr); };
    Click(wizard.next);
    HWND folder = nullptr;
    if (!Eventually([&] { return page() && (folder = Control(page(), 1019)) != nullptr; })) return wizard;
    wizard.folder = Text(folder);
    Click(wizard.next);
    if (Eventually([&] { return Text(wizard.next) == L"&Готово"; }, 60000)) wizard.finish = page();
    return wizard;
}

HWND FindMessageBox(const std::wstring& text)
{
    struct Search {
        const std::wstring& text;
        HWND found;
    } search{text, nullptr};
    EnumWindows(
        [](HWND window, LPARAM lp) -> BOOL {
            auto* s = reinterpret_cast<Search*>(lp);
            wchar_t name[16] = {};
            GetClassNameW(window, name, 16);
            if (!IsWindowVisible(window) || wcscmp(name, L"#32770") != 0) return TRUE;
            if (MessageText(window).rfind(s->text, 0) != 0) return TRUE;
            s->found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace glossira::e2e
