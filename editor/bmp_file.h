// The 24-bit BMP file image of a captured window: file header, info header, pixel rows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace bmp {

constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kPixelOffset = kFileHeaderSize + kInfoHeaderSize;
// Larger captures are refused so that the sizes stay far from 32-bit overflow.
constexpr int32_t kMaxSide = 16384;

// Where everything lies in the file of a width × height 24-bit image.
struct Layout24 {
    int32_t width = 0;
    int32_t height = 0;

    bool valid() const { return width > 0 && height > 0 && width <= kMaxSide && height <= kMaxSide; }
    // Bytes of one row: width × 3 rounded up to a multiple of 4.
    uint32_t stride() const { return ((static_cast<uint32_t>(width) * 24 + 31) / 32) * 4; }
    uint32_t imageSize() const { return stride() * static_cast<uint32_t>(height); }
    uint32_t fileSize() const { return kPixelOffset + imageSize(); }
    // Offset of the blue byte of pixel (x, y), y counted from the top: the bottom row is stored first.
    size_t pixelOffset(int32_t x, int32_t y) const {
        return kPixelOffset + static_cast<size_t>(height - 1 - y) * stride() + static_cast<size_t>(x) * 3;
    }
};

// The 54 header bytes of the layout, little-endian; empty when the layout is not valid.
std::string headers24(const Layout24& layout);

// The whole file: headers, then the rows as given (bottom row first, blue-green-red), with
// each row's padding bytes set to zero. rows must hold at least imageSize() bytes; otherwise,
// or for an invalid layout, the result is empty.
std::string fileImage24(const Layout24& layout, const unsigned char* rows, size_t rowsSize);

} // namespace bmp
