// The baselines of the start-up benchmark: the least a Win32 program with
// one window does before it is ready; with an argument N, the same window
// with a word-wrapped edit control holding N log lines, as the editor's does.
#include <windows.h>

#include <cwchar>
#include <string>

static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcW(hwnd, msg, wp, lp);
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR arguments, int)
{
    int lines = arguments ? _wtoi(arguments) : 0;
    WNDCLASSW wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = instance;
    wc.lpszClassName = L"EmptyWindow";
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    RegisterClassW(&wc);
    HWND hwnd = CreateWindowW(L"EmptyWindow", L"Empty", WS_OVERLAPPEDWINDOW, 11, 39, 675, 427, nullptr, nullptr,
                              instance, nullptr);
    if (lines > 0) {
        HWND edit = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                                    WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN,
                                    8, 8, 593, 193, hwnd, nullptr, instance, nullptr);
        SendMessageW(edit, EM_SETLIMITTEXT, 0, 0);
        std::wstring text;
        for (int i = 0; i < lines; ++i)
            text += L"2026-12-08 10:00:" + std::to_wstring(i % 60) + L" http://example.org/setup.zip " +
                    std::to_wstring(i) + L"\r\n";
        SetWindowTextW(edit, text.c_str());
    }
    ShowWindow(hwnd, SW_SHOW);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
