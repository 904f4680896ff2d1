// captureWindowImage: the BMP file image of exactly what the screen shows in a window.
#include "editor/bmp_file.h"
#include "editor/save_card_win.h"
#include "tests/wine/save_test_support_win.h"

#include <cstdint>
#include <vector>

using namespace save_support;

namespace {

uint32_t le32(const std::string& s, size_t at) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) {
        v = v << 8 | static_cast<uint8_t>(s[at + static_cast<size_t>(i)]);
    }
    return v;
}

// 0x00RRGGBB of the file's pixel (x, y), y from the top.
uint32_t filePixel(const std::string& file, const bmp::Layout24& layout, int x, int y) {
    size_t at = layout.pixelOffset(x, y);
    return static_cast<uint32_t>(static_cast<uint8_t>(file[at + 2])) << 16 |
           static_cast<uint32_t>(static_cast<uint8_t>(file[at + 1])) << 8 | static_cast<uint8_t>(file[at]);
}

// The screen's pixels in a window's rectangle, top row first, 0x00RRGGBB.
std::vector<uint32_t> screenPixels(HWND w, int& width, int& height) {
    RECT r;
    GetWindowRect(w, &r);
    width = r.right - r.left;
    height = r.bottom - r.top;
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(mem, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
    SelectObject(mem, old);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    std::vector<uint32_t> px(static_cast<size_t>(width) * height);
    GetDIBits(mem, bmp, 0, static_cast<UINT>(height), px.data(), &bi, DIB_RGB_COLORS);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    for (auto& p : px) {
        p &= 0xFFFFFF;
    }
    return px;
}

// Counts the pixels where the file differs from the screen.
int differences(const std::string& file, HWND w) {
    int width = 0, height = 0;
    std::vector<uint32_t> screen = screenPixels(w, width, height);
    const bmp::Layout24 layout{width, height};
    int diff = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            diff += filePixel(file, layout, x, y) != screen[static_cast<size_t>(y) * width + x];
        }
    }
    return diff;
}

// A frameless popup painted in four colour quadrants, with a child window in the middle.
LRESULT CALLBACK quadrantsProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(w, &ps);
        RECT r;
        GetClientRect(w, &r);
        const int mx = r.right / 2, my = r.bottom / 2;
        const struct {
            RECT rect;
            COLORREF colour;
        } quads[] = {{{0, 0, mx, my}, RGB(255, 0, 0)},
                     {{mx, 0, r.right, my}, RGB(0, 255, 0)},
                     {{0, my, mx, r.bottom}, RGB(0, 0, 255)},
                     {{mx, my, r.right, r.bottom}, RGB(255, 255, 0)}};
        for (const auto& q : quads) {
            HBRUSH b = CreateSolidBrush(q.colour);
            FillRect(dc, &q.rect, b);
            DeleteObject(b);
        }
        EndPaint(w, &ps);
        return 0;
    }
    return DefWindowProcA(w, m, wp, lp);
}

LRESULT CALLBACK blackProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(w, &ps);
        FillRect(dc, &ps.rcPaint, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        EndPaint(w, &ps);
        return 0;
    }
    return DefWindowProcA(w, m, wp, lp);
}

HWND makeWindow(const char* cls, WNDPROC proc, DWORD style, DWORD exStyle, int x, int y, int w, int h, HWND parent) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = cls;
    RegisterClassA(&wc);
    return CreateWindowExA(exStyle, cls, "", style, x, y, w, h, parent, nullptr, wc.hInstance, nullptr);
}

} // namespace

TEST(SaveCapture, CardCanvasFileMatchesTheScreen) {
    ShownWindow window;
    ASSERT_TRUE(window.ok);
    const std::string file = captureWindowImage(window->cardCanvas.hwnd());
    ASSERT_EQ(file.size(), 490950u);
    EXPECT_EQ(file.substr(0, 2), "BM");
    EXPECT_EQ(le32(file, 2), 490950u);
    EXPECT_EQ(le32(file, 10), 54u);
    EXPECT_EQ(le32(file, 14), 40u);
    EXPECT_EQ(le32(file, 18), 336u);
    EXPECT_EQ(le32(file, 22), 487u);
    EXPECT_EQ(le32(file, 26), 1u | 24u << 16); // planes, bit count
    EXPECT_EQ(le32(file, 30), 0u);
    EXPECT_EQ(le32(file, 34), 490896u);
    EXPECT_EQ(differences(file, window->cardCanvas.hwnd()), 0);
}

// Distinct colours in each corner show the rows are bottom-up and the bytes blue-green-red;
// an odd width makes every row padded; the child window must be in the picture too.
TEST(SaveCapture, CornersPaddingAndChildWindows) {
    HWND top = makeWindow("TvkSaveQuadrants", quadrantsProc, WS_POPUP | WS_VISIBLE, WS_EX_TOPMOST, 60, 70, 101, 63,
                          nullptr);
    ASSERT_TRUE(top);
    HWND child = makeWindow("TvkSaveBlack", blackProc, WS_CHILD | WS_VISIBLE, 0, 45, 26, 10, 10, top);
    ASSERT_TRUE(child);
    UpdateWindow(top);
    pump(300);

    const std::string file = captureWindowImage(top);
    const bmp::Layout24 layout{101, 63};
    ASSERT_EQ(file.size(), layout.fileSize());
    EXPECT_EQ(layout.stride(), 304u);
    EXPECT_EQ(filePixel(file, layout, 0, 0), 0xFF0000u);
    EXPECT_EQ(filePixel(file, layout, 100, 0), 0x00FF00u);
    EXPECT_EQ(filePixel(file, layout, 0, 62), 0x0000FFu);
    EXPECT_EQ(filePixel(file, layout, 100, 62), 0xFFFF00u);
    EXPECT_EQ(filePixel(file, layout, 50, 31), 0x000000u);
    for (int row = 0; row < 63; ++row) {
        EXPECT_EQ(file[54 + static_cast<size_t>(row) * 304 + 303], '\0') << row;
    }
    EXPECT_EQ(differences(file, top), 0);
    DestroyWindow(top);
}

TEST(SaveCapture, NoWindowGivesNothing) {
    EXPECT_EQ(captureWindowImage(nullptr), "");
    HWND gone = makeWindow("TvkSaveGone", DefWindowProcA, WS_POPUP, 0, 0, 0, 10, 10, nullptr);
    DestroyWindow(gone);
    EXPECT_EQ(captureWindowImage(gone), "");
    // A window with no area cannot make a bitmap.
    HWND empty = makeWindow("TvkSaveEmpty", DefWindowProcA, WS_POPUP | WS_VISIBLE, 0, 0, 0, 0, 0, nullptr);
    EXPECT_EQ(captureWindowImage(empty), "");
    DestroyWindow(empty);
}
