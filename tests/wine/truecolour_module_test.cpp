// Module start-up: the identifier, the loader class, the wide-text conversion.
#include "truecolour/module_win.h"
#include "truecolour/image_decoding_win.h"
#include "tests/wine/truecolour_fixture_win.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(TrueColourModule, TimeDimensionIdHoldsTheTimeFrameDimension) {
    const unsigned char expected[16] = {0x6D, 0xBD, 0xED, 0x6A, 0xB5, 0x3F, 0x8A, 0x41,
                                        0x83, 0xA6, 0x7F, 0x45, 0x22, 0x9D, 0xC8, 0x72};
    ASSERT_TRUE(timeDimensionId);
    EXPECT_EQ(std::memcmp(timeDimensionId.get(), expected, 16), 0);
}

TEST(TrueColourModule, LoaderClassIsRegisteredAsSpecified) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    ASSERT_TRUE(GetClassInfoExA(GetModuleHandleA(nullptr), "OrvaneLoadDialog", &wc));
    EXPECT_EQ(wc.style, static_cast<UINT>(CS_HREDRAW | CS_VREDRAW));
    EXPECT_EQ(wc.lpfnWndProc, &loaderWindowProc);
    EXPECT_EQ(wc.hCursor, LoadCursorA(nullptr, IDC_ARROW));
    EXPECT_EQ(wc.hbrBackground, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    EXPECT_EQ(wc.cbClsExtra, 0);
    EXPECT_EQ(wc.cbWndExtra, 0);
    EXPECT_EQ(wc.hIcon, nullptr);
    EXPECT_EQ(wc.lpszMenuName, nullptr);
    // Nothing in the module makes a window of it.
    EXPECT_EQ(FindWindowA("OrvaneLoadDialog", nullptr), nullptr);
}

TEST(TrueColourModule, ToWideTextGivesUtf16WithItsTerminator) {
    struct Case {
        std::string ansi;
        std::u16string wide;
    };
    const Case cases[] = {
        {"", u""},
        {"{6AEDBD6D}", u"{6AEDBD6D}"},
        {"真彩", u"真彩"}, // GBK bytes in, UTF-16 out
    };
    for (const Case& c : cases) {
        std::string bytes = toWideText(c.ansi);
        std::u16string withZero = c.wide + u'\0';
        ASSERT_EQ(bytes.size(), withZero.size() * 2) << c.ansi;
        EXPECT_EQ(std::memcmp(bytes.data(), withZero.data(), bytes.size()), 0) << c.ansi;
    }
}

// The loader's clean-up disposes the image and frees the block it is given; a window
// with none of them set is destroyed like any other.
TEST(TrueColourModule, LoaderWindowReleasesWhatItsPropertiesHold) {
    HWND bare = CreateWindowExA(0, "OrvaneLoadDialog", "", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(bare);
    EXPECT_TRUE(DestroyWindow(bare));

    HWND w = CreateWindowExA(0, "OrvaneLoadDialog", "", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(w);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 64);
    ASSERT_TRUE(block);
    GpBitmap* image = nullptr;
    ASSERT_EQ(gp::GdipCreateBitmapFromScan0(4, 4, 0, PixelFormat32bppARGB, nullptr, &image), Gdiplus::Ok);
    SetPropA(w, "Orvane_Stream", block);
    SetPropA(w, "Orvane_Image", image);
    EXPECT_TRUE(DestroyWindow(w));
    EXPECT_EQ(GlobalFlags(block), static_cast<UINT>(GMEM_INVALID_HANDLE));
    // The properties stay as they were; only the window is gone.
    EXPECT_FALSE(IsWindow(w));
}

} // namespace

namespace {

// What the loader's click handling sends on; the caption press itself is kept from the
// system, whose move loop would wait for the mouse.
UINT captionPresses = 0;
LRESULT CALLBACK recordCaptionPress(HWND w, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCLBUTTONDOWN) {
        captionPresses += wParam == HTCAPTION;
        return 0;
    }
    return loaderWindowProc(w, message, wParam, lParam);
}

TEST(TrueColourModule, LoaderWindowIsDraggedByAnyPointOnlyWhenAsked) {
    struct Case {
        INT_PTR hitMove;
        UINT presses;
    };
    for (const Case& c : {Case{1, 1}, Case{0, 0}, Case{2, 0}, Case{-1, 0}}) {
        HWND w = CreateWindowExA(0, "OrvaneLoadDialog", "", WS_POPUP, 10, 10, 80, 60, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
        ASSERT_TRUE(w);
        SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&recordCaptionPress));
        if (c.hitMove) {
            SetPropA(w, "OrvaneHitMove", reinterpret_cast<HANDLE>(c.hitMove));
        }
        captionPresses = 0;
        SendMessageA(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(40, 30));
        EXPECT_EQ(captionPresses, c.presses) << "OrvaneHitMove " << c.hitMove;
        DestroyWindow(w);
    }
}

} // namespace
