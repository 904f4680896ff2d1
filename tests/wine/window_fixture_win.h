// Helpers for the Wine tests: a MainWindow on screen, pumping messages, reading pixels.
#pragma once

#include <windows.h>

#include "app/main_window_win.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace testing_support {

// Dispatches every pending message, repeatedly, for about ms milliseconds.
inline void pump(DWORD ms = 50) {
    DWORD end = GetTickCount() + ms;
    do {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(1);
    } while (static_cast<LONG>(GetTickCount() - end) < 0);
}

// 32-bit pixels (0x00RRGGBB) of a screen rectangle, top row first.
struct Pixels {
    int width = 0, height = 0;
    std::vector<uint32_t> data;
    uint32_t at(int x, int y) const { return data[static_cast<size_t>(y) * width + x]; }
    static int red(uint32_t p) { return (p >> 16) & 0xFF; }
    static int green(uint32_t p) { return (p >> 8) & 0xFF; }
    static int blue(uint32_t p) { return p & 0xFF; }
};

inline Pixels readDc(HDC source, int x, int y, int w, int h) {
    Pixels out;
    out.width = w;
    out.height = h;
    out.data.resize(static_cast<size_t>(w) * h);
    HDC mem = CreateCompatibleDC(source);
    HBITMAP bmp = CreateCompatibleBitmap(source, w, h);
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(mem, 0, 0, w, h, source, x, y, SRCCOPY);
    SelectObject(mem, old);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    GetDIBits(mem, bmp, 0, static_cast<UINT>(h), out.data.data(), &bi, DIB_RGB_COLORS);
    DeleteObject(bmp);
    DeleteDC(mem);
    for (auto& p : out.data) {
        p &= 0xFFFFFF;
    }
    return out;
}

// What the screen shows in a window's rectangle.
inline Pixels readWindow(HWND w) {
    RECT r;
    GetWindowRect(w, &r);
    HDC screen = GetDC(nullptr);
    Pixels p = readDc(screen, r.left, r.top, r.right - r.left, r.bottom - r.top);
    ReleaseDC(nullptr, screen);
    return p;
}

inline uint32_t rgb(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }

// A built MainWindow, shown at its place and painted.
struct ShownMainWindow {
    std::unique_ptr<MainWindow> window = std::make_unique<MainWindow>();
    bool ok = false;
    ShownMainWindow() {
        ok = window->build();
        if (ok) {
            ShowWindow(window->hwnd(), SW_SHOWNORMAL);
            pump(300);
        }
    }
    ~ShownMainWindow() {
        if (window->hwnd()) {
            DestroyWindow(window->hwnd());
        }
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
    }
    MainWindow& operator*() { return *window; }
    MainWindow* operator->() { return window.get(); }
};

} // namespace testing_support
