#include "app/pcx_decoder.h"

#include <vector>

namespace {

constexpr size_t kHeaderSize = 128;
constexpr size_t kPaletteSize = 769; // 0x0C, then 256 × RGB

// The run-length coded image data: a byte C0 + n repeats the next byte n times.
class RunReader {
public:
    RunReader(const unsigned char* data, size_t size) : at_(data), end_(data + size) {}

    // Fills `out` completely; false when the data ends first.
    bool fill(unsigned char* out, size_t length) {
        size_t done = 0;
        while (done < length) {
            if (pending_ == 0) {
                if (at_ == end_) {
                    return false;
                }
                unsigned char c = *at_++;
                if ((c & 0xC0) == 0xC0) {
                    if (at_ == end_) {
                        return false;
                    }
                    pending_ = c & 0x3F;
                    value_ = *at_++;
                    continue;
                }
                value_ = c;
                pending_ = 1;
            }
            // Runs may carry over from one plane or line into the next.
            while (pending_ > 0 && done < length) {
                out[done++] = value_;
                --pending_;
            }
        }
        return true;
    }

private:
    const unsigned char* at_;
    const unsigned char* end_;
    unsigned pending_ = 0;
    unsigned char value_ = 0;
};

// The most bytes run-length data of n bytes can give: 63 for every pair.
uint64_t mostDecodedFrom(uint64_t n) { return n / 2 * 63 + n % 2; }

} // namespace

std::optional<PcxHeader> readPcxHeader(ByteSpan b, const PictureLimits& limits) {
    if (detectPictureFormat(b) != PictureFormat::Pcx || !b.has(0, kHeaderSize)) {
        return std::nullopt;
    }
    PcxHeader h;
    const long long xMin = b.u16(4), yMin = b.u16(6), xMax = b.u16(8), yMax = b.u16(10);
    if (xMax < xMin || yMax < yMin || !limits.allows(xMax - xMin + 1, yMax - yMin + 1)) {
        return std::nullopt;
    }
    h.width = static_cast<int>(xMax - xMin + 1);
    h.height = static_cast<int>(yMax - yMin + 1);
    h.bitsPerPixel = static_cast<int>(b.u8(3));
    h.planes = static_cast<int>(b.u8(65));
    h.bytesPerLine = static_cast<int>(b.u16(66));
    const bool kindKnown = h.bitsPerPixel == 8 ? (h.planes == 1 || h.planes == 3 || h.planes == 4)
                                               : (h.planes >= 1 && h.planes <= 4);
    const long long bitsPerLine = static_cast<long long>(h.width) * (h.bitsPerPixel == 8 ? 8 : 1);
    if (!kindKnown || h.bytesPerLine * 8LL < bitsPerLine) {
        return std::nullopt;
    }
    return h;
}

namespace {

void writeRgb(unsigned char* px, const unsigned char* rgb) {
    px[0] = rgb[2];
    px[1] = rgb[1];
    px[2] = rgb[0];
}

// One decoded scan line (all its planes) to BGR pixels.
void convertLine(const PcxHeader& h, const unsigned char* line, const unsigned char* palette, unsigned char* out) {
    const size_t plane = static_cast<size_t>(h.bytesPerLine);
    for (int x = 0; x < h.width; ++x) {
        unsigned char* px = out + 3 * static_cast<size_t>(x);
        if (h.bitsPerPixel == 8 && h.planes == 1) {
            writeRgb(px, palette + 3 * size_t{line[x]});
        } else if (h.bitsPerPixel == 8) {
            px[2] = line[x];
            px[1] = line[plane + x];
            px[0] = line[2 * plane + x];
        } else {
            unsigned index = 0;
            for (int p = 0; p < h.planes; ++p) {
                index |= ((line[p * plane + x / 8] >> (7 - x % 8)) & 1u) << p;
            }
            static const unsigned char black[3] = {0, 0, 0}, white[3] = {255, 255, 255};
            writeRgb(px, h.planes == 1 ? (index ? white : black) : palette + 3 * size_t{index});
        }
    }
}

} // namespace

bool decodePcx(ByteSpan b, const PixelAllocator& allocate, const PictureLimits& limits, PictureSize* size) {
    std::optional<PcxHeader> h = readPcxHeader(b, limits);
    if (!h) {
        return false;
    }
    size_t dataEnd = b.size;
    const unsigned char* palette = b.data + 16; // the header's 16 colours
    if (h->bitsPerPixel == 8 && h->planes == 1) {
        if (b.size < kHeaderSize + kPaletteSize || b.u8(b.size - kPaletteSize) != 0x0C) {
            return false; // no palette: cut short or damaged
        }
        dataEnd = b.size - kPaletteSize;
        palette = b.data + dataEnd + 1;
    }
    const size_t lineBytes = static_cast<size_t>(h->bytesPerLine) * static_cast<size_t>(h->planes);
    if (mostDecodedFrom(dataEnd - kHeaderSize) < static_cast<uint64_t>(lineBytes) * static_cast<uint64_t>(h->height)) {
        return false; // too little data for the size claimed
    }
    unsigned char* pixels = allocate(h->width, h->height);
    if (!pixels) {
        return false;
    }
    std::vector<unsigned char> line(lineBytes);
    RunReader reader(b.data + kHeaderSize, dataEnd - kHeaderSize);
    const size_t stride = dibStride(h->width);
    for (int y = 0; y < h->height; ++y) {
        if (!reader.fill(line.data(), line.size())) {
            return false;
        }
        convertLine(*h, line.data(), palette, pixels + stride * static_cast<size_t>(y));
    }
    if (size) {
        *size = {h->width, h->height};
    }
    return true;
}
