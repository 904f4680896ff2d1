// Where the portable decoders put their pixels: 24-bit blue-green-red rows padded to
// 4 bytes, top row first (the layout of a top-down DIB section, so the Windows side
// decodes straight into the bitmap it shows).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

inline size_t dibStride(int width) { return (static_cast<size_t>(width) * 3 + 3) & ~size_t{3}; }

// Gives the memory for a width × height picture of dibStride(width) bytes a row, or
// null when there is none; the memory stays the allocator's.
using PixelAllocator = std::function<unsigned char*(int width, int height)>;

// Pixels held in memory, for tests and fuzzers.
class OwnedPixels {
public:
    PixelAllocator allocator() {
        return [this](int w, int h) {
            width_ = w;
            height_ = h;
            bytes_.assign(dibStride(w) * static_cast<size_t>(h), 0);
            return bytes_.data();
        };
    }
    int width() const { return width_; }
    int height() const { return height_; }
    // 0x00RRGGBB
    uint32_t at(int x, int y) const {
        const unsigned char* p = bytes_.data() + dibStride(width_) * static_cast<size_t>(y) + 3 * static_cast<size_t>(x);
        return (uint32_t{p[2]} << 16) | (uint32_t{p[1]} << 8) | p[0];
    }

private:
    std::vector<unsigned char> bytes_;
    int width_ = 0, height_ = 0;
};
