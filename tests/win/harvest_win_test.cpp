// The harvest over real files: share modes between processes, Cyrillic
// names, CR-only and Ctrl-Z logs.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "core/cp1251.h"
#include "core/files_win.h"
#include "core/unique_win.h"
#include "core/wide_win.h"
#include "sources/harvest.h"
#include "win/scratch.h"

using namespace glossira;
using Lines = std::vector<std::string>;

namespace {

constexpr wchar_t kHoldVariable[] = L"GLOSSIRA_HOLD_LOG";

std::wstring EventName(const wchar_t* what, DWORD pid)
{
    return L"Local\\glossira-hold-" + std::to_wstring(pid) + L"-" + what;
}

// Another process (this test program again, which then only runs the
// helper below) that holds a file open for writing until it is destroyed.
class Holder {
public:
    explicit Holder(const std::string& path)
    {
        DWORD me = GetCurrentProcessId();
        ready_.reset(CreateEventW(nullptr, TRUE, FALSE, EventName(L"ready", me).c_str()));
        done_.reset(CreateEventW(nullptr, TRUE, FALSE, EventName(L"done", me).c_str()));
        std::wstring value = Wide(path) + L"|" + std::to_wstring(me);
        SetEnvironmentVariableW(kHoldVariable, value.c_str());
        std::wstring command = L"\"" + ModulePath() + L"\"";
        STARTUPINFOW si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
            process_.reset(pi.hProcess);
            CloseHandle(pi.hThread);
        }
        SetEnvironmentVariableW(kHoldVariable, nullptr);
    }
    ~Holder()
    {
        if (done_) SetEvent(done_.get());
        if (process_) WaitForSingleObject(process_.get(), 30000);
    }
    // True once the other process holds the file.
    bool Holding() const
    {
        if (!process_) return false;
        HANDLE both[] = {ready_.get(), process_.get()};
        return WaitForMultipleObjects(2, both, FALSE, 60000) == WAIT_OBJECT_0;
    }

private:
    UniqueHandle ready_, done_, process_;
};

// The child process of Holder: opens the file, signals, and keeps it open
// until the parent is done. Its exit code: 0 when it held the file.
int HoldLogOpenForWriting(const std::wstring& request)
{
    std::wstring path = request.substr(0, request.find(L'|'));
    DWORD parent = std::stoul(request.substr(request.find(L'|') + 1));
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr));
    UniqueHandle ready(OpenEventW(EVENT_MODIFY_STATE, FALSE, EventName(L"ready", parent).c_str()));
    UniqueHandle done(OpenEventW(SYNCHRONIZE, FALSE, EventName(L"done", parent).c_str()));
    if (!file || !ready || !done) return 1;
    SetEvent(ready.get());
    WaitForSingleObject(done.get(), 60000);
    return 0;
}

// Started by Holder, this program is the helper and runs no tests.
const bool kHelperRan = [] {
    wchar_t request[4096];
    if (!GetEnvironmentVariableW(kHoldVariable, request, 4096)) return false;
    ExitProcess(static_cast<UINT>(HoldLogOpenForWriting(request)));
}();

struct RealFolder {
    ScratchDir dir{"glossira-harvest"};
    Win32FileSystem fs;
    Settings settings;
    RunState run;
    RealFolder()
    {
        run.TargetDir = dir.Root();
        run.TargetName = "setup.zip";
    }
    HarvestResult Run() { return Harvest(fs, settings, run); }
};

}  // namespace

TEST(HarvestWin, LogHeldOpenForWritingByAnotherProcessEndsTheHarvest)
{
    RealFolder f;
    f.dir.Write("reget.log", "r setup.zip\r\n");
    f.dir.Write("descript.ion", "d setup.zip\r\n");
    f.dir.Write("extra.log", "e setup.zip\r\n");
    f.settings.LogPath = true;
    f.settings.PathStrLog = f.dir.Path("extra.log");
    {
        Holder holder(f.dir.Path("reget.log"));
        ASSERT_TRUE(holder.Holding());
        HarvestResult r = f.Run();
        EXPECT_EQ(r.lines, Lines{});
        EXPECT_FALSE(r.headerFound);
        EXPECT_FALSE(r.error);
    }
    // Released: everything is read, the extra file's line on top.
    EXPECT_EQ(f.Run().lines, (Lines{"e setup.zip", "d setup.zip", "r setup.zip"}));

    // Held second file: the first one's line stays.
    Holder holder(f.dir.Path("descript.ion"));
    ASSERT_TRUE(holder.Holding());
    EXPECT_EQ(f.Run().lines, Lines{"r setup.zip"});
}

TEST(HarvestWin, CyrillicNamesFoldLettersButNotYo)
{
    RealFolder f;
    std::string sub = FromUtf8("Загрузки");
    ASSERT_TRUE(CreateDirectoryW(Wide(f.dir.Path(sub)).c_str(), nullptr));
    f.run.TargetDir = f.dir.Path(sub) + "\\";
    f.run.TargetName = FromUtf8("ОТЧЁТ-Январь.zip");
    f.settings.Strlog = FromUtf8("журнал.log;описание.ion");
    f.settings.NoOneStr = true;
    f.dir.Write(sub + "\\" + FromUtf8("журнал.log"),
                FromUtf8("1 отчёт-январь.zip\r\n2 отчЁт-январь.ZIP с сайта\r\n3 ОТЧЕТ-ЯНВАРЬ.zip\r\n"));
    f.dir.Write(sub + "\\" + FromUtf8("описание.ion"), FromUtf8("ОТЧЁТ-ЯНВАРЬ.ZIP Отчёт за январь\r\n"));
    HarvestResult r = f.Run();
    EXPECT_EQ(r.lines, (Lines{FromUtf8("ОТЧЁТ-ЯНВАРЬ.ZIP Отчёт за январь"), FromUtf8("2 отчЁт-январь.ZIP с сайта")}));
}

TEST(HarvestWin, CrOnlyAndCtrlZLogs)
{
    RealFolder f;
    f.settings.NoOneStr = true;
    f.dir.Write("reget.log", "a setup.zip\rb\rc setup.zip\r");  // one line: lone CRs are dropped
    f.dir.Write("descript.ion", "d setup.zip\r\n\x1a" "e setup.zip\r\n");
    EXPECT_EQ(f.Run().lines, (Lines{"d setup.zip", "a setup.zipbc setup.zip"}));
}

TEST(HarvestWin, FoldersAndMissingFilesAreSkipped)
{
    RealFolder f;
    ASSERT_TRUE(CreateDirectoryW(Wide(f.dir.Path("reget.log")).c_str(), nullptr));
    f.dir.Write("descript.ion", "d setup.zip\r\n");
    f.settings.Strlog = "missing.log;reget.log;;descript.ion;";
    EXPECT_EQ(f.Run().lines, Lines{"d setup.zip"});
}

TEST(HarvestWin, HitInALineOf200MegabytesIsReturnedWhole)
{
    RealFolder f;
    std::string line(100u << 20, 'x');
    line += " setup.zip ";
    line.append(100u << 20, 'y');
    f.dir.Write("reget.log", "first\r\n" + line + "\r\nsecond setup.zip\r\n");
    HarvestResult r = f.Run();
    DeleteFileW(Wide(f.dir.Path("reget.log")).c_str());
    ASSERT_EQ(r.lines.size(), 1u);
    EXPECT_TRUE(r.lines[0] == line) << "a line of " << r.lines[0].size() << " bytes";
    EXPECT_FALSE(r.error);
}
