#include "app/picture_format.h"
#include "app/picture_headers.h"

#include "tests/support/picture_files.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace picture_files;

namespace {

std::string bytes(std::initializer_list<int> list) {
    std::string s;
    for (int b : list) {
        s.push_back(static_cast<char>(b));
    }
    return s;
}

struct DetectCase {
    const char* name;
    std::string first;
    PictureFormat expected;
};

TEST(DetectPictureFormat, TellsTheKindByTheFirstSixBytes) {
    const DetectCase cases[] = {
        {"empty", "", PictureFormat::None},
        {"five bytes of BMP", "BM\0\0\0", PictureFormat::None},
        {"BMP", std::string("BM\0\0\0\0", 6), PictureFormat::Bmp},
        {"bm lower case", std::string("bm\0\0\0\0", 6), PictureFormat::None},
        {"JPEG", bytes({0xFF, 0xD8, 0xFF, 0xE0, 0, 0x10}), PictureFormat::Jpeg},
        {"JPEG without its second byte", bytes({0xFF, 0xD9, 0xFF, 0xE0, 0, 0x10}), PictureFormat::None},
        {"ICO one image", bytes({0, 0, 1, 0, 1, 0}), PictureFormat::Ico},
        {"ICO count in high byte", bytes({0, 0, 1, 0, 0, 1}), PictureFormat::Ico},
        {"ICO no image", bytes({0, 0, 1, 0, 0, 0}), PictureFormat::None},
        {"CUR", bytes({0, 0, 2, 0, 3, 0}), PictureFormat::Cur},
        {"CUR no image", bytes({0, 0, 2, 0, 0, 0}), PictureFormat::None},
        {"type 3 directory", bytes({0, 0, 3, 0, 1, 0}), PictureFormat::None},
        {"GIF87a", "GIF87a", PictureFormat::Gif},
        {"GIF89a", "GIF89a", PictureFormat::Gif},
        {"GIF88a", "GIF88a", PictureFormat::None},
        {"PCX 8-bit version 0", bytes({0x0A, 0, 1, 8, 0, 0}), PictureFormat::Pcx},
        {"PCX 8-bit version 5", bytes({0x0A, 5, 1, 8, 0, 0}), PictureFormat::Pcx},
        {"PCX 8-bit version 6", bytes({0x0A, 6, 1, 8, 0, 0}), PictureFormat::None},
        {"PCX 8-bit not run-length", bytes({0x0A, 5, 0, 8, 0, 0}), PictureFormat::None},
        {"PCX 1-bit version 3", bytes({0x0A, 3, 1, 1, 0, 0}), PictureFormat::Pcx},
        {"PCX 1-bit version 5", bytes({0x0A, 5, 1, 1, 0, 0}), PictureFormat::None},
        {"PCX 4-bit", bytes({0x0A, 5, 1, 4, 0, 0}), PictureFormat::None},
        {"PNG", bytes({0x89, 'P', 'N', 'G', 0x0D, 0x0A}), PictureFormat::None},
        {"text", "hello world", PictureFormat::None},
    };
    for (const DetectCase& c : cases) {
        EXPECT_EQ(detectPictureFormat(c.first), c.expected) << c.name;
    }
}

TEST(DetectPictureFormat, BmpWinsOverLaterRowsAndOnlySixBytesCount) {
    // Every later byte is free: a BMP followed by a JPEG marker is still a BMP.
    EXPECT_EQ(detectPictureFormat(std::string("BM\xFF\xD8\0\0GIF89a", 12)), PictureFormat::Bmp);
    std::string jpegThenJunk = bytes({0xFF, 0xD8, 1, 2, 3, 4});
    jpegThenJunk += std::string(1000, 'x');
    EXPECT_EQ(detectPictureFormat(jpegThenJunk), PictureFormat::Jpeg);
}

TEST(PictureLimits, RefusesEmptyHugeAndTooManyPixels) {
    PictureLimits limits;
    EXPECT_TRUE(limits.allows(1, 1));
    EXPECT_TRUE(limits.allows(10000, 10000));
    EXPECT_TRUE(limits.allows(8000, 6000));
    EXPECT_FALSE(limits.allows(0, 5));
    EXPECT_FALSE(limits.allows(5, -1));
    EXPECT_FALSE(limits.allows(10001, 1));
    EXPECT_FALSE(limits.allows(65535, 65535));
    PictureLimits few{10000, 1000};
    EXPECT_FALSE(few.allows(100, 11));
}

TEST(BmpHeader, AcceptsWholeFilesAndRefusesLiesAndTruncation) {
    Image img(5, 3, 0x123456);
    const std::string whole = bmp24(img);
    auto size = checkBmpHeader(ByteSpan(whole));
    ASSERT_TRUE(size);
    EXPECT_EQ(size->width, 5);
    EXPECT_EQ(size->height, 3);

    EXPECT_FALSE(checkBmpHeader(ByteSpan(whole.substr(0, whole.size() - 1)))) << "last row cut short";
    EXPECT_FALSE(checkBmpHeader(ByteSpan(whole.substr(0, 30)))) << "info header cut short";
    EXPECT_FALSE(checkBmpHeader(ByteSpan(bmpHeaderOnly(65535, 65535)))) << "absurd size";
    EXPECT_FALSE(checkBmpHeader(ByteSpan(bmpHeaderOnly(0, 10)))) << "no width";

    std::string badOffset = whole;
    badOffset[10] = static_cast<char>(0xFF);
    badOffset[11] = static_cast<char>(0xFF);
    EXPECT_FALSE(checkBmpHeader(ByteSpan(badOffset))) << "pixels said to start beyond the end";

    std::string topDown = whole;
    const int32_t minus3 = -3;
    std::memcpy(&topDown[22], &minus3, 4);
    auto flipped = checkBmpHeader(ByteSpan(topDown));
    ASSERT_TRUE(flipped);
    EXPECT_EQ(flipped->height, 3);

    std::string bits7 = whole;
    bits7[28] = 7;
    EXPECT_FALSE(checkBmpHeader(ByteSpan(bits7))) << "unknown bit count";
}

TEST(BmpHeader, KnowsWhichCompressionsFitWhichDepths) {
    // A 4 × 2 header; its "pixels" are 64 bytes of anything.
    auto header = [](unsigned bits, unsigned compression, int32_t height) {
        Writer w;
        w.text("BM").u32(0).u32(0).u32(54);
        w.u32(40).u32(4).u32(static_cast<uint32_t>(height)).u16(1).u16(bits).u32(compression);
        w.u32(0).u32(0).u32(0).u32(0).u32(0);
        w.fill(64, 0);
        return w.bytes;
    };
    const struct {
        const char* name;
        unsigned bits, compression;
        int32_t height;
        bool accepted;
    } cases[] = {
        {"24-bit plain", 24, 0, 2, true},
        {"32-bit bit fields", 32, 3, 2, true},
        {"24-bit bit fields", 24, 3, 2, false},
        {"RLE8", 8, 1, 2, true},
        {"RLE8 at 4 bits", 4, 1, 2, false},
        {"RLE4", 4, 2, 2, true},
        {"RLE8 top-down", 8, 1, -2, false},
        {"JPEG inside", 24, 4, 2, false},
        {"PNG inside", 24, 5, 2, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(checkBmpHeader(ByteSpan(header(c.bits, c.compression, c.height))).has_value(), c.accepted)
            << c.name;
    }
}

TEST(IconHeader, FindsTheImageOfIconsAndCursorsAndChecksItsData) {
    Image img(16, 8, 0xFF0000);
    for (unsigned type : {1u, 2u}) {
        const std::string file = iconFile(img, type);
        auto found = chooseIconImage(ByteSpan(file));
        ASSERT_TRUE(found) << type;
        EXPECT_EQ(found->width, 16);
        EXPECT_EQ(found->height, 8);
        EXPECT_EQ(found->offset, 22u);
        EXPECT_FALSE(found->png);
        EXPECT_FALSE(chooseIconImage(ByteSpan(file.substr(0, file.size() - 1)))) << "mask cut short";
    }
}

TEST(IconHeader, RefusesDirectoriesThatPointOutsideTheFile) {
    std::string file = iconFile(Image(4, 4), 1);
    std::string farOffset = file;
    farOffset[18] = static_cast<char>(0xF0); // offset high byte
    EXPECT_FALSE(chooseIconImage(ByteSpan(farOffset)));
    std::string hugeLength = file;
    hugeLength[17] = static_cast<char>(0x7F);
    EXPECT_FALSE(chooseIconImage(ByteSpan(hugeLength)));
    // Ten images claimed, one there: the whole one still counts.
    std::string manyClaimed = file;
    manyClaimed[4] = 10;
    EXPECT_TRUE(chooseIconImage(ByteSpan(manyClaimed)));
    // A DIB claiming 65535 × 65535.
    std::string absurd = file;
    absurd[26] = absurd[27] = static_cast<char>(0xFF);
    absurd[30] = static_cast<char>(0xFE);
    absurd[31] = static_cast<char>(0xFF);
    absurd[32] = 1;
    EXPECT_FALSE(chooseIconImage(ByteSpan(absurd)));
}

TEST(IconHeader, PrefersTheLargestImage) {
    // Two directory entries pointing at a 4×4 and an 8×8 image.
    std::string small = iconFile(Image(4, 4), 1), large = iconFile(Image(8, 8), 1);
    std::string smallData = small.substr(22), largeData = large.substr(22);
    Writer w;
    w.u16(0).u16(1).u16(2);
    w.u8(4).u8(4).u8(0).u8(0).u16(1).u16(32).u32(static_cast<uint32_t>(smallData.size())).u32(38);
    w.u8(8).u8(8).u8(0).u8(0).u16(1).u16(32).u32(static_cast<uint32_t>(largeData.size()))
        .u32(static_cast<uint32_t>(38 + smallData.size()));
    w.text(smallData).text(largeData);
    auto found = chooseIconImage(ByteSpan(w.bytes));
    ASSERT_TRUE(found);
    EXPECT_EQ(found->width, 8);
    EXPECT_EQ(found->offset, 38 + smallData.size());
}

TEST(GifHeader, CountsWholeFramesWithTheirDelays) {
    Image a(3, 2, 0xFF0000), b(3, 2, 0x0000FF);
    const std::string two = gifFile({a, b}, {0xFF0000, 0x0000FF}, 25);
    auto gif = checkGif(ByteSpan(two));
    ASSERT_TRUE(gif);
    EXPECT_EQ(gif->width, 3);
    EXPECT_EQ(gif->height, 2);
    EXPECT_EQ(gif->frameDelaysMs, (std::vector<int>{250, 250}));

    // A zero delay plays at the usual pace instead of as fast as possible.
    auto fast = checkGif(ByteSpan(gifFile({a, b}, {0xFF0000, 0x0000FF}, 0)));
    ASSERT_TRUE(fast);
    EXPECT_EQ(fast->frameDelaysMs, (std::vector<int>{kDefaultGifDelayMs, kDefaultGifDelayMs}));

    // Cut inside the second frame's data: the first still counts.
    const size_t trailerAndLast = 4;
    auto cut = checkGif(ByteSpan(two.substr(0, two.size() - trailerAndLast)));
    ASSERT_TRUE(cut);
    EXPECT_EQ(cut->frameDelaysMs.size(), 1u);
}

TEST(GifHeader, RefusesAbsurdSizesAndFilesWithoutAWholeFrame) {
    EXPECT_FALSE(checkGif(ByteSpan(gifHeaderOnly(65535, 65535))));
    EXPECT_TRUE(checkGif(ByteSpan(gifHeaderOnly(20, 10))));
    EXPECT_FALSE(checkGif(ByteSpan(gifHeaderOnly(0, 10))));
    const std::string one = gifFile({Image(3, 2, 0xFF0000)}, {0xFF0000});
    EXPECT_FALSE(checkGif(ByteSpan(one.substr(0, 13)))) << "screen descriptor only";
    EXPECT_FALSE(checkGif(ByteSpan(one.substr(0, one.size() - 5)))) << "only frame cut short";
    EXPECT_FALSE(checkGif(ByteSpan(std::string("GIF89a"))));
}

} // namespace
