// The two links: colours for normal, hover and opened, and opening through the shell.
#include "tests/wine/window_fixture_win.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace testing_support;

namespace {

// How many pixels of the link's caption show in colour c.
int pixelsOf(HyperLinker& link, COLORREF c) {
    RECT r;
    GetClientRect(link.hwnd(), &r);
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, r.right, r.bottom);
    HGDIOBJ old = SelectObject(mem, bmp);
    SendMessageA(link.hwnd(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(mem), PRF_CLIENT);
    Pixels p = readDc(mem, 0, 0, r.right, r.bottom);
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    int n = 0;
    for (uint32_t px : p.data) {
        n += px == rgb(c);
    }
    return n;
}

LRESULT CALLBACK hostProc(HWND w, UINT m, WPARAM wp, LPARAM lp) { return DefWindowProcA(w, m, wp, lp); }

struct LinkHost {
    HWND window;
    HyperLinker link;
    explicit LinkHost(const std::string& address) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = hostProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = "LinkHost";
        RegisterClassA(&wc);
        window = CreateWindowExA(0, "LinkHost", "", WS_POPUP | WS_VISIBLE, 50, 50, 300, 100, nullptr, nullptr,
                                 nullptr, nullptr);
        link.create({{window, 10, 10, 142, 16}, "本程序由Mirelda提供", address});
        pump(50);
    }
    ~LinkHost() { DestroyWindow(window); }
    void mouseAt(int x, int y) {
        SendMessageA(link.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
        pump(20);
    }
};

} // namespace

TEST(HyperLinker, HoverColourGoesBeforeTheOpenedColour) {
    char folder[MAX_PATH];
    GetTempPathA(sizeof folder, folder);
    std::string script = std::string(folder) + "tarvok-link-ok.bat";
    std::ofstream(script) << "@exit\r\n";

    LinkHost host(script);
    HyperLinker& link = host.link;
    EXPECT_GT(pixelsOf(link, HyperLinker::kNormal), 10) << "blue at first";
    host.mouseAt(5, 5);
    EXPECT_TRUE(link.hovering());
    EXPECT_EQ(GetCapture(), link.hwnd()) << "the link captures the mouse while over it";
    EXPECT_GT(pixelsOf(link, HyperLinker::kHover), 10);
    EXPECT_EQ(pixelsOf(link, HyperLinker::kNormal), 0);
    host.mouseAt(500, 5);
    EXPECT_FALSE(link.hovering());
    EXPECT_NE(GetCapture(), link.hwnd());
    EXPECT_GT(pixelsOf(link, HyperLinker::kNormal), 10);

    SendMessageA(link.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    pump(20);
    EXPECT_TRUE(link.opened());
    host.mouseAt(500, 5);
    EXPECT_GT(pixelsOf(link, HyperLinker::kOpened), 10) << "dark red once opened";
    host.mouseAt(5, 5);
    EXPECT_GT(pixelsOf(link, HyperLinker::kHover), 10) << "hover shows over the opened colour";
    host.mouseAt(500, 5);
    DeleteFileA(script.c_str());
}

TEST(HyperLinker, AnEmptyAddressDoesNothing) {
    LinkHost host("");
    SendMessageA(host.link.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    pump(20);
    EXPECT_FALSE(host.link.opened());
}

TEST(HyperLinker, ShowsAHandCursor) {
    LinkHost host("x");
    EXPECT_EQ(reinterpret_cast<HCURSOR>(GetClassLongPtrA(host.link.hwnd(), GCLP_HCURSOR)),
              LoadCursorA(nullptr, IDC_HAND));
}
