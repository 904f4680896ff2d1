// JPEG portraits in a 305 × 400 box: stretched exactly, squeezed, and large photos.
#include "tests/wine/picbox_fixture_win.h"

#include "tests/support/jpeg_files.h"

#include <gtest/gtest.h>

using namespace picbox_testing;
using namespace picture_files;

namespace {

TEST(PicBoxJpeg, A610By800PictureIsShownAtExactlyHalfSize) {
    PicBoxHost host(1);
    host.box().setPicture(jpegFile(blocks(610, 800, 32)));
    ASSERT_TRUE(host.box().hasBitmap());
    EXPECT_EQ(host.box().decodedSize().width, 610); // twice the box: no smaller decode
    const Shot shot = host.painted();
    // Blocks of 32 become blocks of 16; every block's centre keeps its colour, up to the
    // last (partial) column and row.
    for (int j = 0; j < 25; ++j) {
        for (int i = 0; i < 19; ++i) {
            ASSERT_TRUE(closeTo(shot.at(i * 16 + 8, j * 16 + 8), blockColour(i, j)))
                << i << "," << j << std::hex << " got " << shot.at(i * 16 + 8, j * 16 + 8);
        }
    }
    EXPECT_TRUE(closeTo(shot.at(304, 399), blockColour(19, 24)));
}

TEST(PicBoxJpeg, A400By400PictureIsSqueezedTo305Wide) {
    Image img(400, 400);
    img.rect(0, 0, 200, 200, 0xE00000).rect(200, 0, 200, 200, 0x0000E0);
    img.rect(0, 200, 200, 200, 0x00C000).rect(200, 200, 200, 200, 0xE0E000);
    PicBoxHost host(1);
    host.box().setPicture(jpegFile(img));
    const Shot shot = host.painted();
    // The vertical edge moves to x 152.5; the horizontal one stays at y 200.
    const struct {
        int x, y;
        Rgb colour;
    } probes[] = {{4, 4, 0xE00000},      {146, 194, 0xE00000}, {159, 194, 0x0000E0}, {300, 4, 0x0000E0},
                  {146, 206, 0x00C000}, {159, 206, 0xE0E000}, {302, 397, 0xE0E000}, {2, 397, 0x00C000}};
    for (const auto& p : probes) {
        EXPECT_TRUE(closeTo(shot.at(p.x, p.y), p.colour)) << p.x << "," << p.y << std::hex << " " << shot.at(p.x, p.y);
    }
}

TEST(PicBoxJpeg, ALargePhotoIsDecodedSmallerWhenShrunkAndWholeAtNaturalSize) {
    const std::string file = blocksJpeg(8000, 6000, 400);
    {
        PicBoxHost host(1);
        const DWORD start = GetTickCount();
        host.box().setPicture(file);
        const Shot shot = host.painted();
        const DWORD took = GetTickCount() - start;
        std::printf("8000x6000 JPEG stretched into 305x400: decoded %dx%d, shown in %lu ms\n",
                    host.box().decodedSize().width, host.box().decodedSize().height,
                    static_cast<unsigned long>(took));
        // At least twice the box, and in libjpeg's eighths.
        EXPECT_EQ(host.box().decodedSize().width, 2000);
        EXPECT_EQ(host.box().decodedSize().height, 1500);
        EXPECT_EQ(host.box().naturalSize().width, 8000);
        // Blocks of 400 × 400 become 15.25 × 20: probe block centres.
        for (int j = 0; j < 15; j += 7) {
            for (int i = 0; i < 20; i += 6) {
                const int x = (i * 400 + 200) * 305 / 8000, y = (j * 400 + 200) * 400 / 6000;
                EXPECT_TRUE(closeTo(shot.at(x, y), blockColour(i, j))) << i << "," << j;
            }
        }
        // Natural-size mode needs every pixel: decoded again at full size.
        host.box().setDisplayMode(0);
        EXPECT_EQ(host.box().decodedSize().width, 8000);
        EXPECT_EQ(host.box().decodedSize().height, 6000);
        const Shot natural = host.painted();
        EXPECT_TRUE(closeTo(natural.at(200, 200), blockColour(0, 0)));
        EXPECT_TRUE(closeTo(natural.at(300, 399), blockColour(0, 0)));
    }
    PicBoxHost natural(0);
    const DWORD start = GetTickCount();
    natural.box().setPicture(file);
    natural.painted();
    std::printf("8000x6000 JPEG at natural size: shown in %lu ms\n",
                static_cast<unsigned long>(GetTickCount() - start));
    EXPECT_EQ(natural.box().decodedSize().width, 8000);
}

} // namespace
