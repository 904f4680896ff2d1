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

} // namespace
