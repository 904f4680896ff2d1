// The BMP file image of a capture: header fields, row padding and the bottom-up row order.
#include "editor/bmp_file.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

uint32_t le16(const std::string& s, size_t at) {
    return static_cast<uint8_t>(s[at]) | static_cast<uint8_t>(s[at + 1]) << 8;
}
uint32_t le32(const std::string& s, size_t at) { return le16(s, at) | le16(s, at + 2) << 16; }

} // namespace

TEST(BmpFile, HeadersOfTheCardCanvas) {
    const bmp::Layout24 card{336, 487};
    const std::vector<unsigned char> rows(card.imageSize(), 0x5A);
    const std::string file = bmp::fileImage24(card, rows.data(), rows.size());
    ASSERT_EQ(file.size(), 490950u);
    EXPECT_EQ(card.stride(), 1008u);

    struct Field {
        const char* name;
        size_t offset;
        int size;
        uint32_t value;
    } fields[] = {
        {"bfType", 0, 2, 0x4D42},       {"bfSize", 2, 4, 490950},     {"bfReserved1", 6, 2, 0},
        {"bfReserved2", 8, 2, 0},       {"bfOffBits", 10, 4, 54},     {"biSize", 14, 4, 40},
        {"biWidth", 18, 4, 336},        {"biHeight", 22, 4, 487},     {"biPlanes", 26, 2, 1},
        {"biBitCount", 28, 2, 24},      {"biCompression", 30, 4, 0},  {"biSizeImage", 34, 4, 490896},
        {"biXPelsPerMeter", 38, 4, 0},  {"biYPelsPerMeter", 42, 4, 0}, {"biClrUsed", 46, 4, 0},
        {"biClrImportant", 50, 4, 0},
    };
    for (const Field& f : fields) {
        EXPECT_EQ(f.size == 2 ? le16(file, f.offset) : le32(file, f.offset), f.value) << f.name;
    }
    EXPECT_EQ(file.substr(0, 2), "BM");
    // 336 × 3 fills the stride exactly: every row byte is kept.
    EXPECT_EQ(file.find_first_not_of('\x5A', 54), std::string::npos);
}

TEST(BmpFile, StrideIsRowBytesRoundedUpToFour) {
    struct Case {
        int32_t width;
        uint32_t stride;
    } cases[] = {{1, 4}, {2, 8}, {3, 12}, {4, 12}, {5, 16}, {336, 1008}, {337, 1012}};
    for (const Case& c : cases) {
        const bmp::Layout24 layout{c.width, 2};
        EXPECT_EQ(layout.stride(), c.stride) << c.width;
        EXPECT_EQ(layout.imageSize(), c.stride * 2) << c.width;
        EXPECT_EQ(layout.fileSize(), 54 + c.stride * 2) << c.width;
    }
}

// A 2 × 2 image: two rows of 6 pixel bytes, each padded to 8. The rows come from the system
// bottom row first, with whatever it left in the padding.
TEST(BmpFile, SmallImageByteForByte) {
    const bmp::Layout24 layout{2, 2};
    const unsigned char rows[] = {
        // bottom row: blue-green-red of (0, 1), (1, 1), padding left dirty
        0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0xEE, 0xEE,
        // top row: (0, 0), (1, 0)
        0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0xEE, 0xEE,
    };
    const unsigned char expected[] = {
        'B', 'M', 70, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,                   // file header
        40, 0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 0, 1, 0, 24, 0, 0, 0, 0, 0, 16, 0, 0, 0, // info header
        0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,                     //
        0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0, 0,                           // padding cleared
        0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0, 0,
    };
    const std::string file = bmp::fileImage24(layout, rows, sizeof rows);
    EXPECT_EQ(file, std::string(reinterpret_cast<const char*>(expected), sizeof expected));

    // The top-left pixel lies in the last row of the file, the bottom-right in the first.
    EXPECT_EQ(layout.pixelOffset(0, 0), 54u + 8u);
    EXPECT_EQ(static_cast<uint8_t>(file[layout.pixelOffset(0, 0)]), 0x11);
    EXPECT_EQ(layout.pixelOffset(1, 1), 54u + 3u);
    EXPECT_EQ(static_cast<uint8_t>(file[layout.pixelOffset(1, 1) + 2]), 0x06);
}

TEST(BmpFile, RefusesWhatCannotBeAFile) {
    const std::vector<unsigned char> rows(4096, 0);
    struct Case {
        int32_t width, height;
        size_t rowsSize;
    } cases[] = {
        {0, 10, 4096}, {10, 0, 4096}, {-3, 2, 4096}, {3, -2, 4096},
        {3, 2, 23},                         // one byte short of two 12-byte rows
        {bmp::kMaxSide + 1, 1, 4096},
    };
    for (const Case& c : cases) {
        const bmp::Layout24 layout{c.width, c.height};
        EXPECT_TRUE(bmp::fileImage24(layout, rows.data(), c.rowsSize).empty()) << c.width << "x" << c.height;
    }
    EXPECT_TRUE(bmp::headers24({0, 0}).empty());
    EXPECT_TRUE(bmp::fileImage24({1, 1}, nullptr, 4).empty());
    EXPECT_EQ(bmp::fileImage24({3, 2}, rows.data(), 24).size(), 54u + 24u);
}
