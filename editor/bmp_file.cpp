// The 24-bit BMP file image.
#include "editor/bmp_file.h"

#include <cstring>

namespace bmp {

namespace {

void put16(std::string& out, uint16_t v) {
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>(v >> 8));
}

void put32(std::string& out, uint32_t v) {
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<char>((v >> shift) & 0xFF));
    }
}

} // namespace

std::string headers24(const Layout24& layout) {
    if (!layout.valid()) {
        return {};
    }
    std::string out;
    out.reserve(kPixelOffset);
    put16(out, 0x4D42); // "BM"
    put32(out, layout.fileSize());
    put16(out, 0);
    put16(out, 0);
    put32(out, kPixelOffset);

    put32(out, kInfoHeaderSize);
    put32(out, static_cast<uint32_t>(layout.width));
    put32(out, static_cast<uint32_t>(layout.height)); // positive: bottom row first
    put16(out, 1);
    put16(out, 24);
    put32(out, 0); // BI_RGB
    put32(out, layout.imageSize());
    put32(out, 0);
    put32(out, 0);
    put32(out, 0);
    put32(out, 0);
    return out;
}

std::string fileImage24(const Layout24& layout, const unsigned char* rows, size_t rowsSize) {
    if (!layout.valid() || rows == nullptr || rowsSize < layout.imageSize()) {
        return {};
    }
    std::string out = headers24(layout);
    out.append(reinterpret_cast<const char*>(rows), layout.imageSize());
    const size_t used = static_cast<size_t>(layout.width) * 3;
    const size_t padding = layout.stride() - used;
    if (padding > 0) {
        for (int32_t row = 0; row < layout.height; ++row) {
            std::memset(&out[kPixelOffset + static_cast<size_t>(row) * layout.stride() + used], 0, padding);
        }
    }
    return out;
}

} // namespace bmp
