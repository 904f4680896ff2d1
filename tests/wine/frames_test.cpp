// Frame selection on the real main window: applyFrame and the default frame.
#include "app/shell_win.h"
#include "editor/frames_win.h"
#include "editor/handlers_win.h"
#include "truecolour/image_decoding_win.h"
#include "truecolour/true_colour_panel_win.h"
#include "tests/wine/window_fixture_win.h"

#include <gtest/gtest.h>

namespace {

using testing_support::ShownMainWindow;

GpImage* backImage(HWND canvas) { return static_cast<GpImage*>(GetPropA(canvas, "PngControl_BackImage")); }

// Pixels of an image at a grid of points and at the four gem slots (image coordinates),
// which tells the six frames apart.
std::vector<Gdiplus::ARGB> samples(GpImage* image) {
    std::vector<Gdiplus::ARGB> out;
    for (int x : {596, 626, 656, 686}) {
        Gdiplus::ARGB c = 0;
        gp::GdipBitmapGetPixel(static_cast<GpBitmap*>(image), x, 76, &c);
        out.push_back(c);
    }
    for (int y = 5; y < 1039; y += 97) {
        for (int x = 3; x < 741; x += 61) {
            Gdiplus::ARGB c = 0;
            gp::GdipBitmapGetPixel(static_cast<GpBitmap*>(image), x, y, &c);
            out.push_back(c);
        }
    }
    return out;
}

class FramesTest : public testing::Test {
protected:
    void SetUp() override {
        framePanel = new TrueColourPanel();
        ASSERT_TRUE(shown.ok);
        showDefaultFrame(*shown);
        testing_support::pump(200);
    }
    void TearDown() override {
        delete framePanel;
        framePanel = nullptr;
    }
    ShownMainWindow shown;
};

TEST_F(FramesTest, TheDefaultFrameIsLordThreeStretchedOnTheCanvas) {
    HWND canvas = shown->cardCanvas.hwnd();
    EXPECT_EQ(framePanel->getWindow(), canvas);
    EXPECT_EQ(framePanel->getProperty("PngControl_Type"), 2);
    EXPECT_EQ(framePanel->getProperty("PngControl_BackType"), 1);
    GpImage* fresh = decodeImage(*frameImage(0, 0));
    EXPECT_EQ(samples(backImage(canvas)), samples(fresh));
    disposeImage(fresh);
}

TEST_F(FramesTest, EverySelectionShowsItsOwnFrame) {
    HWND canvas = shown->cardCanvas.hwnd();
    std::vector<std::vector<Gdiplus::ARGB>> seen;
    for (int camp = 2; camp >= 0; --camp) {
        for (int health = 1; health >= 0; --health) {
            shown->campCombo.setSelectionIndex(camp);
            shown->healthCombo.setSelectionIndex(health);
            framePanel->setBackType(0);
            applyFrame(*shown);
            EXPECT_EQ(framePanel->getProperty("PngControl_BackType"), 1) << camp << "," << health;
            GpImage* fresh = decodeImage(*frameImage(camp, health));
            EXPECT_EQ(samples(backImage(canvas)), samples(fresh)) << camp << "," << health;
            for (const auto& other : seen) {
                EXPECT_NE(samples(fresh), other) << camp << "," << health << " looks like another frame";
            }
            seen.push_back(samples(fresh));
            disposeImage(fresh);
        }
    }
}

TEST_F(FramesTest, NoSelectionLeavesTheFrameShown) {
    HWND canvas = shown->cardCanvas.hwnd();
    shown->campCombo.setSelectionIndex(1);
    shown->healthCombo.setSelectionIndex(1);
    applyFrame(*shown);
    GpImage* before = backImage(canvas);
    const size_t live = liveDecodedImageCount();
    for (auto [camp, health] : {std::pair{-1, 0}, std::pair{0, -1}, std::pair{-1, -1}}) {
        shown->campCombo.setSelectionIndex(camp);
        shown->healthCombo.setSelectionIndex(health);
        applyFrame(*shown);
        EXPECT_EQ(backImage(canvas), before);
    }
    EXPECT_EQ(liveDecodedImageCount(), live);
    EXPECT_FALSE(frameImage(3, 0));
    EXPECT_FALSE(frameImage(0, 2));
}

// Switching back and forth keeps one decode per frame, not one per switch.
TEST_F(FramesTest, SwitchingFramesKeepsNoMoreThanTheSixDecoded) {
    for (int i = 0; i < 1000; ++i) {
        shown->campCombo.setSelectionIndex(i % 3);
        shown->healthCombo.setSelectionIndex((i / 3) % 2);
        applyFrame(*shown);
        if (i % 100 == 0) {
            testing_support::pump(20);
        }
    }
    EXPECT_LE(liveDecodedImageCount(), 6u);
    testing_support::pump(200);
    GpImage* fresh = decodeImage(*frameImage(999 % 3, (999 / 3) % 2));
    EXPECT_EQ(samples(backImage(shown->cardCanvas.hwnd())), samples(fresh));
    disposeImage(fresh);
}

} // namespace
