// Start-up time: from CreateProcess to the first window being visible and
// the program idle (the comment loaded, the event loop waiting), for
// glossira.exe on a file with a comment, beside an empty Win32 window
// program started the same way. Runs alternate; medians are printed.
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
    RemoveDirectoryW(folder.c_str());
    return 0;
}
