// JPEG files made in memory with libjpeg's compressor, for the tests.
#pragma once

#include "tests/support/picture_files.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <jpeglib.h>

namespace picture_files {

enum class JpegKind { Colour, Grey, AdobeCmyk, PlainCmyk, AdobeYcck };

// Compresses `img` at quality 95 without chroma subsampling (so that colour edges on
// 8-pixel boundaries stay sharp). Grey takes the red channel as the grey level.
// The picture comes from pixel(x, y), so that large pictures need no memory of their own.
template <typename Pixel>
inline std::string jpegFileOf(int width, int height, Pixel pixel, JpegKind kind = JpegKind::Colour,
                              bool progressive = false) {
    jpeg_compress_struct c{};
    jpeg_error_mgr err{};
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    unsigned char* out = nullptr;
    unsigned long outSize = 0;
    jpeg_mem_dest(&c, &out, &outSize);
    c.image_width = static_cast<JDIMENSION>(width);
    c.image_height = static_cast<JDIMENSION>(height);
    const bool inks = kind == JpegKind::AdobeCmyk || kind == JpegKind::PlainCmyk || kind == JpegKind::AdobeYcck;
    c.input_components = kind == JpegKind::Grey ? 1 : inks ? 4 : 3;
    c.in_color_space = kind == JpegKind::Grey ? JCS_GRAYSCALE : inks ? JCS_CMYK : JCS_RGB;
    jpeg_set_defaults(&c);
    if (kind == JpegKind::AdobeYcck) {
        jpeg_set_colorspace(&c, JCS_YCCK);
    } else if (inks) {
        jpeg_set_colorspace(&c, JCS_CMYK);
    }
    c.write_Adobe_marker = kind != JpegKind::PlainCmyk && inks;
    for (int i = 0; i < c.num_components; ++i) {
        c.comp_info[i].h_samp_factor = 1;
        c.comp_info[i].v_samp_factor = 1;
    }
    jpeg_set_quality(&c, 95, TRUE);
    if (progressive) {
        jpeg_simple_progression(&c);
    }
    jpeg_start_compress(&c, TRUE);
    std::vector<unsigned char> row(static_cast<size_t>(width) * 4);
    while (c.next_scanline < c.image_height) {
        const int y = static_cast<int>(c.next_scanline);
        for (int x = 0; x < width; ++x) {
            const Rgb p = pixel(x, y);
            unsigned char* o = row.data() + static_cast<size_t>(x) * c.input_components;
            if (kind == JpegKind::Grey) {
                o[0] = static_cast<unsigned char>(red(p));
            } else if (inks) {
                // Pure inks without black: C = 255 - R and so on, K = 0.
                unsigned char ink[4] = {static_cast<unsigned char>(255 - red(p)),
                                        static_cast<unsigned char>(255 - green(p)),
                                        static_cast<unsigned char>(255 - blue(p)), 0};
                for (int i = 0; i < 4; ++i) {
                    o[i] = kind == JpegKind::PlainCmyk ? ink[i] : static_cast<unsigned char>(255 - ink[i]);
                }
            } else {
                o[0] = static_cast<unsigned char>(red(p));
                o[1] = static_cast<unsigned char>(green(p));
                o[2] = static_cast<unsigned char>(blue(p));
            }
        }
        JSAMPROW r = row.data();
        jpeg_write_scanlines(&c, &r, 1);
    }
    jpeg_finish_compress(&c);
    std::string bytes(reinterpret_cast<char*>(out), outSize);
    jpeg_destroy_compress(&c);
    std::free(out);
    return bytes;
}

inline std::string jpegFile(const Image& img, JpegKind kind = JpegKind::Colour, bool progressive = false) {
    return jpegFileOf(img.width, img.height, [&img](int x, int y) { return img.at(x, y); }, kind, progressive);
}

// Colour blocks of `cell` pixels: the block at column i, row j has colour
// blockColour(i, j), strong enough to survive JPEG.
inline Rgb blockColour(int i, int j) {
    static const Rgb colours[] = {0xE00000, 0x00C000, 0x0000E0, 0xE0E000, 0x00E0E0, 0xE000E0, 0x202020, 0xF0F0F0};
    return colours[(i + 3 * j) % 8];
}
// A JPEG of blocks(width, height, cell), made a row at a time.
inline std::string blocksJpeg(int width, int height, int cell) {
    return jpegFileOf(width, height, [cell](int x, int y) { return blockColour(x / cell, y / cell); });
}
inline Image blocks(int width, int height, int cell) {
    Image img(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            img.at(x, y) = blockColour(x / cell, y / cell);
        }
    }
    return img;
}

inline bool closeTo(Rgb a, Rgb b, int tolerance = 24) {
    auto d = [](unsigned x, unsigned y) { return x > y ? static_cast<int>(x - y) : static_cast<int>(y - x); };
    return d(red(a), red(b)) <= tolerance && d(green(a), green(b)) <= tolerance && d(blue(a), blue(b)) <= tolerance;
}

} // namespace picture_files
