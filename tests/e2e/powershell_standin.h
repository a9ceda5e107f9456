// PowerShell replaced by tests/install/recorder/command_recorder.exe (built
// beside the test programs), and the Windows build the prefix reports, for
// the tests of Windows 11's menu package. Restores the build on destruction.
#pragma once

#include <windows.h>

#include <string>

#include "driver.h"

namespace glossira::e2e {

class PowerShellStandIn {
public:
    PowerShellStandIn()
    {
        wchar_t system[MAX_PATH] = {};
        GetSystemDirectoryW(system, MAX_PATH);
        const std::wstring powershell = std::wstring(system) + L"\\WindowsPowerShell\\v1.0\\powershell.exe";
        // The prefix's system files are links shared with its template:
        // replace the link, never the file behind it.
        DeleteFileW(powershell.c_str());
        wchar_t self[MAX_PATH] = {};
        const std::wstring tests(self, GetModuleFileNameW(nullptr, self, MAX_PATH));
        placed_ = CopyFileW((tests.substr(0, tests.find_last_of(L'\\') + 1) + L"command_recorder.exe").c_str(),
                            powershell.c_str(), FALSE) != FALSE;
        SetEnvironmentVariableW(L"GLOSSIRA_COMMAND_RECORD", record_.c_str());
        build_ = Build();
    }
    ~PowerShellStandIn()
    {
        SetBuild(build_);
        SetEnvironmentVariableW(L"GLOSSIRA_COMMAND_RECORD", nullptr);
        SetEnvironmentVariableW(L"GLOSSIRA_COMMAND_ANSWER", nullptr);
        DeleteFileW(record_.c_str());
    }
    PowerShellStandIn(const PowerShellStandIn&) = delete;
    PowerShellStandIn& operator=(const PowerShellStandIn&) = delete;

    bool Placed() const { return placed_; }
    // What it prints to whoever starts it next.
    void Answer(const wchar_t* text) { SetEnvironmentVariableW(L"GLOSSIRA_COMMAND_ANSWER", text); }
    // What it was asked, one command line a line.
    std::wstring Asked() const
    {
        const std::string bytes = ReadFileBytes(record_);
        if (bytes == "<missing>") return L"";
        return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
    }
    static void SetBuild(const std::wstring& build)
    {
        RegSetKeyValueW(HKEY_LOCAL_MACHINE, kVersionKey, L"CurrentBuildNumber", REG_SZ, build.c_str(),
                        static_cast<DWORD>((build.size() + 1) * sizeof(wchar_t)));
    }

private:
    static constexpr const wchar_t* kVersionKey = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
    static std::wstring Build()
    {
        wchar_t text[64] = {};
        DWORD size = sizeof text - sizeof(wchar_t);
        RegGetValueW(HKEY_LOCAL_MACHINE, kVersionKey, L"CurrentBuildNumber", RRF_RT_REG_SZ, nullptr, text, &size);
        return text;
    }
    std::wstring record_ = TempFolder(L"glossira-powershell") + L"record.txt";
    std::wstring build_;
    bool placed_ = false;
};

}  // namespace glossira::e2e
