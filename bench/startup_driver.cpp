// Start-up time: from CreateProcess to the first window being visible and
// the program idle (the comment loaded, the event loop waiting), for
// glossira.exe on a file with a comment, beside an empty Win32 window
// program started the same way. Then, with every matching line taken
// (NoOneStr), the time until the editor holds the 100,000 lines of a log,
// beside the same start with a log that names nothing and beside the empty
// window program whose edit control is given the same lines. Runs
// alternate; medians are printed.
//   bench_startup GLOSSIRA_EXE EMPTY_EXE [RUNS]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Found {
    DWORD pid;
    bool visible;
};

BOOL CALLBACK FindVisible(HWND hwnd, LPARAM lp)
{
    auto* found = reinterpret_cast<Found*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid == found->pid && IsWindowVisible(hwnd)) {
        found->visible = true;
        return FALSE;
    }
    return TRUE;
}

double Seconds(LARGE_INTEGER a, LARGE_INTEGER b, LARGE_INTEGER frequency)
{
    return static_cast<double>(b.QuadPart - a.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Milliseconds until the program shows a window and waits for input.
double TimeOnce(const std::wstring& commandLine)
{
    LARGE_INTEGER frequency, start, now;
    QueryPerformanceFrequency(&frequency);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::wstring line = commandLine;
    QueryPerformanceCounter(&start);
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return -1;
    WaitForInputIdle(pi.hProcess, 30000);
    Found found{pi.dwProcessId, false};
    for (int i = 0; i < 30000 && !found.visible; ++i) {
        EnumWindows(FindVisible, reinterpret_cast<LPARAM>(&found));
        if (!found.visible) Sleep(1);
    }
    WaitForInputIdle(pi.hProcess, 30000);
    QueryPerformanceCounter(&now);
    TerminateProcess(pi.hProcess, 0);
    WaitForSingleObject(pi.hProcess, 10000);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return Seconds(start, now, frequency) * 1000.0;
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

std::wstring WindowsPath(std::wstring path)
{
    if (!path.empty() && path[0] == L'/') {
        for (auto& c : path)
            if (c == L'/') c = L'\\';
        path = L"Z:" + path;
    }
    return path;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: bench_startup GLOSSIRA_EXE EMPTY_EXE [RUNS]\n");
        return 2;
    }
    std::wstring glossira = WindowsPath(argv[1]);
    std::wstring empty = WindowsPath(argv[2]);
    int runs = argc > 3 ? _wtoi(argv[3]) : 15;

    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::wstring folder = std::wstring(temp) + L"glossira-bench\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    HANDLE comment = CreateFileW((folder + L"setup.txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    std::string text;
    for (int i = 0; i < 200; ++i) text += "A line of an ordinary comment, about sixty characters long.\r\n";
    DWORD written = 0;
    WriteFile(comment, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(comment);

    std::vector<double> program, baseline;
    TimeOnce(L"\"" + empty + L"\"");  // warm the caches once for both
    TimeOnce(L"\"" + glossira + L"\" \"" + folder + L"setup.zip\"");
    for (int i = 0; i < runs; ++i) {
        baseline.push_back(TimeOnce(L"\"" + empty + L"\""));
        program.push_back(TimeOnce(L"\"" + glossira + L"\" \"" + folder + L"setup.zip\""));
    }
    double p = Median(program), b = Median(baseline);
    std::printf("start-up to editor ready: glossira %.1f ms, empty window %.1f ms, ratio %.2fx (median of %d)\n", p, b,
                b > 0 ? p / b : 0.0, runs);
    DeleteFileW((folder + L"setup.txt").c_str());

    // 100,000 hits with NoOneStr, against a log of the same size with none.
    HKEY key;
    RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Orvik\\Glossira", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                    nullptr);
    DWORD one = 1;
    RegSetValueExW(key, L"NoOneStr", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), sizeof one);
    auto writeLog = [&](const wchar_t* name, const char* target) {
        std::string log;
        for (int i = 0; i < 100000; ++i)
            log += "2026-12-08 10:00:" + std::to_string(i % 60) + " http://example.org/" + target + " " +
                   std::to_string(i) + "\r\n";
        HANDLE h = CreateFileW((folder + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        WriteFile(h, log.data(), static_cast<DWORD>(log.size()), &written, nullptr);
        CloseHandle(h);
    };
    CreateDirectoryW((folder + L"hits").c_str(), nullptr);
    CreateDirectoryW((folder + L"none").c_str(), nullptr);
    writeLog(L"hits\\reget.log", "setup.zip");
    writeLog(L"none\\reget.log", "other.zip");
    std::vector<double> hits, none, bare;
    int harvestRuns = runs < 5 ? runs : 5;
    for (int i = 0; i < harvestRuns; ++i) {
        none.push_back(TimeOnce(L"\"" + glossira + L"\" \"" + folder + L"none\\setup.zip\""));
        hits.push_back(TimeOnce(L"\"" + glossira + L"\" \"" + folder + L"hits\\setup.zip\""));
        bare.push_back(TimeOnce(L"\"" + empty + L"\" 100000"));
    }
    double h = Median(hits), n = Median(none), e = Median(bare);
    std::printf("editor holding 100,000 harvested lines: %.1f ms; with none of a log of the same size: %.1f ms "
                "(%.2fx); an edit control given the same lines in the empty window: %.1f ms (%.2fx) "
                "(median of %d)\n",
                h, n, n > 0 ? h / n : 0.0, e, e > 0 ? h / e : 0.0, harvestRuns);
    RegDeleteValueW(key, L"NoOneStr");
    RegCloseKey(key);
    for (const wchar_t* name : {L"hits\\reget.log", L"none\\reget.log"}) DeleteFileW((folder + name).c_str());
    RemoveDirectoryW((folder + L"hits").c_str());
    RemoveDirectoryW((folder + L"none").c_str());
    RemoveDirectoryW(folder.c_str());
    return 0;
}
