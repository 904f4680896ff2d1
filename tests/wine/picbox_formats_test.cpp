// Every picture kind a PicBox knows, where it is drawn, and what it refuses.
#include "tests/wine/picbox_fixture_win.h"

#include "tests/support/jpeg_files.h"

#include <gtest/gtest.h>

using namespace picbox_testing;
using namespace picture_files;

namespace {

// 40 × 30 with four coloured quadrants.
Image quadrants(int w = 40, int h = 30) {
    Image img(w, h);
    img.rect(0, 0, w / 2, h / 2, 0xFF0000).rect(w / 2, 0, w - w / 2, h / 2, 0x00FF00);
    img.rect(0, h / 2, w / 2, h - h / 2, 0x0000FF).rect(w / 2, h / 2, w - w / 2, h - h / 2, 0xFFFF00);
    return img;
}
const std::vector<Rgb> kQuadrantColours = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00};

TEST(PicBoxFormats, EachKindIsShownAtNaturalSize) {
    const Image q = quadrants();
    const Image square = quadrants(32, 32);
    std::vector<unsigned> monoBits(40 * 30, 0);
    Image mono(40, 30, 0x000000);
    for (int y = 0; y < 15; ++y) {
        for (int x = 0; x < 20; ++x) {
            monoBits[static_cast<size_t>(y * 40 + x)] = 1;
            mono.at(x, y) = 0xFFFFFF;
        }
    }
    const struct {
        const char* name;
        std::string file;
        const Image& expected;
        int tolerance;
    } cases[] = {
        {"BMP", bmp24(q), q, 0},
        {"BMP 8-bit", bmp8(q, kQuadrantColours), q, 0},
        {"BMP 8-bit top-down", bmp8(q, kQuadrantColours, true), q, 0},
        {"GIF", gifFile({q}, kQuadrantColours), q, 0},
        {"ICO", iconFile(square, 1), square, 0},
        {"CUR", iconFile(square, 2), square, 0},
        {"PCX 8-bit", pcx8(q, kQuadrantColours), q, 0},
        {"PCX 24-bit", pcx24(q), q, 0},
        {"PCX 1-bit", pcx1(40, 30, 1, monoBits), mono, 0},
        {"JPEG", jpegFile(quadrants(48, 32)), quadrants(48, 32), 24},
    };
    PicBoxHost host(0);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        host.box().setPicture(c.file);
        ASSERT_TRUE(host.box().hasBitmap());
        EXPECT_EQ(host.box().naturalSize().width, c.expected.width);
        EXPECT_EQ(host.box().naturalSize().height, c.expected.height);
        const Shot shot = host.painted();
        const Image& e = c.expected;
        // Quadrant centres and the corners, then the background just beyond the picture.
        const int xs[] = {0, e.width / 4, 3 * e.width / 4, e.width - 1};
        const int ys[] = {0, e.height / 4, 3 * e.height / 4, e.height - 1};
        for (int y : ys) {
            for (int x : xs) {
                EXPECT_TRUE(closeTo(shot.at(x, y), e.at(x, y), c.tolerance))
                    << x << "," << y << std::hex << " got " << shot.at(x, y) << " want " << e.at(x, y);
            }
        }
        EXPECT_EQ(shot.at(e.width, 0), buttonFace());
        EXPECT_EQ(shot.at(0, e.height), buttonFace());
        EXPECT_EQ(shot.at(200, 300), buttonFace());
    }
}

// A 4 × 4 red PNG.
const std::string kRedPng(
    "\x89\x50\x4E\x47\x0D\x0A\x1A\x0A\x00\x00\x00\x0D\x49\x48\x44\x52\x00\x00\x00\x04\x00\x00\x00\x04\x08\x02\x00"
    "\x00\x00\x26\x93\x09\x29\x00\x00\x00\x10\x49\x44\x41\x54\x78\x9C\x63\xF8\xCF\xC0\x00\x47\x0C\xC4\x71\x00\xAE"
    "\x93\x0F\xF1\xD0\x5F\x23\x9E\x00\x00\x00\x00\x49\x45\x4E\x44\xAE\x42\x60\x82",
    69);

TEST(PicBoxFormats, AnIconMayHoldAPng) {
    Writer w;
    w.u16(0).u16(1).u16(1).u8(4).u8(4).u8(0).u8(0).u16(1).u16(32).u32(static_cast<uint32_t>(kRedPng.size())).u32(22);
    w.text(kRedPng);
    PicBoxHost host(0);
    host.box().setPicture(w.bytes);
    ASSERT_TRUE(host.box().hasBitmap());
    EXPECT_EQ(host.box().naturalSize().width, 4);
    const Shot shot = host.painted();
    EXPECT_EQ(shot.at(0, 0), 0xFF0000u);
    EXPECT_EQ(shot.at(3, 3), 0xFF0000u);
    EXPECT_EQ(shot.at(4, 4), buttonFace());
}

TEST(PicBoxFormats, TransparentGifPixelsShowTheBackgroundColour) {
    // Index 1 (the green quadrant) is see-through.
    const std::string gif = gifFile({quadrants()}, kQuadrantColours, 10, 1);
    PicBoxHost host(0);
    host.box().setPicture(gif);
    Shot shot = host.painted();
    EXPECT_EQ(shot.at(5, 5), 0xFF0000u);
    EXPECT_EQ(shot.at(35, 5), buttonFace());
    host.box().setBackgroundColour(RGB(10, 200, 30));
    shot = host.painted();
    EXPECT_EQ(shot.at(35, 5), 0x0AC81Eu);
    EXPECT_EQ(shot.at(100, 100), 0x0AC81Eu);
    EXPECT_EQ(shot.at(35, 25), 0xFFFF00u);
}

TEST(PicBoxFormats, NaturalSizeIsClippedAndCentredModeShrinksKeepingAspect) {
    // 400 × 500: larger than the box both ways.
    Image big(400, 500, 0x2040C0);
    big.rect(300, 390, 10, 10, 0xFF0000);
    PicBoxHost natural(0);
    natural.box().setPicture(bmp24(big));
    Shot shot = natural.painted();
    ASSERT_EQ(shot.width, 305);
    EXPECT_EQ(shot.at(302, 395), 0xFF0000u) << "a place inside the box keeps its pixel";
    EXPECT_EQ(shot.at(299, 399), 0x2040C0u);
    EXPECT_EQ(shot.at(304, 389), 0x2040C0u);

    // 610 × 200 centred: shrunk by 305/610 to 305 × 100 at y 150.
    PicBoxHost centred(2);
    centred.box().setPicture(bmp24(Image(610, 200, 0x2040C0)));
    shot = centred.painted();
    EXPECT_EQ(shot.at(150, 148), buttonFace());
    EXPECT_EQ(shot.at(150, 151), 0x2040C0u);
    EXPECT_EQ(shot.at(0, 200), 0x2040C0u);
    EXPECT_EQ(shot.at(304, 248), 0x2040C0u);
    EXPECT_EQ(shot.at(150, 251), buttonFace());

    // A smaller picture is centred as it is: 101 × 50 at (102, 175).
    centred.box().setPicture(bmp24(quadrants(100, 50)));
    shot = centred.painted();
    EXPECT_EQ(shot.at(101, 180), buttonFace());
    EXPECT_EQ(shot.at(102, 175), 0xFF0000u);
    EXPECT_EQ(shot.at(201, 224), 0xFFFF00u);
    EXPECT_EQ(shot.at(202, 224), buttonFace());
    EXPECT_EQ(shot.at(150, 225), buttonFace());
}

TEST(PicBoxFormats, WhatCannotBeShownLeavesTheBackgroundAndKeepsTheBytes) {
    const std::string& png = kRedPng;
    const std::string jpeg = jpegFile(blocks(64, 64, 16));
    std::string damagedJpeg = jpeg;
    for (size_t i = jpeg.find("\xFF\xC4") + 5; i < jpeg.find("\xFF\xC4") + 21; ++i) {
        damagedJpeg[i] = static_cast<char>(0xFF);
    }
    const std::string bmp = bmp24(quadrants());
    const std::string gif = gifFile({quadrants()}, kQuadrantColours);
    const std::string icon = iconFile(quadrants(32, 32));
    const struct {
        const char* name;
        std::string file;
    } cases[] = {
        {"PNG", png},
        {"damaged JPEG", damagedJpeg},
        {"truncated JPEG", jpeg.substr(0, jpeg.size() / 2)},
        {"five bytes", "BM\x10\0\0"},
        {"truncated BMP", bmp.substr(0, bmp.size() - 10)},
        {"truncated GIF", gif.substr(0, 40)},
        {"truncated icon", icon.substr(0, icon.size() - 1)},
        {"65535 x 65535 BMP", bmpHeaderOnly(65535, 65535)},
        {"65535 x 65535 PCX", pcxHeader(5, 8, 3, 65535, 65535, 65534).bytes + std::string(100, '\xC1')},
        {"65535 x 65535 GIF", gifHeaderOnly(65535, 65535)},
        {"text", "hello, this is no picture at all"},
    };
    PicBoxHost host(1);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        host.box().setPicture(bmp); // something shown before
        ASSERT_TRUE(host.box().hasBitmap());
        host.box().setPicture(c.file);
        EXPECT_FALSE(host.box().hasBitmap());
        EXPECT_EQ(host.box().picture(), c.file);
        const Shot shot = host.painted();
        size_t other = 0;
        for (uint32_t p : shot.data) {
            other += p != buttonFace();
        }
        EXPECT_EQ(other, 0u);
    }
}

TEST(PicBoxFormats, AnEmptyPictureClearsTheBox) {
    PicBoxHost host(1);
    host.box().setPicture(bmp24(quadrants()));
    EXPECT_NE(host.painted().at(10, 10), buttonFace());
    host.box().setPicture("");
    EXPECT_FALSE(host.box().hasBitmap());
    EXPECT_EQ(host.painted().at(10, 10), buttonFace());
}

TEST(PicBoxFormats, SettingsAreClampedAndABorderNarrowsThePicture) {
    PicBoxHost host(1);
    host.box().setDisplayMode(7);
    EXPECT_EQ(host.box().displayMode(), 2);
    host.box().setDisplayMode(-3);
    EXPECT_EQ(host.box().displayMode(), 0);
    host.box().setBorder(9);
    EXPECT_EQ(host.box().border(), 5);
    host.box().setBorder(-1);
    EXPECT_EQ(host.box().border(), 0);

    host.box().setDisplayMode(1);
    host.box().setBorder(1); // sunken client edge
    RECT client;
    GetClientRect(host.box().hwnd(), &client);
    const int edge = GetSystemMetrics(SM_CXEDGE);
    EXPECT_EQ(client.right, 305 - 2 * edge);
    host.box().setPicture(bmp24(Image(10, 10, 0x2040C0)));
    const Shot shot = host.painted();
    ASSERT_EQ(shot.width, client.right);
    EXPECT_EQ(shot.at(0, 0), 0x2040C0u);
    EXPECT_EQ(shot.at(client.right - 1, client.bottom - 1), 0x2040C0u);
}

TEST(PicBoxFormats, WmPaintShowsWhatPrintClientPaintsAndItsOwnBackground) {
    PicBoxHost host(2, 305, 400, true, true);
    host.box().setBackgroundColour(RGB(10, 200, 30));
    host.box().setPicture(pcx24(quadrants(100, 50)));
    const Shot printed = host.painted();
    const Shot screen = host.onScreen();
    ASSERT_EQ(screen.width, 305);
    EXPECT_EQ(screen.at(5, 5), 0x0AC81Eu);
    EXPECT_EQ(screen.at(110, 180), 0xFF0000u);
    EXPECT_EQ(screen.at(195, 220), 0xFFFF00u);
    EXPECT_EQ(screen.data, printed.data);
}

} // namespace
