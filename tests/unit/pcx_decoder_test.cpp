#include "app/pcx_decoder.h"

#include "tests/support/picture_files.h"

#include <gtest/gtest.h>

using namespace picture_files;

namespace {

// A 5 × 3 picture with a different colour in each corner and a grey middle; odd width
// so that the padding of each line is exercised.
Image corners() {
    Image img(5, 3, 0x808080);
    img.at(0, 0) = 0xFF0000;
    img.at(4, 0) = 0x00FF00;
    img.at(0, 2) = 0x0000FF;
    img.at(4, 2) = 0xFFFF00;
    return img;
}
const std::vector<Rgb> kCornerPalette = {0x808080, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00};

void expectSame(const OwnedPixels& got, const Image& want) {
    ASSERT_EQ(got.width(), want.width);
    ASSERT_EQ(got.height(), want.height);
    for (int y = 0; y < want.height; ++y) {
        for (int x = 0; x < want.width; ++x) {
            EXPECT_EQ(got.at(x, y), want.at(x, y)) << x << "," << y;
        }
    }
}

TEST(PcxDecoder, DecodesEachDepth) {
    struct Case {
        const char* name;
        std::string file;
        Image expected;
    };
    Image mono(10, 2, 0x000000);
    std::vector<unsigned> monoBits(20, 0);
    for (int x : {0, 3, 9}) {
        monoBits[static_cast<size_t>(x)] = 1;
        mono.at(x, 0) = 0xFFFFFF;
    }
    monoBits[15] = 1;
    mono.at(5, 1) = 0xFFFFFF;

    const std::vector<Rgb> ega = {0x000000, 0x0000AA, 0x00AA00, 0x00AAAA, 0xAA0000, 0xAA00AA, 0xAA5500, 0xAAAAAA,
                                  0x555555, 0x5555FF, 0x55FF55, 0x55FFFF, 0xFF5555, 0xFF55FF, 0xFFFF55, 0xFFFFFF};
    Image sixteen(16, 1);
    std::vector<unsigned> indices(16);
    for (unsigned i = 0; i < 16; ++i) {
        indices[i] = i;
        sixteen.at(static_cast<int>(i), 0) = ega[i];
    }
    const Case cases[] = {
        {"8-bit with palette", pcx8(corners(), kCornerPalette), corners()},
        {"24-bit three planes", pcx24(corners()), corners()},
        {"1-bit black and white", pcx1(10, 2, 1, monoBits), mono},
        {"1-bit four planes", pcx1(16, 1, 4, indices, ega), sixteen},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        OwnedPixels px;
        PictureSize size;
        ASSERT_TRUE(decodePcx(ByteSpan(c.file), px.allocator(), {}, &size));
        EXPECT_EQ(size.width, c.expected.width);
        EXPECT_EQ(size.height, c.expected.height);
        expectSame(px, c.expected);
    }
}

TEST(PcxDecoder, RunsMayCrossLineEnds) {
    // 4 × 2, 24-bit: bytes per line 4, so a line is 12 bytes; one run of 24 bytes of
    // 0x40 covers both lines.
    Writer w = pcxHeader(5, 8, 3, 4, 2, 4);
    pcxRun(w, 0x40, 24);
    OwnedPixels px;
    ASSERT_TRUE(decodePcx(ByteSpan(w.bytes), px.allocator()));
    EXPECT_EQ(px.at(3, 1), 0x404040u);
}

TEST(PcxDecoder, RefusesDamagedAndTruncatedFiles) {
    const std::string good8 = pcx8(corners(), kCornerPalette);
    const std::string good24 = pcx24(corners());
    std::string noPaletteMarker = good8;
    noPaletteMarker[noPaletteMarker.size() - 769] = 0x0B;
    std::string widthBelowMin = good24;
    widthBelowMin[8] = 0; // xMax 0 < xMin 2
    widthBelowMin[4] = 2;
    std::string shortLines = good24;
    shortLines[66] = 2; // 2 bytes per line for 5 pixels
    std::string fivePlanes = good24;
    fivePlanes[65] = 5;
    const struct {
        const char* name;
        std::string file;
    } cases[] = {
        {"header only", good24.substr(0, 128)},
        {"header cut short", good24.substr(0, 100)},
        {"24-bit data cut short", good24.substr(0, good24.size() - 3)},
        {"8-bit palette cut short", good8.substr(0, good8.size() - 1)},
        {"8-bit without palette marker", noPaletteMarker},
        {"end before start", widthBelowMin},
        {"lines shorter than the width", shortLines},
        {"five planes", fivePlanes},
        {"absurd size", pcxHeader(5, 8, 3, 65535, 65535, 65536 - 2).bytes + std::string(64, '\xFF')},
        {"a run code as the last byte", pcxHeader(5, 8, 3, 1, 1, 2).bytes + std::string(5, '\x01') + "\xC1"},
    };
    for (const auto& c : cases) {
        OwnedPixels px;
        EXPECT_FALSE(decodePcx(ByteSpan(c.file), px.allocator())) << c.name;
    }
}

TEST(PcxDecoder, AbsurdSizeIsRefusedBeforeAnyPixelMemory) {
    // 10,000 × 10,000 is within the limits, but a few hundred bytes of runs cannot fill it.
    Writer w = pcxHeader(5, 8, 3, 10000, 10000, 10000);
    for (int i = 0; i < 200; ++i) {
        pcxRun(w, 0x11, 63);
    }
    bool allocated = false;
    PixelAllocator spy = [&](int, int) -> unsigned char* {
        allocated = true;
        return nullptr;
    };
    EXPECT_FALSE(decodePcx(ByteSpan(w.bytes), spy));
    EXPECT_FALSE(allocated);
    EXPECT_FALSE(readPcxHeader(ByteSpan(pcxHeader(5, 8, 1, 65535, 65535, 65535).bytes)));
}

} // namespace
