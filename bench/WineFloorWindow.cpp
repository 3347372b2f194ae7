// The floor for any Windows program's start under Wine: a bare Win32 window, no Qt, no files read. Built
// by bench/run-benchmarks with mingw-w64 (statically, so it loads Windows' own DLLs only):
//   x86_64-w64-mingw32-g++-posix -O2 -s -static -mwindows -municode WineFloorWindow.cpp -o wine-floor.exe
// It ends when its window is closed. Started as "wine-floor.exe --hidden" it never shows its window and
// runs until it is ended: it keeps Wine's desktop process and services up between the measured starts,
// as a workstation's shell and services are.

#include <windows.h>

namespace {

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int show)
{
    const bool hidden = lstrcmpW(commandLine, L"--hidden") == 0;
    WNDCLASSW windowClass {};
    windowClass.lpfnWndProc = windowProcedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // IDC_ARROW
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = L"WineFloor";
    if (!RegisterClassW(&windowClass))
        return 1;
    HWND window = CreateWindowExW(0, L"WineFloor", L"Floor", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 381,
                                  532, nullptr, nullptr, instance, nullptr);
    if (!window)
        return 1;
    if (!hidden) {
        ShowWindow(window, show);
        UpdateWindow(window);
    }
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return int(message.wParam);
}
