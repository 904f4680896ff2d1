// An animated GIF portrait on the card: each new frame shows through the frame's
// window, and the frame stays drawn over the parts of the portrait it covers.
#include "editor/handlers_win.h"
#include "tests/support/picture_files.h"
#include "tests/wine/save_test_support_win.h"

#include <set>

using namespace save_support;

namespace {

uint32_t screenPixel(HWND window, int x, int y) {
    POINT p{x, y};
    ClientToScreen(window, &p);
    HDC screen = GetDC(nullptr);
    const COLORREF c = GetPixel(screen, p.x, p.y);
    ReleaseDC(nullptr, screen);
    return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

TEST(PicBoxCard, AnAnimatedPortraitPlaysUnderTheFrame) {
    ShownWindow window;
    ASSERT_TRUE(window.ok);
    using picture_files::Image;
    window->portraitBox.setPicture(picture_files::gifFile({Image(61, 80, 0xFF0000), Image(61, 80, 0x0000FF)},
                                                          {0xFF0000, 0x0000FF}, 10));
    applyFrame(*window);
    pump(100);
    const HWND canvas = window->cardCanvas.hwnd();
    // In the canvas: the middle of the portrait shows through the frame's window; a
    // corner of the portrait lies under the frame's opaque border.
    const int middleX = 14 + 152, middleY = 59 + 200, cornerX = 16, cornerY = 61;
    const uint32_t frameColour = screenPixel(canvas, cornerX, cornerY);
    ASSERT_NE(frameColour, 0xFF0000u);
    ASSERT_NE(frameColour, 0x0000FFu);
    std::set<uint32_t> middle, corner;
    const DWORD end = GetTickCount() + 800;
    while (static_cast<LONG>(GetTickCount() - end) < 0) {
        pump(20);
        middle.insert(screenPixel(canvas, middleX, middleY));
        corner.insert(screenPixel(canvas, cornerX, cornerY));
    }
    EXPECT_EQ(middle, (std::set<uint32_t>{0xFF0000, 0x0000FF}));
    EXPECT_EQ(corner, (std::set<uint32_t>{frameColour}));
}

} // namespace
