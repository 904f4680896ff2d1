// Helpers for the true-colour tests: a plain top-level window with a known background,
// PNG files made on the spot, and pixels read back from the screen or a DC.
#pragma once

#include "tests/wine/window_fixture_win.h"

#include <windows.h>

#include "truecolour/gdiplus_win.h"

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace tc_test {

inline void pump(DWORD ms = 100) { testing_support::pump(ms); }

// 0xAARRGGBB pixels, top row first.
struct Pixels {
    int width = 0, height = 0;
    std::vector<uint32_t> data;
    uint32_t at(int x, int y) const { return data[static_cast<size_t>(y) * width + x]; }
    uint32_t rgb(int x, int y) const { return at(x, y) & 0xFFFFFF; }
};

inline int red(uint32_t p) { return (p >> 16) & 0xFF; }
inline int green(uint32_t p) { return (p >> 8) & 0xFF; }
inline int blue(uint32_t p) { return p & 0xFF; }

// Each channel within tolerance.
inline bool similar(uint32_t a, uint32_t b, int tolerance) {
    return std::abs(red(a) - red(b)) <= tolerance && std::abs(green(a) - green(b)) <= tolerance &&
           std::abs(blue(a) - blue(b)) <= tolerance;
}

inline Pixels readBitmap(HBITMAP bmp, int w, int h) {
    Pixels out;
    out.width = w;
    out.height = h;
    out.data.resize(static_cast<size_t>(w) * h);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, bmp, 0, static_cast<UINT>(h), out.data.data(), &bi, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    return out;
}

inline Pixels readDc(HDC source, int x, int y, int w, int h) {
    HDC mem = CreateCompatibleDC(source);
    HBITMAP bmp = CreateCompatibleBitmap(source, w, h);
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(mem, 0, 0, w, h, source, x, y, SRCCOPY);
    SelectObject(mem, old);
    Pixels p = readBitmap(bmp, w, h);
    DeleteObject(bmp);
    DeleteDC(mem);
    for (auto& v : p.data) {
        v &= 0xFFFFFF;
    }
    return p;
}

// What the screen shows in a window's rectangle.
inline Pixels readScreen(HWND w) {
    RECT r;
    GetWindowRect(w, &r);
    HDC screen = GetDC(nullptr);
    Pixels p = readDc(screen, r.left, r.top, r.right - r.left, r.bottom - r.top);
    ReleaseDC(nullptr, screen);
    return p;
}

// A shown top-level window whose client area is one solid colour, at a fixed place.
class PlainWindow {
public:
    explicit PlainWindow(COLORREF colour, int width = 400, int height = 560) {
        const char* cls = "TarvokTcTestWindow";
        WNDCLASSEXA wc{};
        if (!GetClassInfoExA(GetModuleHandleA(nullptr), cls, &wc)) {
            wc.cbSize = sizeof wc;
            wc.lpfnWndProc = DefWindowProcA;
            wc.hInstance = GetModuleHandleA(nullptr);
            wc.lpszClassName = cls;
            RegisterClassExA(&wc);
        }
        brush_ = CreateSolidBrush(colour);
        hwnd_ = CreateWindowExA(0, cls, "tc", WS_POPUP | WS_VISIBLE, 20, 20, width, height, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
        SetClassLongPtrA(hwnd_, GCLP_HBRBACKGROUND, reinterpret_cast<LONG_PTR>(brush_));
        InvalidateRect(hwnd_, nullptr, TRUE);
        pump(200);
    }
    PlainWindow(const PlainWindow&) = delete;
    PlainWindow& operator=(const PlainWindow&) = delete;
    ~PlainWindow() {
        DestroyWindow(hwnd_);
        DeleteObject(brush_);
    }
    HWND hwnd() const { return hwnd_; }
    // A plain child window (its own class paints nothing), for a panel to take over.
    HWND child(int x, int y, int w, int h) const {
        return CreateWindowExA(0, "Static", "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, x, y, w, h, hwnd_,
                               nullptr, nullptr, nullptr);
    }

private:
    HWND hwnd_ = nullptr;
    HBRUSH brush_ = nullptr;
};

// A PNG file (RGBA) whose pixel (x, y) is pixel(x, y) as 0xAARRGGBB, encoded by GDI+.
inline std::string makePng(int w, int h, const std::function<uint32_t(int, int)>& pixel) {
    std::vector<uint32_t> data(static_cast<size_t>(w) * h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            data[static_cast<size_t>(y) * w + x] = pixel(x, y);
        }
    }
    GpBitmap* bitmap = nullptr;
    gp::GdipCreateBitmapFromScan0(w, h, w * 4, PixelFormat32bppARGB, reinterpret_cast<BYTE*>(data.data()), &bitmap);
    // The PNG encoder's class identifier.
    const CLSID png{0x557cf406, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
    IStream* stream = nullptr;
    CreateStreamOnHGlobal(nullptr, TRUE, &stream);
    gp::GdipSaveImageToStream(bitmap, stream, &png, nullptr);
    gp::GdipDisposeImage(bitmap);
    HGLOBAL block = nullptr;
    GetHGlobalFromStream(stream, &block);
    STATSTG stat{};
    stream->Stat(&stat, STATFLAG_NONAME);
    std::string bytes(static_cast<const char*>(GlobalLock(block)), static_cast<size_t>(stat.cbSize.QuadPart));
    GlobalUnlock(block);
    stream->Release();
    return bytes;
}

inline std::string solidPng(int w, int h, uint32_t argb) {
    return makePng(w, h, [argb](int, int) { return argb; });
}

} // namespace tc_test
