// The picture panel's window handling: subclassing, colours, tooltips, moves.
#include "truecolour/true_colour_panel_win.h"
#include "truecolour/module_win.h"
#include "tests/wine/truecolour_fixture_win.h"

#include <commctrl.h>

#include <gtest/gtest.h>

namespace {

using namespace tc_test;

WNDPROC procedureOf(HWND w) { return reinterpret_cast<WNDPROC>(GetWindowLongPtrA(w, GWLP_WNDPROC)); }
INT_PTR prop(HWND w, const char* name) { return reinterpret_cast<INT_PTR>(GetPropA(w, name)); }

TEST(TrueColourPanel, AWindowIsSubclassedOnce) {
    PlainWindow parent(RGB(0, 128, 0));
    HWND a = parent.child(10, 10, 100, 100);
    HWND b = parent.child(150, 10, 100, 100);
    const WNDPROC parentOriginal = procedureOf(parent.hwnd());
    const WNDPROC childOriginal = procedureOf(a);

    TrueColourPanel panel;
    panel.attachToWindow(a);
    panel.attachToWindow(a);
    TrueColourPanel other;
    other.attachToWindow(b);

    EXPECT_EQ(procedureOf(a), &pictureWindowProc);
    EXPECT_EQ(prop(a, "PngControl_WndProc"), reinterpret_cast<INT_PTR>(childOriginal));
    EXPECT_EQ(procedureOf(parent.hwnd()), &parentWindowProc);
    EXPECT_EQ(prop(parent.hwnd(), "PngControl_WndProc"), reinterpret_cast<INT_PTR>(parentOriginal));
    EXPECT_EQ(prop(a, "PngControl_Type"), 2);
    char text[64] = {};
    GetWindowTextA(a, text, sizeof text);
    EXPECT_STREQ(text, kPictureWindowText);
    EXPECT_FALSE(GetWindowLongPtrA(a, GWL_STYLE) & WS_CLIPSIBLINGS);
    EXPECT_TRUE(GetWindowLongPtrA(a, GWL_EXSTYLE) & WS_EX_TRANSPARENT);
    EXPECT_FALSE(GetWindowLongPtrA(parent.hwnd(), GWL_STYLE) & WS_CLIPCHILDREN);

    // A window already subclassed as a parent keeps that procedure when attached itself.
    HWND inner = CreateWindowExA(0, "Static", "", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, a, nullptr, nullptr, nullptr);
    TrueColourPanel third;
    third.attachToWindow(inner);
    EXPECT_EQ(procedureOf(a), &pictureWindowProc); // a is a typed control: not given parentWindowProc
    TrueColourPanel fourth;
    fourth.attachToWindow(parent.hwnd());
    EXPECT_EQ(procedureOf(parent.hwnd()), &parentWindowProc);
    EXPECT_EQ(prop(parent.hwnd(), "PngControl_Type"), 2);
}

TEST(TrueColourPanel, PrepareWindowRefusesWhatIsNoWindow) {
    PlainWindow parent(RGB(0, 0, 0));
    HWND a = parent.child(0, 0, 10, 10);
    TrueColourPanel panel;
    ASSERT_TRUE(panel.prepareWindow(a));
    HWND gone = parent.child(0, 0, 10, 10);
    DestroyWindow(gone);
    for (HWND notAWindow : {static_cast<HWND>(nullptr), gone}) {
        EXPECT_FALSE(panel.prepareWindow(notAWindow));
        panel.attachToWindow(notAWindow);
        EXPECT_EQ(panel.getWindow(), a);
    }
    EXPECT_EQ(panel.create(reinterpret_cast<HWND>(1), 0, 0, 10, 10), nullptr);
    EXPECT_EQ(panel.getWindow(), a);
    // prepareWindow binds without making a picture panel.
    EXPECT_EQ(prop(a, "PngControl_Type"), 0);
    EXPECT_TRUE(panel.isValid());
    EXPECT_EQ(panel.copy()->getWindow(), a);
}

// The parent's previous procedure, recording what reaches it.
UINT lastSeen = 0;
LRESULT CALLBACK recordingProc(HWND w, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {
        lastSeen = message;
        return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
    }
    return DefWindowProcA(w, message, wParam, lParam);
}

TEST(TrueColourPanel, ControlColoursOfTypedControlsAreTransparent) {
    PlainWindow parent(RGB(0, 0, 0));
    SetWindowLongPtrA(parent.hwnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&recordingProc));
    HWND panelWindow = parent.child(0, 0, 50, 50);
    HWND untyped = parent.child(60, 0, 50, 50);
    HWND textInput = parent.child(120, 0, 50, 50);
    TrueColourPanel panel;
    panel.attachToWindow(panelWindow);
    SetPropA(textInput, "PngControl_Type", reinterpret_cast<HANDLE>(4));
    SetPropA(textInput, "PngControl_TextColor", reinterpret_cast<HANDLE>(static_cast<INT_PTR>(RGB(1, 2, 3))));

    struct Case {
        HWND control;
        UINT message;
        bool reachesPrevious;
        COLORREF textColour; // what the DC ends with
    };
    const COLORREF unchanged = RGB(9, 9, 9);
    const Case cases[] = {
        {untyped, WM_CTLCOLORSTATIC, true, unchanged},   {untyped, WM_CTLCOLOREDIT, true, unchanged},
        {panelWindow, WM_CTLCOLORSTATIC, false, unchanged}, {panelWindow, WM_CTLCOLORBTN, false, unchanged},
        {textInput, WM_CTLCOLOREDIT, false, RGB(1, 2, 3)}, {textInput, WM_CTLCOLORDLG, false, RGB(1, 2, 3)},
    };
    HDC dc = CreateCompatibleDC(nullptr);
    for (const Case& c : cases) {
        lastSeen = 0;
        SetBkMode(dc, OPAQUE);
        SetTextColor(dc, unchanged);
        LRESULT brush = SendMessageA(parent.hwnd(), c.message, reinterpret_cast<WPARAM>(dc),
                                     reinterpret_cast<LPARAM>(c.control));
        if (c.reachesPrevious) {
            EXPECT_EQ(lastSeen, c.message);
            EXPECT_EQ(brush, reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH)));
            EXPECT_EQ(GetBkMode(dc), OPAQUE);
        } else {
            EXPECT_EQ(lastSeen, 0u);
            EXPECT_EQ(brush, reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH)));
            EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
        }
        EXPECT_EQ(GetTextColor(dc), c.textColour);
    }
    // The scroll bar's colour message is not in the row: it always reaches the previous one.
    lastSeen = 0;
    SendMessageA(parent.hwnd(), WM_CTLCOLORSCROLLBAR, reinterpret_cast<WPARAM>(dc),
                 reinterpret_cast<LPARAM>(panelWindow));
    EXPECT_EQ(lastSeen, static_cast<UINT>(WM_CTLCOLORSCROLLBAR));
    DeleteDC(dc);
}

TEST(TrueColourPanel, SetToolTipTwiceAddsOnceThenUpdates) {
    PlainWindow parent(RGB(0, 0, 0));
    TrueColourPanel panel;
    panel.attachToWindow(parent.child(10, 10, 80, 40));
    panel.setToolTip("first");
    ASSERT_NE(sharedToolTipWindow, nullptr);
    const HWND shared = sharedToolTipWindow;
    panel.setToolTip("second", false);
    EXPECT_EQ(sharedToolTipWindow, shared);
    EXPECT_EQ(SendMessageA(shared, TTM_GETTOOLCOUNT, 0, 0), 1);
    EXPECT_EQ(panel.getProperty("Orvane_ToolTips"), 1);

    char text[80] = {};
    TOOLINFOA info{};
    info.cbSize = TTTOOLINFOA_V2_SIZE;
    info.hwnd = panel.getWindow();
    info.uId = 0;
    info.lpszText = text;
    SendMessageA(shared, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&info));
    EXPECT_STREQ(text, "second");
    ASSERT_TRUE(SendMessageA(shared, TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&info)));
    // Added with the first call's arguments: at the cursor, over the client rectangle then.
    EXPECT_EQ(info.uFlags & TTF_CENTERTIP, 0u);
    EXPECT_TRUE(info.uFlags & TTF_SUBCLASS);
    EXPECT_EQ(info.rect.right, 80);
    EXPECT_EQ(info.rect.bottom, 40);

    // A second panel shares the window and adds its own tool.
    TrueColourPanel other;
    other.attachToWindow(parent.child(100, 10, 30, 30));
    other.setToolTip("other", false);
    EXPECT_EQ(sharedToolTipWindow, shared);
    EXPECT_EQ(SendMessageA(shared, TTM_GETTOOLCOUNT, 0, 0), 2);
}

TEST(TrueColourPanel, MoveKeepsWhatIsOmitted) {
    PlainWindow parent(RGB(0, 0, 0));
    struct Case {
        std::optional<int> x, y, w, h;
        RECT expected; // in the parent's client coordinates
    };
    const Case cases[] = {
        {5, {}, {}, {}, {5, 20, 5 + 30, 20 + 40}},
        {{}, {}, 70, {}, {10, 20, 10 + 70, 20 + 40}},
        {0, 0, {}, {}, {0, 0, 30, 40}},       // a given 0 is a 0
        {{}, 0, {}, 0, {10, 0, 10 + 30, 0}},  // each axis on its own
        {{}, {}, {}, {}, {10, 20, 10 + 30, 20 + 40}},
        {1, 2, 3, 4, {1, 2, 4, 6}},
    };
    for (const Case& c : cases) {
        TrueColourPanel panel;
        HWND w = parent.child(10, 20, 30, 40);
        panel.attachToWindow(w);
        panel.move(c.x, c.y, c.w, c.h);
        RECT r;
        GetWindowRect(w, &r);
        MapWindowPoints(HWND_DESKTOP, parent.hwnd(), reinterpret_cast<POINT*>(&r), 2);
        EXPECT_TRUE(EqualRect(&r, &c.expected))
            << r.left << "," << r.top << "," << r.right << "," << r.bottom << " wanted " << c.expected.left << ","
            << c.expected.top << "," << c.expected.right << "," << c.expected.bottom;
        DestroyWindow(w);
    }
}

} // namespace

namespace {

UINT commandsSeen = 0;
LRESULT CALLBACK countCommands(HWND w, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND) {
        ++commandsSeen;
    }
    return DefWindowProcA(w, message, wParam, lParam);
}

bool hasUpdate(HWND w) {
    RECT r{};
    return GetUpdateRect(w, &r, FALSE) && !IsRectEmpty(&r);
}

// A text-input control (type 4) is repainted with its parent's content changes; other
// controls and other notifications are only passed on.
TEST(TrueColourPanel, TextInputControlsRepaintOnTheirChanges) {
    PlainWindow parent(RGB(0, 0, 0));
    SetWindowLongPtrA(parent.hwnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&countCommands));
    HWND panelWindow = parent.child(0, 0, 40, 40);
    TrueColourPanel panel;
    panel.attachToWindow(panelWindow);
    HWND textInput = parent.child(50, 0, 40, 40);
    HWND plain = parent.child(100, 0, 40, 40);
    SetPropA(textInput, "PngControl_Type", reinterpret_cast<HANDLE>(4));
    struct Case {
        HWND control;
        UINT code;
        bool repainted;
    };
    const Case cases[] = {
        {textInput, EN_CHANGE, true},  {textInput, EN_HSCROLL, true}, {textInput, EN_VSCROLL, true},
        {textInput, EN_SETFOCUS, false}, {plain, EN_CHANGE, false},
    };
    for (const Case& c : cases) {
        pump(50);
        ASSERT_FALSE(hasUpdate(c.control));
        commandsSeen = 0;
        SendMessageA(parent.hwnd(), WM_COMMAND, MAKEWPARAM(0, c.code), reinterpret_cast<LPARAM>(c.control));
        EXPECT_EQ(hasUpdate(c.control), c.repainted) << std::hex << c.code;
        EXPECT_EQ(commandsSeen, 1u);
    }
}

// A state-image control (type 3) composes its state's image over its cache at custom draw.
TEST(TrueColourPanel, StateImageControlsComposeTheirStateImageAtCustomDraw) {
    PlainWindow parent(RGB(0, 0, 0));
    HWND panelWindow = parent.child(0, 0, 40, 40);
    TrueColourPanel panel;
    panel.attachToWindow(panelWindow);
    HWND control = parent.child(60, 60, 40, 40);
    pump(100);
    SetPropA(control, "PngControl_Type", reinterpret_cast<HANDLE>(3));
    SetPropA(control, "PngControl_BackType", reinterpret_cast<HANDLE>(1));
    HDC screen = GetDC(nullptr);
    HBITMAP cache = CreateCompatibleBitmap(screen, 40, 40); // black
    ReleaseDC(nullptr, screen);
    SetPropA(control, "PngControl_CacheBitmap", cache);
    struct State {
        INT_PTR drawState;
        const char* property;
        uint32_t colour;
    };
    const State states[] = {
        {0, "PngControl_NormalImage", 0x0000FF}, {1, "PngControl_OverlImage", 0x00FF00},
        {2, "PngControl_DownImage", 0xFF0000},   {3, "PngControl_DisableImage", 0xFFFFFF},
    };
    std::vector<GpBitmap*> images;
    for (const State& s : states) {
        GpBitmap* image = nullptr;
        gp::GdipCreateBitmapFromScan0(4, 4, 0, PixelFormat32bppARGB, nullptr, &image);
        GpGraphics* g = nullptr;
        gp::GdipGetImageGraphicsContext(image, &g);
        gp::GdipGraphicsClear(g, 0xFF000000 | s.colour);
        gp::GdipDeleteGraphics(g);
        SetPropA(control, s.property, image);
        images.push_back(image);
    }
    for (INT_PTR drawState : {0, 1, 2, 3, 7}) {
        SetPropA(control, "Orvane_DrawState", reinterpret_cast<HANDLE>(drawState));
        NMHDR header{control, 0, static_cast<UINT>(NM_CUSTOMDRAW)};
        SendMessageA(parent.hwnd(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header));
        pump(50);
        uint32_t expected = states[drawState <= 3 ? drawState : 0].colour;
        EXPECT_EQ(readScreen(control).rgb(20, 20), expected) << "state " << drawState;
    }
    // With no image for its state, the normal one is taken.
    RemovePropA(control, "PngControl_DownImage");
    SetPropA(control, "Orvane_DrawState", reinterpret_cast<HANDLE>(2));
    NMHDR header{control, 0, static_cast<UINT>(NM_CUSTOMDRAW)};
    SendMessageA(parent.hwnd(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header));
    pump(50);
    EXPECT_EQ(readScreen(control).rgb(20, 20), 0x0000FFu);
    for (GpBitmap* image : images) {
        gp::GdipDisposeImage(image);
    }
}

} // namespace
