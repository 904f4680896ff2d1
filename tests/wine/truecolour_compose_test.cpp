// What a picture panel puts on the screen: the back image blended over what lies beneath.
#include "editor/frames_win.h"
#include "truecolour/image_decoding_win.h"
#include "truecolour/true_colour_panel_win.h"
#include "tests/wine/truecolour_fixture_win.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using namespace tc_test;

constexpr COLORREF kGreen = RGB(0, 200, 0);
constexpr uint32_t kGreenPixel = 0x00C800;

// Source-over of a straight-alpha colour on an opaque background.
uint32_t over(uint32_t argb, uint32_t background) {
    int a = static_cast<int>(argb >> 24);
    auto channel = [a](int fg, int bg) { return (fg * a + bg * (255 - a) + 127) / 255; };
    return static_cast<uint32_t>((channel(red(argb), red(background)) << 16) |
                                 (channel(green(argb), green(background)) << 8) |
                                 channel(blue(argb), blue(background)));
}

// The panel's area on the screen, with a margin of the parent around it.
struct Shown {
    Pixels pixels;
    int margin;
    uint32_t at(int x, int y) const { return pixels.rgb(x + margin, y + margin); }
};

Shown shownAround(HWND parent, HWND panel, int margin) {
    RECT r;
    GetWindowRect(panel, &r);
    HDC screen = GetDC(nullptr);
    Shown s{readDc(screen, r.left - margin, r.top - margin, r.right - r.left + 2 * margin,
                   r.bottom - r.top + 2 * margin),
            margin};
    ReleaseDC(nullptr, screen);
    (void)parent;
    return s;
}

TEST(TrueColourCompose, StretchBlendsTheImageOverTheBackgroundExactlyToThePanel) {
    PlainWindow parent(kGreen);
    HWND w = parent.child(20, 30, 200, 100);
    TrueColourPanel panel;
    panel.attachToWindow(w);
    const uint32_t blue = 0xFF0000FF, halfRed = 0x80FF0000;
    panel.setBackImageFromBytes(makePng(100, 50, [&](int x, int) { return x < 50 ? blue : halfRed; }));
    panel.setBackType(1);
    pump(300);

    Shown s = shownAround(parent.hwnd(), w, 2);
    const uint32_t blended = over(halfRed, kGreenPixel);
    struct Probe {
        int x, y;
        uint32_t expected;
    };
    const Probe probes[] = {
        {1, 1, 0x0000FF},     {90, 50, 0x0000FF},   {1, 98, 0x0000FF},  // left half, stretched 2x
        {110, 50, blended},   {198, 1, blended},    {198, 98, blended}, // right half, to the far corner
        {-2, 50, kGreenPixel}, {201, 50, kGreenPixel}, {100, -2, kGreenPixel}, {100, 101, kGreenPixel},
    };
    for (const Probe& p : probes) {
        EXPECT_TRUE(similar(s.at(p.x, p.y), p.expected, 2))
            << p.x << "," << p.y << ": " << std::hex << s.at(p.x, p.y) << " wanted " << p.expected;
    }
    // The image reaches the panel's last row and column (stretched, not drawn at 100 x 50).
    EXPECT_FALSE(similar(s.at(199, 99), kGreenPixel, 8)) << std::hex << s.at(199, 99);
    EXPECT_FALSE(similar(s.at(0, 0), kGreenPixel, 8)) << std::hex << s.at(0, 0);
}

TEST(TrueColourCompose, NaturalSizeIsDrawnFromTheCornerAndCutOff) {
    PlainWindow parent(kGreen);
    HWND w = parent.child(20, 30, 200, 100);
    TrueColourPanel panel;
    panel.attachToWindow(w);
    panel.setBackImageFromBytes(solidPng(120, 300, 0xFF0000FF));
    pump(300); // no back type ever set
    Shown s = shownAround(parent.hwnd(), w, 2);
    EXPECT_EQ(s.at(5, 5), 0x0000FFu);
    EXPECT_EQ(s.at(115, 98), 0x0000FFu);
    EXPECT_EQ(s.at(125, 50), kGreenPixel);
    EXPECT_EQ(s.at(50, 101), kGreenPixel); // cut at the panel's edge
}

// The box of pixels that differ from the background at all (GDI+ may cover an edge
// column only partly when it shrinks an image).
RECT drawnBox(const Shown& s, int w, int h) {
    RECT box{w, h, -1, -1};
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (s.at(x, y) != kGreenPixel) {
                box.left = std::min<LONG>(box.left, x);
                box.top = std::min<LONG>(box.top, y);
                box.right = std::max<LONG>(box.right, x + 1);
                box.bottom = std::max<LONG>(box.bottom, y + 1);
            }
        }
    }
    return box;
}

TEST(TrueColourCompose, FitWithinCentresTheImageAtTheWorkedPlaces) {
    PlainWindow parent(kGreen);
    HWND w = parent.child(10, 10, 336, 487);
    TrueColourPanel panel;
    panel.attachToWindow(w);
    struct Case {
        int iw, ih;
        RECT expected;
        int edge; // how far a shrunk image's edge may fall inside: GDI+ may leave it out
    };
    const Case cases[] = {
        {741, 1039, {0, 8, 336, 8 + 471}, 1},
        {200, 100, {68, 193, 68 + 200, 193 + 100}, 0},
        {300, 1000, {95, 0, 95 + 146, 487}, 1},
        {1000, 300, {0, 193, 336, 193 + 100}, 1},
    };
    for (const Case& c : cases) {
        panel.setBackImageFromBytes(solidPng(c.iw, c.ih, 0xFF0000FF));
        panel.setBackType(2);
        pump(300);
        RECT box = drawnBox(shownAround(parent.hwnd(), w, 0), 336, 487);
        bool inside = box.left >= c.expected.left && box.top >= c.expected.top && box.right <= c.expected.right &&
                      box.bottom <= c.expected.bottom;
        bool nearEdges = box.left - c.expected.left <= c.edge && box.top - c.expected.top <= c.edge &&
                         c.expected.right - box.right <= c.edge && c.expected.bottom - box.bottom <= c.edge;
        EXPECT_TRUE(inside && nearEdges)
            << c.iw << "x" << c.ih << " drawn at " << box.left << "," << box.top << " to " << box.right << ","
            << box.bottom;
    }
}

// Random opaque pixels: every blend of the image meets a different background.
gdi::Bitmap noiseBitmap(HDC like, int w, int h, unsigned seed) {
    std::vector<uint32_t> bits(static_cast<size_t>(w) * h);
    std::mt19937 random(seed);
    for (auto& b : bits) {
        b = random() & 0xFFFFFF;
    }
    gdi::Bitmap bmp(CreateCompatibleBitmap(like, w, h));
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    SetDIBits(like, bmp.get(), 0, static_cast<UINT>(h), bits.data(), &bi, DIB_RGB_COLORS);
    return bmp;
}

// Composes into a fresh bitmap like the screen's and reads it back.
template <typename Compose> Pixels composedWith(Compose compose, HWND w, GpImage* image, int width, int height) {
    HDC screen = GetDC(nullptr);
    gdi::MemoryDc dc(CreateCompatibleDC(screen));
    gdi::Bitmap target(CreateCompatibleBitmap(screen, width, height));
    ReleaseDC(nullptr, screen);
    {
        gdi::SelectGuard selected(dc.get(), target.get());
        compose(w, dc.get(), image);
    }
    return readBitmap(target.get(), width, height);
}

// The pre-scaled path must put exactly the pixels on the screen that scaling afresh does.
TEST(TrueColourCompose, FastPathGivesTheReferencePixels) {
    PlainWindow parent(kGreen);
    const int width = 336, height = 487;
    HWND w = parent.child(10, 10, width, height);
    TrueColourPanel panel;
    panel.attachToWindow(w);

    HDC screen = GetDC(nullptr);
    gdi::Bitmap noise = noiseBitmap(screen, width, height, 7);
    {
        gdi::MemoryDc source(CreateCompatibleDC(screen));
        gdi::SelectGuard selected(source.get(), noise.get());
        captureBackground(w, source.get());
    }
    ReleaseDC(nullptr, screen);

    // Every alpha level in every colour, and two real frames.
    const std::string gradient = makePng(256, 96, [](int x, int y) {
        return (static_cast<uint32_t>(x) << 24) | static_cast<uint32_t>((y * 37) & 0xFF) << 16 |
               static_cast<uint32_t>((y * 91 + x) & 0xFF) << 8 | static_cast<uint32_t>((255 - x) & 0xFF);
    });
    const std::string images[] = {std::string(*frameImage(0, 0)), std::string(*frameImage(2, 1)), gradient};
    for (const std::string& bytes : images) {
        panel.setBackImageFromBytes(bytes);
        auto* image = reinterpret_cast<GpImage*>(panel.getProperty("PngControl_BackImage"));
        ASSERT_NE(image, nullptr);
        for (int type : {1, 2, 0}) {
            panel.setBackType(type);
            auto whole = [](HWND panelWindow, HDC dc, GpImage* img) { composeImage(panelWindow, dc, img); };
            Pixels fast = composedWith(whole, w, image, width, height);
            Pixels again = composedWith(whole, w, image, width, height); // from the kept copy
            Pixels reference = composedWith(composeImageReference, w, image, width, height);
            int differing = 0;
            for (size_t i = 0; i < fast.data.size(); ++i) {
                differing += (fast.data[i] & 0xFFFFFF) != (reference.data[i] & 0xFFFFFF);
                differing += (again.data[i] & 0xFFFFFF) != (reference.data[i] & 0xFFFFFF);
            }
            EXPECT_EQ(differing, 0) << "type " << type << ", image of " << bytes.size() << " bytes";

            // A part alone (a label's strip, as a keystroke repaints it) over the
            // reference picture changes nothing, inside the part or outside it.
            const RECT strip{45, 309, 237, 341};
            Pixels part = composedWith(
                [&](HWND panelWindow, HDC dc, GpImage* img) {
                    composeImageReference(panelWindow, dc, img);
                    composeImage(panelWindow, dc, img, &strip);
                },
                w, image, width, height);
            EXPECT_EQ(part.data, reference.data) << "type " << type << ", a part of the panel";
        }
    }
}

// Replacing the back image repaints the parent beneath it first, so partly transparent
// pixels blend once over a fresh background, however often the image is set.
TEST(TrueColourCompose, SettingTheImageAgainDoesNotBlendItOverItself) {
    PlainWindow parent(kGreen);
    HWND w = parent.child(20, 20, 100, 100);
    TrueColourPanel panel;
    panel.attachToWindow(w);
    const std::string halfRed = solidPng(10, 10, 0x80FF0000);
    panel.setBackImageFromBytes(halfRed);
    panel.setBackType(1);
    pump(300);
    const uint32_t first = shownAround(parent.hwnd(), w, 0).at(50, 50);
    EXPECT_TRUE(similar(first, over(0x80FF0000, kGreenPixel), 2)) << std::hex << first;
    for (int i = 0; i < 3; ++i) {
        panel.setBackImageFromBytes(halfRed);
        pump(200);
    }
    EXPECT_EQ(shownAround(parent.hwnd(), w, 0).at(50, 50), first);

    // invalidate repaints the panel alone, over its own previous picture.
    panel.invalidate();
    pump(200);
    uint32_t twice = shownAround(parent.hwnd(), w, 0).at(50, 50);
    EXPECT_GT(red(twice), red(first));
}

TEST(TrueColourCompose, ReplacedImagesAreReleasedAndTheShownOneStays) {
    PlainWindow parent(kGreen);
    HWND w = parent.child(20, 20, 100, 100);
    TrueColourPanel panel;
    panel.attachToWindow(w);
    panel.setBackType(1);
    for (uint32_t i = 0; i < 20; ++i) {
        panel.setBackImageFromBytes(solidPng(16, 16, 0xFF000000u | (i * 10) << 16));
        pump(20);
    }
    // Only the recently shown frames are kept (at most six) besides the one on screen.
    EXPECT_LE(liveDecodedImageCount(), 7u);
    pump(200);
    EXPECT_EQ(shownAround(parent.hwnd(), w, 0).at(50, 50), 190u << 16);

    // An image the caller passes stays the caller's: replacing it does not dispose it.
    GpImage* own = decodeImage(solidPng(4, 4, 0xFF0000FF));
    panel.setBackImage(own);
    panel.setBackImageFromBytes(solidPng(4, 4, 0xFFFFFFFF));
    EXPECT_TRUE(decodedImages::isDecoded(own));
    Gdiplus::REAL iw = 0, ih = 0;
    EXPECT_EQ(gp::GdipGetImageDimension(own, &iw, &ih), Gdiplus::Ok);
    EXPECT_EQ(iw, 4.0f);

    // The window going takes its cache bitmap and its hold on the image with it.
    auto cache = static_cast<HGDIOBJ>(GetPropA(w, "PngControl_CacheBitmap"));
    ASSERT_NE(cache, nullptr);
    DestroyWindow(w);
    EXPECT_EQ(GetObjectType(cache), 0u);
    disposeImage(own);
}

} // namespace
