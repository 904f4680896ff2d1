#include "truecolour/fit_within.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

struct FitCase {
    int32_t iw, ih, bw, bh;
    FittedSize expected;
};

class FitWithinTest : public testing::TestWithParam<FitCase> {};

TEST_P(FitWithinTest, GivesTheDrawnSize) {
    const FitCase& c = GetParam();
    EXPECT_EQ(fitWithin(c.iw, c.ih, c.bw, c.bh), c.expected)
        << c.iw << "x" << c.ih << " in " << c.bw << "x" << c.bh;
}

INSTANTIATE_TEST_SUITE_P(
    CardCanvas, FitWithinTest,
    testing::Values(
        // The frame itself: wider than the box, then exactly its height after the width step.
        FitCase{741, 1039, 336, 487, {336, 471}},
        // Smaller than the box: never enlarged.
        FitCase{200, 100, 336, 487, {200, 100}},
        // Too tall only: the height step alone, the width truncated (146.1 -> 146).
        FitCase{300, 1000, 336, 487, {146, 487}},
        // Too wide only: 300 * 336 / 1000 = 100.8 truncates to 100.
        FitCase{1000, 300, 336, 487, {336, 100}},
        // Both steps: width first (2000x4000 -> 336x672), then height (672 -> 487).
        FitCase{2000, 4000, 336, 487, {243, 487}},
        // Exactly the box.
        FitCase{336, 487, 336, 487, {336, 487}}));

INSTANTIATE_TEST_SUITE_P(
    Degenerate, FitWithinTest,
    testing::Values(
        // Empty images and boxes give sizes, never a trap.
        FitCase{0, 0, 336, 487, {0, 0}},
        FitCase{741, 1039, 0, 0, {0, 0}},
        FitCase{741, 0, 336, 487, {336, 0}},
        // Negative sizes come back truncated toward zero, not rounded down.
        FitCase{-10, 50, 336, 487, {-10, 50}},
        FitCase{100, 3, -7, 487, {-7, 0}},
        // The largest sizes stay within 32 bits.
        FitCase{std::numeric_limits<int32_t>::max(), std::numeric_limits<int32_t>::max(), 336, 487,
                {336, 336}}));

struct PlaceCase {
    int backType;
    float iw, ih;
    PlacedImage expected;
};

class PlaceBackImageTest : public testing::TestWithParam<PlaceCase> {};

TEST_P(PlaceBackImageTest, InTheCardCanvas) {
    const PlaceCase& c = GetParam();
    PlacedImage p = placeBackImage(c.backType, c.iw, c.ih, 336, 487);
    EXPECT_EQ(p, c.expected) << "type " << c.backType << ", " << c.iw << "x" << c.ih << ": " << p.x << "," << p.y
                             << " " << p.width << "x" << p.height;
}

INSTANTIATE_TEST_SUITE_P(
    WorkedPlaces, PlaceBackImageTest,
    testing::Values(
        // Fit within and centre.
        PlaceCase{2, 741, 1039, {0, 8, 336, 471}},
        PlaceCase{2, 200, 100, {68, 193, 200, 100}},  // 193.5 truncates to 193
        PlaceCase{2, 300, 1000, {95, 0, 146, 487}},
        PlaceCase{2, 1000, 300, {0, 193, 336, 100}},
        PlaceCase{2, 741.9f, 1039.9f, {0, 8, 336, 471}}, // reported sizes truncate first
        PlaceCase{2, 337, 10, {0, 239, 336, 9}},          // 9.97 truncates to 9
        // Stretch, whatever the image.
        PlaceCase{1, 741, 1039, {0, 0, 336, 487}},
        PlaceCase{1, 1, 1, {0, 0, 336, 487}},
        // Natural size for every other type, even past the panel's edges.
        PlaceCase{0, 741, 1039, {0, 0, 741, 1039}},
        PlaceCase{3, 20.5f, 7, {0, 0, 20.5f, 7}},
        PlaceCase{-1, 200, 100, {0, 0, 200, 100}}));

} // namespace
