#include "app/picture_headers.h"

#include <cstring>

namespace {

// Bytes of one DIB row of `bits` bits per pixel, padded to 4 bytes.
uint64_t dibRowBytes(uint64_t width, unsigned bits) { return (width * bits + 31) / 32 * 4; }

bool knownBitCount(unsigned bits) {
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

// Colour-table entries that follow an info header.
uint64_t paletteEntries(unsigned bits, uint32_t used) {
    if (bits > 8) {
        return used;
    }
    return used != 0 && used < (1u << bits) ? used : (1u << bits);
}

} // namespace

std::optional<PictureSize> checkBmpHeader(ByteSpan b, const PictureLimits& limits) {
    constexpr size_t fileHeader = 14;
    if (!b.has(0, fileHeader + 12) || b.u8(0) != 'B' || b.u8(1) != 'M') {
        return std::nullopt;
    }
    const uint32_t pixelsAt = b.u32(10);
    const uint32_t infoSize = b.u32(14);
    long long width, height;
    unsigned planes, bits;
    uint32_t compression = 0, used = 0;
    if (infoSize == 12) {
        width = b.u16(18);
        height = b.u16(20);
        planes = b.u16(22);
        bits = b.u16(24);
    } else if (infoSize >= 40 && b.has(fileHeader, infoSize)) {
        width = b.s32(18);
        height = b.s32(22);
        planes = b.u16(26);
        bits = b.u16(28);
        compression = b.u32(30);
        used = b.u32(46);
    } else {
        return std::nullopt;
    }
    if (height < 0) {
        height = -height; // top-down rows
    }
    if (planes != 1 || !knownBitCount(bits) || !limits.allows(width, height)) {
        return std::nullopt;
    }
    if (pixelsAt < fileHeader + infoSize || pixelsAt > b.size) {
        return std::nullopt;
    }
    const uint64_t available = b.size - pixelsAt;
    switch (compression) {
    case 0: // BI_RGB
    case 3: // BI_BITFIELDS
        if (compression == 3 && bits != 16 && bits != 32) {
            return std::nullopt;
        }
        if (dibRowBytes(width, bits) * height > available) {
            return std::nullopt; // truncated rows
        }
        break;
    case 1: // BI_RLE8
    case 2: // BI_RLE4
        if (bits != (compression == 1 ? 8u : 4u) || b.s32(22) < 0 || available < 2) {
            return std::nullopt;
        }
        break;
    default:
        return std::nullopt; // JPEG or PNG inside a BMP, or unknown
    }
    if (bits <= 8 && used > 256) {
        return std::nullopt;
    }
    return PictureSize{static_cast<int>(width), static_cast<int>(height)};
}

namespace {

std::optional<IconImage> readIconImage(ByteSpan b, size_t entryAt, const PictureLimits& limits) {
    IconImage img;
    img.length = b.u32(entryAt + 8);
    img.offset = b.u32(entryAt + 12);
    if (!b.has(img.offset, img.length) || img.length < 8) {
        return std::nullopt;
    }
    ByteSpan data(b.data + img.offset, img.length);
    static const unsigned char pngSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    if (std::memcmp(data.data, pngSignature, 8) == 0) {
        if (!data.has(8, 24) || std::memcmp(data.data + 12, "IHDR", 4) != 0) {
            return std::nullopt;
        }
        auto be32 = [&](size_t at) {
            return (uint32_t{data.u8(at)} << 24) | (uint32_t{data.u8(at + 1)} << 16) |
                   (uint32_t{data.u8(at + 2)} << 8) | data.u8(at + 3);
        };
        const uint32_t w = be32(16), h = be32(20);
        if (!limits.allows(w, h)) {
            return std::nullopt;
        }
        img.width = static_cast<int>(w);
        img.height = static_cast<int>(h);
        img.bitCount = 32;
        img.png = true;
        return img;
    }
    // A DIB: info header, colour table, XOR rows, AND (mask) rows; height counts both.
    if (!data.has(0, 40) || data.u32(0) < 40 || data.u32(0) > img.length) {
        return std::nullopt;
    }
    const long long width = data.s32(4), doubled = data.s32(8);
    const unsigned planes = data.u16(12), bits = data.u16(14);
    const uint32_t compression = data.u32(16), used = data.u32(32);
    if (doubled <= 0 || doubled % 2 != 0 || planes != 1 || !knownBitCount(bits) || compression != 0 ||
        (bits <= 8 && used > 256) || !limits.allows(width, doubled / 2)) {
        return std::nullopt;
    }
    const long long height = doubled / 2;
    const uint64_t needed = data.u32(0) + paletteEntries(bits, used) * 4 + dibRowBytes(width, bits) * height +
                            dibRowBytes(width, 1) * height;
    if (needed > img.length) {
        return std::nullopt;
    }
    img.width = static_cast<int>(width);
    img.height = static_cast<int>(height);
    img.bitCount = static_cast<int>(bits);
    return img;
}

} // namespace

std::optional<IconImage> chooseIconImage(ByteSpan b, const PictureLimits& limits) {
    const PictureFormat kind = detectPictureFormat(b);
    if (kind != PictureFormat::Ico && kind != PictureFormat::Cur) {
        return std::nullopt;
    }
    const unsigned count = b.u16(4);
    std::optional<IconImage> best;
    for (unsigned i = 0; i < count; ++i) {
        const size_t entryAt = 6 + size_t{16} * i;
        if (!b.has(entryAt, 16)) {
            break; // a directory cut short: the whole entries before still count
        }
        std::optional<IconImage> img = readIconImage(b, entryAt, limits);
        if (!img) {
            continue;
        }
        const long long area = static_cast<long long>(img->width) * img->height;
        if (!best || area > static_cast<long long>(best->width) * best->height ||
            (area == static_cast<long long>(best->width) * best->height && img->bitCount > best->bitCount)) {
            best = img;
        }
    }
    return best;
}

namespace {

// Skips a run of data sub-blocks; returns the position after the terminator, or 0.
size_t skipSubBlocks(ByteSpan b, size_t at) {
    while (at < b.size) {
        const size_t n = b.u8(at);
        if (n == 0) {
            return at + 1;
        }
        if (!b.has(at + 1, n)) {
            return 0;
        }
        at += 1 + n;
    }
    return 0;
}

} // namespace

std::optional<GifLayout> checkGif(ByteSpan b, const PictureLimits& limits) {
    if (detectPictureFormat(b) != PictureFormat::Gif || !b.has(0, 13)) {
        return std::nullopt;
    }
    GifLayout gif;
    gif.width = static_cast<int>(b.u16(6));
    gif.height = static_cast<int>(b.u16(8));
    if (!limits.allows(gif.width, gif.height)) {
        return std::nullopt;
    }
    size_t at = 13;
    const unsigned flags = b.u8(10);
    if (flags & 0x80) {
        at += size_t{3} << ((flags & 7) + 1); // global colour table
    }
    int delay = kDefaultGifDelayMs;
    while (at < b.size) {
        const unsigned block = b.u8(at);
        if (block == 0x3B) {
            break; // trailer
        }
        if (block == 0x21) { // extension
            if (!b.has(at, 3)) {
                break;
            }
            const unsigned label = b.u8(at + 1);
            if (label == 0xF9 && b.has(at, 8) && b.u8(at + 2) >= 4) {
                const int cs = static_cast<int>(b.u16(at + 4));
                delay = cs * 10 < kMinGifDelayMs ? kDefaultGifDelayMs : cs * 10;
            }
            const size_t next = skipSubBlocks(b, at + 2);
            if (next == 0) {
                break;
            }
            at = next;
        } else if (block == 0x2C) { // image descriptor
            if (!b.has(at, 10)) {
                break;
            }
            const long long left = b.u16(at + 1), top = b.u16(at + 3), w = b.u16(at + 5), h = b.u16(at + 7);
            const unsigned imageFlags = b.u8(at + 9);
            if (!limits.allows(w, h) || left + w > limits.maxSide || top + h > limits.maxSide) {
                break;
            }
            at += 10;
            if (imageFlags & 0x80) {
                at += size_t{3} << ((imageFlags & 7) + 1); // local colour table
            }
            if (!b.has(at, 1) || b.u8(at) < 2 || b.u8(at) > 11) {
                break; // LZW minimum code size
            }
            const size_t next = skipSubBlocks(b, at + 1);
            if (next == 0) {
                break; // frame data cut short
            }
            gif.frameDelaysMs.push_back(delay);
            delay = kDefaultGifDelayMs;
            at = next;
        } else {
            break; // not a GIF block: what came before still counts
        }
    }
    if (gif.frameDelaysMs.empty()) {
        return std::nullopt;
    }
    return gif;
}
