// Font field conversions: MulDiv rounding, angles, stored names and button captions.
#include "editor/font_spec.h"

#include <gtest/gtest.h>

using namespace fontspec;

TEST(FontMulDiv, RoundsHalvesAwayFromZero) {
    struct Case {
        int32_t number, numerator, denominator, expected;
    } cases[] = {
        {14, 72, 96, 11},    // 10.5
        {-14, 72, 96, -11},  // -10.5
        {14, -72, 96, -11},
        {14, 72, -96, -11},
        {-14, -72, 96, 11},
        {13, 72, 96, 10},    // 9.75
        {-13, 72, 96, -10},
        {11, 96, 72, 15},    // 14.67
        {12, 72, 96, 9},
        {1, 1, 3, 0},        // 0.33
        {-1, 1, 3, 0},
        {1, 1, 2, 1},        // 0.5
        {-1, 1, 2, -1},
        {0, 72, 96, 0},
        // The product needs 64 bits; the quotient fits.
        {2000000000, 3, 4, 1500000000},
        {INT32_MIN, 1, 1, INT32_MIN},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(mulDiv(c.number, c.numerator, c.denominator), c.expected)
            << c.number << "*" << c.numerator << "/" << c.denominator;
    }
}

TEST(FontMulDiv, FailsLikeMulDiv) {
    EXPECT_EQ(mulDiv(5, 72, 0), -1);
    EXPECT_EQ(mulDiv(INT32_MAX, 2, 1), -1);
    EXPECT_EQ(mulDiv(INT32_MIN, -1, 1), -1);
}

TEST(FontSpecConversions, SizeAndHeightAtBothResolutions) {
    struct Case {
        int32_t height, dpi, size;
    } cases[] = {
        {-12, 96, 9}, {-35, 96, 26}, {-20, 96, 15}, {-14, 96, 11},
        {-12, 120, 7}, {-35, 120, 21}, {-20, 120, 12}, {-14, 120, 8},
        {14, 96, 11}, // a positive (cell) height reads the same
        {0, 96, 0},
        {INT32_MIN, 96, 1610612735},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(sizeFromHeight(c.height, c.dpi), c.size) << c.height << " at " << c.dpi;
    }
    EXPECT_EQ(heightFromSize(16, 96), -21);
    EXPECT_EQ(heightFromSize(11, 96), -15);
    EXPECT_EQ(heightFromSize(9, 120), -15);
    EXPECT_EQ(heightFromSize(0, 96), 0);
    EXPECT_EQ(heightFromSize(-5, 96), 0);
}

TEST(FontSpecConversions, AngleIntoOneTurn) {
    struct Case {
        int32_t angle, stored;
    } cases[] = {{0, 0}, {900, 900}, {3599, 3599}, {3600, 0}, {7250, 50}, {-1, 3599}, {-3600, 0},
                 {-3601, 3599}, {INT32_MAX, 847}, {INT32_MIN, 2752}};
    for (const Case& c : cases) {
        EXPECT_EQ(normaliseAngle(c.angle), c.stored) << c.angle;
    }
}

TEST(FontSpecConversions, StoredFaceName) {
    const std::string song = "宋体";
    EXPECT_EQ(storedFaceName(""), song);
    EXPECT_EQ(storedFaceName("a"), "a");
    EXPECT_EQ(storedFaceName(std::string(31, 'x')), std::string(31, 'x'));
    EXPECT_EQ(storedFaceName(std::string(32, 'x')), song);
    EXPECT_EQ(storedFaceName("楷体_GB2312"), "楷体_GB2312");
}

TEST(FontCaption, NameThenSizeInBrackets) {
    EXPECT_EQ(fontCaption("宋体", 9), "宋体[9]");
    EXPECT_EQ(fontCaption("楷体_GB2312", 26), "楷体_GB2312[26]");
    EXPECT_EQ(fontCaption("黑体", 0), "黑体[0]");
    EXPECT_EQ(fontCaption("x", -3), "x[-3]");
    EXPECT_EQ(fontCaption("", 12), "[12]");
}
