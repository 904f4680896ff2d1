// Small picture files made in memory for the tests: a byte writer and BMP, ICO/CUR,
// GIF and PCX builders. Plain C++, shared by the unit and the Wine tests.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace picture_files {

struct Writer {
    std::string bytes;
    Writer& u8(unsigned v) {
        bytes.push_back(static_cast<char>(v & 0xFF));
        return *this;
    }
    Writer& u16(unsigned v) { return u8(v).u8(v >> 8); }
    Writer& u32(uint32_t v) { return u16(v & 0xFFFF).u16(v >> 16); }
    Writer& text(const std::string& s) {
        bytes += s;
        return *this;
    }
    Writer& fill(size_t n, unsigned v) {
        bytes.append(n, static_cast<char>(v));
        return *this;
    }
};

using Rgb = uint32_t; // 0x00RRGGBB
inline unsigned red(Rgb c) { return (c >> 16) & 0xFF; }
inline unsigned green(Rgb c) { return (c >> 8) & 0xFF; }
inline unsigned blue(Rgb c) { return c & 0xFF; }

// A picture as a function of (x, y).
struct Image {
    int width = 0, height = 0;
    std::vector<Rgb> pixels;
    Image(int w, int h, Rgb fill = 0) : width(w), height(h), pixels(static_cast<size_t>(w) * h, fill) {}
    Rgb& at(int x, int y) { return pixels[static_cast<size_t>(y) * width + x]; }
    Rgb at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    // Fills a rectangle.
    Image& rect(int x, int y, int w, int h, Rgb c) {
        for (int j = y; j < y + h; ++j) {
            for (int i = x; i < x + w; ++i) {
                at(i, j) = c;
            }
        }
        return *this;
    }
};

// A 24-bit bottom-up BMP file.
inline std::string bmp24(const Image& img) {
    const uint32_t stride = (static_cast<uint32_t>(img.width) * 3 + 3) & ~3u;
    const uint32_t size = stride * static_cast<uint32_t>(img.height);
    Writer w;
    w.text("BM").u32(54 + size).u32(0).u32(54);
    w.u32(40).u32(static_cast<uint32_t>(img.width)).u32(static_cast<uint32_t>(img.height)).u16(1).u16(24);
    w.u32(0).u32(size).u32(2835).u32(2835).u32(0).u32(0);
    for (int y = img.height - 1; y >= 0; --y) {
        for (int x = 0; x < img.width; ++x) {
            Rgb c = img.at(x, y);
            w.u8(blue(c)).u8(green(c)).u8(red(c));
        }
        w.fill(stride - static_cast<uint32_t>(img.width) * 3, 0);
    }
    return w.bytes;
}

// An 8-bit BMP with a colour table; top-down rows when asked (negative height).
inline std::string bmp8(const Image& img, const std::vector<Rgb>& palette, bool topDown = false) {
    const uint32_t stride = (static_cast<uint32_t>(img.width) + 3) & ~3u;
    const uint32_t size = stride * static_cast<uint32_t>(img.height);
    const uint32_t offset = 54 + 4 * static_cast<uint32_t>(palette.size());
    Writer w;
    w.text("BM").u32(offset + size).u32(0).u32(offset);
    w.u32(40).u32(static_cast<uint32_t>(img.width));
    w.u32(topDown ? static_cast<uint32_t>(-img.height) : static_cast<uint32_t>(img.height)).u16(1).u16(8);
    w.u32(0).u32(size).u32(2835).u32(2835).u32(static_cast<uint32_t>(palette.size())).u32(0);
    for (Rgb c : palette) {
        w.u8(blue(c)).u8(green(c)).u8(red(c)).u8(0);
    }
    for (int row = 0; row < img.height; ++row) {
        const int y = topDown ? row : img.height - 1 - row;
        for (int x = 0; x < img.width; ++x) {
            unsigned index = 0;
            for (size_t i = 0; i < palette.size(); ++i) {
                if (palette[i] == img.at(x, y)) {
                    index = static_cast<unsigned>(i);
                }
            }
            w.u8(index);
        }
        w.fill(stride - static_cast<uint32_t>(img.width), 0);
    }
    return w.bytes;
}

// A BMP whose headers claim width × height but that carries no pixel rows.
inline std::string bmpHeaderOnly(uint32_t width, uint32_t height) {
    Writer w;
    w.text("BM").u32(54).u32(0).u32(54);
    w.u32(40).u32(width).u32(height).u16(1).u16(24).u32(0).u32(0).u32(0).u32(0).u32(0).u32(0);
    return w.bytes;
}

// An icon (type 1) or cursor (type 2) file of one 32-bit image with alpha 255.
inline std::string iconFile(const Image& img, unsigned type = 1) {
    const uint32_t w = static_cast<uint32_t>(img.width), h = static_cast<uint32_t>(img.height);
    const uint32_t maskStride = (w + 31) / 32 * 4;
    const uint32_t dataSize = 40 + w * h * 4 + maskStride * h;
    Writer f;
    f.u16(0).u16(type).u16(1);
    f.u8(w >= 256 ? 0 : w).u8(h >= 256 ? 0 : h).u8(0).u8(0);
    f.u16(type == 1 ? 1 : 0).u16(type == 1 ? 32 : 0); // planes, bits (a cursor's hot spot)
    f.u32(dataSize).u32(22);
    f.u32(40).u32(w).u32(h * 2).u16(1).u16(32).u32(0).u32(0).u32(0).u32(0).u32(0).u32(0);
    for (int y = img.height - 1; y >= 0; --y) {
        for (int x = 0; x < img.width; ++x) {
            Rgb c = img.at(x, y);
            f.u8(blue(c)).u8(green(c)).u8(red(c)).u8(255);
        }
    }
    f.fill(maskStride * h, 0);
    return f.bytes;
}

// A GIF of one or more frames over a palette of up to 256 colours; every pixel's colour
// must be in the palette. Each frame covers the whole screen. Codes are written
// uncompressed (a clear code every 200 pixels keeps the code width at 9 bits).
// `transparent` is a palette index shown as see-through, or -1.
inline std::string gifFile(const std::vector<Image>& frames, const std::vector<Rgb>& palette, unsigned delayCs = 10,
                           int transparent = -1) {
    const Image& first = frames.front();
    Writer w;
    w.text("GIF89a").u16(static_cast<unsigned>(first.width)).u16(static_cast<unsigned>(first.height));
    w.u8(0xF7).u8(0).u8(0); // global table of 256 entries
    for (size_t i = 0; i < 256; ++i) {
        Rgb c = i < palette.size() ? palette[i] : 0;
        w.u8(red(c)).u8(green(c)).u8(blue(c));
    }
    if (frames.size() > 1) {
        w.u8(0x21).u8(0xFF).u8(11).text("NETSCAPE2.0").u8(3).u8(1).u16(0).u8(0);
    }
    for (const Image& img : frames) {
        w.u8(0x21).u8(0xF9).u8(4).u8(transparent >= 0 ? 0x05 : 0x04).u16(delayCs);
        w.u8(transparent >= 0 ? static_cast<unsigned>(transparent) : 0).u8(0);
        w.u8(0x2C).u16(0).u16(0).u16(static_cast<unsigned>(img.width)).u16(static_cast<unsigned>(img.height)).u8(0);
        w.u8(8);
        // Pack 9-bit codes: clear, up to 254 pixels, clear, ..., end.
        std::string packed;
        uint32_t acc = 0;
        int bits = 0;
        auto code = [&](unsigned c) {
            acc |= c << bits;
            bits += 9;
            while (bits >= 8) {
                packed.push_back(static_cast<char>(acc & 0xFF));
                acc >>= 8;
                bits -= 8;
            }
        };
        size_t n = 0;
        for (Rgb c : img.pixels) {
            if (n % 200 == 0) {
                code(256);
            }
            unsigned index = 0;
            for (size_t i = 0; i < palette.size(); ++i) {
                if (palette[i] == c) {
                    index = static_cast<unsigned>(i);
                }
            }
            code(index);
            ++n;
        }
        code(257);
        if (bits > 0) {
            packed.push_back(static_cast<char>(acc & 0xFF));
        }
        for (size_t at = 0; at < packed.size(); at += 255) {
            size_t len = std::min<size_t>(255, packed.size() - at);
            w.u8(static_cast<unsigned>(len)).text(packed.substr(at, len));
        }
        w.u8(0);
    }
    w.u8(0x3B);
    return w.bytes;
}

// A GIF header claiming width × height, with one empty frame of that size.
inline std::string gifHeaderOnly(unsigned width, unsigned height) {
    Writer w;
    w.text("GIF89a").u16(width).u16(height).u8(0).u8(0).u8(0);
    w.u8(0x2C).u16(0).u16(0).u16(width).u16(height).u8(0).u8(8).u8(0).u8(0x3B);
    return w.bytes;
}

// PCX: the 128-byte header.
inline Writer pcxHeader(int version, int bits, int planes, int width, int height, int bytesPerLine,
                        const std::vector<Rgb>& egaPalette = {}) {
    Writer w;
    w.u8(0x0A).u8(static_cast<unsigned>(version)).u8(1).u8(static_cast<unsigned>(bits));
    w.u16(0).u16(0).u16(static_cast<unsigned>(width - 1)).u16(static_cast<unsigned>(height - 1)).u16(72).u16(72);
    for (size_t i = 0; i < 16; ++i) {
        Rgb c = i < egaPalette.size() ? egaPalette[i] : 0;
        w.u8(red(c)).u8(green(c)).u8(blue(c));
    }
    w.u8(0).u8(static_cast<unsigned>(planes)).u16(static_cast<unsigned>(bytesPerLine)).u16(1).u16(0).u16(0);
    w.fill(128 - w.bytes.size(), 0);
    return w;
}

// Run-length codes for one run of `count` bytes of `value`.
inline void pcxRun(Writer& w, unsigned value, size_t count) {
    while (count > 0) {
        size_t n = std::min<size_t>(63, count);
        if (n == 1 && value < 0xC0) {
            w.u8(value);
        } else {
            w.u8(0xC0 | static_cast<unsigned>(n)).u8(value);
        }
        count -= n;
    }
}

// Encodes a whole byte sequence with runs.
inline void pcxEncode(Writer& w, const std::vector<unsigned char>& data) {
    for (size_t i = 0; i < data.size();) {
        size_t j = i;
        while (j < data.size() && data[j] == data[i]) {
            ++j;
        }
        pcxRun(w, data[i], j - i);
        i = j;
    }
}

// An 8-bit, one-plane PCX with its 256-colour palette.
inline std::string pcx8(const Image& img, const std::vector<Rgb>& palette) {
    const int bpl = (img.width + 1) & ~1;
    Writer w = pcxHeader(5, 8, 1, img.width, img.height, bpl);
    for (int y = 0; y < img.height; ++y) {
        std::vector<unsigned char> line(static_cast<size_t>(bpl), 0);
        for (int x = 0; x < img.width; ++x) {
            for (size_t i = 0; i < palette.size(); ++i) {
                if (palette[i] == img.at(x, y)) {
                    line[static_cast<size_t>(x)] = static_cast<unsigned char>(i);
                }
            }
        }
        pcxEncode(w, line);
    }
    w.u8(0x0C);
    for (size_t i = 0; i < 256; ++i) {
        Rgb c = i < palette.size() ? palette[i] : 0;
        w.u8(red(c)).u8(green(c)).u8(blue(c));
    }
    return w.bytes;
}

// A 24-bit PCX: three 8-bit planes per line (red, green, blue).
inline std::string pcx24(const Image& img) {
    const int bpl = (img.width + 1) & ~1;
    Writer w = pcxHeader(5, 8, 3, img.width, img.height, bpl);
    for (int y = 0; y < img.height; ++y) {
        std::vector<unsigned char> line(static_cast<size_t>(bpl) * 3, 0);
        for (int x = 0; x < img.width; ++x) {
            Rgb c = img.at(x, y);
            line[static_cast<size_t>(x)] = static_cast<unsigned char>(red(c));
            line[static_cast<size_t>(bpl + x)] = static_cast<unsigned char>(green(c));
            line[static_cast<size_t>(2 * bpl + x)] = static_cast<unsigned char>(blue(c));
        }
        pcxEncode(w, line);
    }
    return w.bytes;
}

// A 1-bit PCX of `planes` planes; pixel values are palette indices (0 or 1 for one plane).
inline std::string pcx1(int width, int height, int planes, const std::vector<unsigned>& indices,
                        const std::vector<Rgb>& egaPalette = {}) {
    const int bpl = ((width + 7) / 8 + 1) & ~1;
    Writer w = pcxHeader(3, 1, planes, width, height, bpl, egaPalette);
    for (int y = 0; y < height; ++y) {
        std::vector<unsigned char> line(static_cast<size_t>(bpl) * static_cast<size_t>(planes), 0);
        for (int x = 0; x < width; ++x) {
            unsigned v = indices[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)];
            for (int p = 0; p < planes; ++p) {
                if (v & (1u << p)) {
                    line[static_cast<size_t>(p * bpl + x / 8)] |= static_cast<unsigned char>(0x80 >> (x % 8));
                }
            }
        }
        pcxEncode(w, line);
    }
    return w.bytes;
}

} // namespace picture_files
