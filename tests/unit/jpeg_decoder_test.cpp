#include "app/jpeg_decoder.h"

#include "tests/support/jpeg_files.h"

#include <gtest/gtest.h>

using namespace picture_files;

namespace {

::testing::AssertionResult looksLike(const OwnedPixels& got, const Image& want, int cell) {
    if (got.width() != want.width || got.height() != want.height) {
        return ::testing::AssertionFailure() << "size " << got.width() << "x" << got.height();
    }
    for (int y = cell / 2; y < want.height; y += cell) {
        for (int x = cell / 2; x < want.width; x += cell) {
            if (!closeTo(got.at(x, y), want.at(x, y))) {
                return ::testing::AssertionFailure() << "at " << x << "," << y << std::hex << " got " << got.at(x, y)
                                                     << " want " << want.at(x, y);
            }
        }
    }
    return ::testing::AssertionSuccess();
}

TEST(JpegDecoder, DecodesEveryColourModel) {
    const Image img = blocks(48, 32, 16);
    Image grey(48, 32);
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 48; ++x) {
            const unsigned v = red(img.at(x, y));
            grey.at(x, y) = (v << 16) | (v << 8) | v;
        }
    }
    const struct {
        const char* name;
        JpegKind kind;
        bool progressive;
        const Image& expected;
        int components;
    } cases[] = {
        {"RGB", JpegKind::Colour, false, img, 3},
        {"RGB progressive", JpegKind::Colour, true, img, 3},
        {"greyscale", JpegKind::Grey, false, grey, 1},
        {"Adobe inverted CMYK", JpegKind::AdobeCmyk, false, img, 4},
        {"plain CMYK", JpegKind::PlainCmyk, false, img, 4},
        {"Adobe YCCK", JpegKind::AdobeYcck, false, img, 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string file = jpegFile(img, c.kind, c.progressive);
        OwnedPixels px;
        JpegResult result;
        ASSERT_TRUE(decodeJpeg(ByteSpan(file), px.allocator(), {}, &result));
        EXPECT_EQ(result.components, c.components);
        EXPECT_EQ(result.full.width, 48);
        EXPECT_EQ(result.decoded.height, 32);
        EXPECT_TRUE(looksLike(px, c.expected, 16));
    }
}

TEST(JpegDecoder, FailsOnTruncatedAndDamagedFiles) {
    const std::string good = jpegFile(blocks(64, 64, 16));
    std::string badHuffman = good;
    // Wreck the first Huffman table's counts (after the DHT marker and its length).
    const size_t dht = badHuffman.find("\xFF\xC4");
    ASSERT_NE(dht, std::string::npos);
    for (size_t i = dht + 5; i < dht + 21; ++i) {
        badHuffman[i] = static_cast<char>(0xFF);
    }
    std::string noFrame = good;
    const size_t sof = noFrame.find("\xFF\xC0");
    ASSERT_NE(sof, std::string::npos);
    noFrame[sof + 1] = static_cast<char>(0xCF); // an unknown frame type (arithmetic, lossless)
    const struct {
        const char* name;
        std::string file;
    } cases[] = {
        {"empty", ""},
        {"SOI only", "\xFF\xD8"},
        {"header only", good.substr(0, good.find("\xFF\xDA"))},
        {"cut in the middle of the data", good.substr(0, good.size() / 2)},
        {"missing the end marker", good.substr(0, good.size() - 2)},
        {"garbage after SOI", std::string("\xFF\xD8", 2) + std::string(500, '\x5A')},
        {"bad Huffman table", badHuffman},
        {"unknown frame type", noFrame},
    };
    for (const auto& c : cases) {
        OwnedPixels px;
        EXPECT_FALSE(decodeJpeg(ByteSpan(c.file), px.allocator())) << c.name;
    }
}

TEST(JpegDecoder, GivesUpOnMoreScansThanAllowed) {
    // libjpeg's simple progression writes ten scans for a colour picture.
    const std::string file = jpegFile(blocks(32, 32, 8), JpegKind::Colour, true);
    OwnedPixels px;
    JpegRequest request;
    EXPECT_TRUE(decodeJpeg(ByteSpan(file), px.allocator(), request));
    request.maxScans = 9;
    EXPECT_FALSE(decodeJpeg(ByteSpan(file), px.allocator(), request));
    request.maxScans = 10;
    EXPECT_TRUE(decodeJpeg(ByteSpan(file), px.allocator(), request));
}

TEST(JpegDecoder, RefusesAbsurdSizeBeforeAllocating) {
    std::string file = jpegFile(blocks(16, 16, 8));
    const size_t sof = file.find("\xFF\xC0");
    ASSERT_NE(sof, std::string::npos);
    // SOF0: marker, length (2), precision (1), height (2), width (2): 60000 × 60000, which
    // libjpeg itself would accept (its limit is 65500).
    for (size_t i = sof + 5; i < sof + 9; i += 2) {
        file[i] = static_cast<char>(0xEA);
        file[i + 1] = static_cast<char>(0x60);
    }
    bool allocated = false;
    PixelAllocator spy = [&](int, int) -> unsigned char* {
        allocated = true;
        return nullptr;
    };
    JpegResult result;
    EXPECT_FALSE(decodeJpeg(ByteSpan(file), spy, {}, &result));
    EXPECT_FALSE(allocated);
    EXPECT_EQ(result.full.width, 60000);
}

TEST(JpegDecoder, ScalesDownOnlyAsFarAsAsked) {
    const Image img = blocks(640, 480, 32);
    const std::string file = jpegFile(img);
    struct Case {
        int minWidth, minHeight;
        int width, height;
    } cases[] = {
        {0, 0, 640, 480},     // full size
        {80, 60, 80, 60},     // 1/8
        {81, 60, 160, 120},   // 1/8 is one pixel short
        {300, 100, 320, 240}, // 4/8
        {640, 480, 640, 480},
        {2000, 2000, 640, 480}, // never enlarged
    };
    for (const Case& c : cases) {
        OwnedPixels px;
        JpegRequest request;
        request.minWidth = c.minWidth;
        request.minHeight = c.minHeight;
        JpegResult result;
        ASSERT_TRUE(decodeJpeg(ByteSpan(file), px.allocator(), request, &result));
        EXPECT_EQ(result.decoded.width, c.width) << c.minWidth;
        EXPECT_EQ(result.decoded.height, c.height) << c.minWidth;
        EXPECT_EQ(px.width(), c.width);
        // The scaled picture is the same picture: block centres keep their colours.
        const int cell = 32 * c.width / 640;
        EXPECT_TRUE(closeTo(px.at(cell / 2, cell / 2), blockColour(0, 0)));
        EXPECT_TRUE(closeTo(px.at(c.width - cell / 2, c.height - cell / 2), blockColour(19, 14)));
    }
}

TEST(JpegDecoder, ScaleChoiceRoundsSidesUp) {
    EXPECT_EQ(jpegScaleEighths(8000, 6000, 610, 800), 2); // 1/8 gives 750 high
    EXPECT_EQ(jpegScaleEighths(8000, 6000, 0, 0), 8);
    EXPECT_EQ(jpegScaleEighths(9, 9, 2, 2), 1); // 9/8 rounds up to 2
    EXPECT_EQ(jpegScaleEighths(610, 800, 610, 800), 8);
}

} // namespace
