// A PicBox in a window of its own for the Wine tests, and its pixels as it paints them.
#pragma once

#include "tests/wine/window_fixture_win.h"

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include "app/picbox_win.h"
#include "tests/support/picture_files.h"

#include <memory>
#include <vector>

namespace picbox_testing {

// GDI+ counts its start-ups, so a second one next to the module's does no harm.
inline void ensureGdiplus() {
    static ULONG_PTR token = 0;
    if (!token) {
        Gdiplus::GdiplusStartupInput input;
        Gdiplus::GdiplusStartup(&token, &input, nullptr);
    }
}

using testing_support::pump;

using Shot = testing_support::Pixels;

// Pixels of a DC's rectangle through a 32-bit DIB.
inline Shot capture(HDC source, int x, int y, int w, int h) { return testing_support::readDc(source, x, y, w, h); }

inline uint32_t rgbOf(COLORREF c) { return testing_support::rgb(c); }
inline uint32_t buttonFace() { return rgbOf(GetSysColor(COLOR_BTNFACE)); }

// A PicBox filling the client area of a popup window at the screen's top-left corner.
// Hidden unless asked: WM_PRINTCLIENT needs no screen, and Wine takes about two seconds
// to take a shown window down again when no window manager runs.
class PicBoxHost {
public:
    explicit PicBoxHost(int displayMode, int width = 305, int height = 400, bool animate = true,
                        bool shown = false) {
        ensureGdiplus();
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "PicBoxTestHost";
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        RegisterClassA(&wc);
        parent_ = CreateWindowExA(0, "PicBoxTestHost", "picbox", WS_POPUP | (shown ? WS_VISIBLE : 0), 0, 0, width, height, nullptr,
                                  nullptr, GetModuleHandleA(nullptr), nullptr);
        box_.create({{parent_, 0, 0, width, height}, 0, PicBox::kButtonFace, displayMode, animate});
        pump(50);
    }
    ~PicBoxHost() { DestroyWindow(parent_); }
    PicBoxHost(const PicBoxHost&) = delete;
    PicBoxHost& operator=(const PicBoxHost&) = delete;

    PicBox& box() { return box_; }
    HWND window() const { return parent_; }

    // What the box paints, through WM_PRINTCLIENT into a memory DC.
    Shot painted() {
        RECT r;
        GetClientRect(box_.hwnd(), &r);
        HDC screen = GetDC(nullptr);
        HDC mem = CreateCompatibleDC(screen);
        HBITMAP bmp = CreateCompatibleBitmap(screen, r.right, r.bottom);
        HGDIOBJ old = SelectObject(mem, bmp);
        SendMessageA(box_.hwnd(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(mem), PRF_CLIENT);
        Shot s = capture(mem, 0, 0, r.right, r.bottom);
        SelectObject(mem, old);
        DeleteObject(bmp);
        DeleteDC(mem);
        ReleaseDC(nullptr, screen);
        return s;
    }

    // What the screen shows in the box's rectangle after its own WM_PAINT.
    Shot onScreen() {
        RedrawWindow(box_.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        pump(50);
        RECT r;
        GetWindowRect(box_.hwnd(), &r);
        HDC screen = GetDC(nullptr);
        Shot s = capture(screen, r.left, r.top, r.right - r.left, r.bottom - r.top);
        ReleaseDC(nullptr, screen);
        return s;
    }

private:
    HWND parent_ = nullptr;
    PicBox box_;
};

} // namespace picbox_testing
