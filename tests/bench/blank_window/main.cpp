// The reference of the start-up bench: a Win32 program that shows one blank window of
// the main window's size and style, and does nothing else.
#include <windows.h>

#include "tests/bench/blank_window.h"

namespace {

LRESULT CALLBACK windowProc(HWND w, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(w, message, wParam, lParam);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = windowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = "TarvokBenchBlankWindow";
    RegisterClassA(&wc);
    const int width = 598, height = 566;
    HWND w = CreateWindowExA(0, wc.lpszClassName, kBlankWindowTitle, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU |
                             WS_MINIMIZEBOX, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                             (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height, nullptr, nullptr, instance,
                             nullptr);
    if (!w) {
        return 1;
    }
    ShowWindow(w, SW_SHOWNORMAL);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
