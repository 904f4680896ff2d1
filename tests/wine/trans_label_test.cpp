// Card labels by their pixels on screen: colour, alignment, prefixes, clipping, line breaks.
#include "editor/trans_label_win.h"
#include "tests/wine/window_fixture_win.h"

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

constexpr COLORREF kBackground = RGB(40, 80, 120);

// The ink of a label: the bounding box of pixels that differ from the background.
struct Ink {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
    bool empty() const { return right < 0; }
    int width() const { return right - left + 1; }
    int centreX() const { return (left + right) / 2; }
    int centreY() const { return (top + bottom) / 2; }
};

Ink inkOf(const Pixels& p, uint32_t background) {
    Ink ink;
    for (int y = 0; y < p.height; ++y) {
        for (int x = 0; x < p.width; ++x) {
            if (p.at(x, y) != background) {
                ink.left = std::min(ink.left, x);
                ink.right = std::max(ink.right, x);
                ink.top = std::min(ink.top, y);
                ink.bottom = std::max(ink.bottom, y);
            }
        }
    }
    return ink;
}

// Rows holding ink, as bands of consecutive rows.
int inkBands(const Pixels& p, uint32_t background) {
    int bands = 0;
    bool previous = false;
    for (int y = 0; y < p.height; ++y) {
        bool any = false;
        for (int x = 0; x < p.width && !any; ++x) {
            any = p.at(x, y) != background;
        }
        bands += any && !previous;
        previous = any;
    }
    return bands;
}

LRESULT CALLBACK stageProc(HWND w, UINT m, WPARAM wp, LPARAM lp) { return DefWindowProcA(w, m, wp, lp); }

// A plain window painted in one colour, holding labels.
class TransLabelTest : public ::testing::Test {
protected:
    void SetUp() override {
        WNDCLASSA wc{};
        wc.lpfnWndProc = stageProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hbrBackground = CreateSolidBrush(kBackground);
        wc.lpszClassName = "LabelStage";
        RegisterClassA(&wc);
        stage = CreateWindowExA(0, "LabelStage", "", WS_POPUP | WS_VISIBLE, 100, 100, 500, 300, nullptr, nullptr,
                                nullptr, nullptr);
        pump(100);
    }
    void TearDown() override { DestroyWindow(stage); }

    TransLabel& add(int x, int y, int w, int h, int hAlign = 0, int vAlign = 1, bool wrap = false,
                    COLORREF colour = RGB(255, 255, 255), int height = 20) {
        labels.push_back(std::make_unique<TransLabel>());
        TransLabel& label = *labels.back();
        label.create({stage, x, y, w, h, "宋体", height, 700, colour, hAlign, vAlign, wrap});
        return label;
    }
    Pixels show(TransLabel& label, const std::string& text) {
        label.setText(text);
        pump(80);
        return readWindow(label.hwnd());
    }
    // The label's rectangle and a margin of 10 pixels around it.
    Pixels around(TransLabel& label) {
        RECT r;
        GetWindowRect(label.hwnd(), &r);
        HDC screen = GetDC(nullptr);
        Pixels p = readDc(screen, r.left - 10, r.top - 10, r.right - r.left + 20, r.bottom - r.top + 20);
        ReleaseDC(nullptr, screen);
        return p;
    }

    HWND stage = nullptr;
    std::vector<std::unique_ptr<TransLabel>> labels;
    const uint32_t bg = rgb(kBackground);
};

} // namespace

TEST_F(TransLabelTest, DrawsOnlyItsTextInItsColour) {
    TransLabel& label = add(10, 10, 200, 40, 0, 1, false, RGB(255, 0, 0));
    Pixels p = show(label, "HIH");
    Ink ink = inkOf(p, bg);
    ASSERT_FALSE(ink.empty());
    int pure = 0;
    for (uint32_t px : p.data) {
        pure += px == 0xFF0000;
    }
    EXPECT_GT(pure, 20) << "the text is drawn in its colour";
    EXPECT_EQ(p.at(p.width - 1, 0), bg) << "no background of its own";
}

TEST_F(TransLabelTest, HorizontalAndVerticalPlacement) {
    struct Case {
        int hAlign, vAlign;
        bool wrap;
        const char* what;
    } cases[] = {
        {0, 1, false, "left, centred vertically"}, {1, 1, false, "centre"}, {2, 1, false, "right"},
        {0, 0, false, "top"},                      {0, 2, false, "bottom"}, {0, 1, true, "wrapped starts at the top"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TransLabel& label = add(10, 10, 240, 60, c.hAlign, c.vAlign, c.wrap);
        Ink ink = inkOf(show(label, "WWW"), bg);
        ASSERT_FALSE(ink.empty());
        switch (c.hAlign) {
        case 0:
            EXPECT_LT(ink.left, 6);
            break;
        case 1:
            EXPECT_NEAR(ink.centreX(), 120, 4);
            break;
        default:
            EXPECT_GT(ink.right, 240 - 6);
        }
        if (c.wrap || c.vAlign == 0) {
            EXPECT_LT(ink.top, 8);
        } else if (c.vAlign == 1) {
            EXPECT_NEAR(ink.centreY(), 30, 4);
        } else {
            EXPECT_GT(ink.bottom, 60 - 8);
        }
        DestroyWindow(label.hwnd());
        pump(30);
    }
}

TEST_F(TransLabelTest, AmpersandIsAMnemonicPrefix) {
    TransLabel& plain = add(10, 10, 200, 40);
    TransLabel& prefixed = add(10, 60, 200, 40);
    TransLabel& doubled = add(10, 110, 200, 40);
    Ink ab = inkOf(show(plain, "AB"), bg);
    Pixels underlinedPixels = show(prefixed, "A&B");
    Ink underlined = inkOf(underlinedPixels, bg);
    Ink ampersand = inkOf(show(doubled, "A&&B"), bg);
    EXPECT_EQ(underlined.left, ab.left);
    EXPECT_NEAR(underlined.right, ab.right, 1) << "the & itself is not drawn";
    EXPECT_GT(underlined.bottom, ab.bottom) << "the B is underlined";
    // The underline runs under the B only, not the A.
    int row = underlined.bottom;
    EXPECT_EQ(underlinedPixels.at(ab.left, row), bg);
    EXPECT_NE(underlinedPixels.at(ab.right - 1, row), bg);
    EXPECT_GT(ampersand.width(), ab.width() + 4) << "two ampersands draw one";
}

TEST_F(TransLabelTest, TextIsCutAtTheLabelEdge) {
    TransLabel& label = add(20, 20, 60, 30);
    label.setText("WWWWWWWWWWWWWWWW");
    pump(80);
    Pixels p = around(label);
    Ink ink = inkOf(p, bg);
    EXPECT_EQ(ink.right, 10 + 60 - 1) << "ink reaches the right edge and stops there";
    EXPECT_GE(ink.left, 10);
}

TEST_F(TransLabelTest, LineBreakStartsALineOnlyWhenWrapping) {
    TransLabel& wrapped = add(10, 10, 200, 80, 0, 1, true);
    TransLabel& single = add(250, 10, 200, 80, 0, 1, false);
    EXPECT_EQ(inkBands(show(wrapped, "AB\r\nCD"), bg), 2);
    EXPECT_EQ(inkBands(show(single, "AB\r\nCD"), bg), 1);
}

TEST_F(TransLabelTest, EffectsDrawACopyFirst) {
    TransLabel& label = add(10, 10, 200, 40, 0, 1, false, RGB(255, 0, 0));
    label.setEffect(3);
    Pixels p = show(label, "H");
    int black = 0;
    for (uint32_t px : p.data) {
        black += px == 0;
    }
    EXPECT_GT(black, 5) << "effect 3 is a black copy 2 pixels down and right";
    label.setEffect(99);
    EXPECT_EQ(label.effect(), 3);
    label.setEffect(-1);
    EXPECT_EQ(label.effect(), 0);
    Pixels none = show(label, "H");
    for (uint32_t px : none.data) {
        EXPECT_NE(px, 0u);
    }
}

TEST_F(TransLabelTest, EmptyingTheTextRestoresWhatIsBeneath) {
    TransLabel& label = add(10, 10, 200, 40);
    Pixels before = readWindow(label.hwnd());
    show(label, "文字ABC");
    EXPECT_NE(readWindow(label.hwnd()).data, before.data);
    EXPECT_EQ(show(label, "").data, before.data);
}

TEST_F(TransLabelTest, SettingsAreClamped) {
    TransLabel& label = add(10, 10, 50, 20);
    label.setHorizontalAlignment(7);
    EXPECT_EQ(label.horizontalAlignment(), 2);
    label.setVerticalAlignment(-4);
    EXPECT_EQ(label.verticalAlignment(), 0);
    label.setLeft(40000);
    EXPECT_EQ(label.left(), 32627);
    label.setLeft(-40000);
    EXPECT_EQ(label.left(), -32627);
    // A font record of the wrong length draws in the default GUI font.
    label.setLeft(10);
    label.setFont(std::string("short"));
    Ink ink = inkOf(show(label, "AB"), bg);
    EXPECT_FALSE(ink.empty());
}
