#include "app/picture_placement.h"

#include <gtest/gtest.h>

namespace {

TEST(PlacePicture, ByDisplayMode) {
    const PictureSize box{305, 400};
    const struct {
        const char* name;
        int mode;
        PictureSize picture;
        PlacedRect want;
    } cases[] = {
        {"natural size, larger than the box", 0, {610, 800}, {0, 0, 610, 800}},
        {"natural size, smaller", 0, {10, 20}, {0, 0, 10, 20}},
        {"stretched", 1, {400, 400}, {0, 0, 305, 400}},
        {"stretched up", 1, {10, 10}, {0, 0, 305, 400}},
        {"centred, smaller: not enlarged", 2, {101, 50}, {102, 175, 101, 50}},
        {"centred, too wide: width fits", 2, {400, 400}, {0, 47, 305, 305}},
        {"centred, too tall: height fits", 2, {100, 800}, {127, 0, 50, 400}},
        {"centred, truncated", 2, {1000, 333}, {0, 149, 305, 101}}, // 333 * 305 / 1000 = 101.565
        {"centred, exact half", 2, {610, 800}, {0, 0, 305, 400}},
        {"centred, one side larger", 2, {306, 10}, {0, 195, 305, 9}}, // 9.96 truncated
    };
    for (const auto& c : cases) {
        const PlacedRect r = placePicture(c.mode, c.picture, box);
        EXPECT_EQ(r.x, c.want.x) << c.name;
        EXPECT_EQ(r.y, c.want.y) << c.name;
        EXPECT_EQ(r.width, c.want.width) << c.name;
        EXPECT_EQ(r.height, c.want.height) << c.name;
    }
}

TEST(SmallestDecode, TwiceWhatIsDrawnAndNeverForNaturalSize) {
    const PictureSize box{305, 400};
    const PictureSize photo{8000, 6000};
    PictureSize s = smallestDecode(0, photo, box);
    EXPECT_EQ(s.width, 0);
    s = smallestDecode(1, photo, box);
    EXPECT_EQ(s.width, 610);
    EXPECT_EQ(s.height, 800);
    s = smallestDecode(2, photo, box); // drawn 305 × 228
    EXPECT_EQ(s.width, 610);
    EXPECT_EQ(s.height, 456);
    s = smallestDecode(1, {400, 300}, box); // already small: full size
    EXPECT_EQ(s.width, 400);
    EXPECT_EQ(s.height, 300);
    s = smallestDecode(1, photo, {0, 0});
    EXPECT_EQ(s.width, 0);
}

} // namespace
