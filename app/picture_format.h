// What kind of picture a file holds, told by its first six bytes, and the size limit
// every picture decoder applies before it allocates anything.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

enum class PictureFormat { None, Bmp, Jpeg, Ico, Cur, Gif, Pcx };

// A read-only view of a file held in memory.
struct ByteSpan {
    const unsigned char* data = nullptr;
    size_t size = 0;

    ByteSpan() = default;
    ByteSpan(const unsigned char* d, size_t n) : data(d), size(n) {}
    explicit ByteSpan(const std::string& s)
        : data(reinterpret_cast<const unsigned char*>(s.data())), size(s.size()) {}

    // Little-endian reads; the caller has checked that the bytes are there.
    unsigned u8(size_t at) const { return data[at]; }
    unsigned u16(size_t at) const { return data[at] | (data[at + 1] << 8); }
    uint32_t u32(size_t at) const {
        return static_cast<uint32_t>(u16(at)) | (static_cast<uint32_t>(u16(at + 2)) << 16);
    }
    int32_t s32(size_t at) const { return static_cast<int32_t>(u32(at)); }
    // Whether `length` bytes starting at `at` lie inside the view (no overflow).
    bool has(size_t at, size_t length) const { return at <= size && length <= size - at; }
};

PictureFormat detectPictureFormat(ByteSpan bytes);
inline PictureFormat detectPictureFormat(const std::string& bytes) { return detectPictureFormat(ByteSpan(bytes)); }

// Pictures larger than this are refused from their headers, before any pixel memory is
// taken: 10,000 pixels a side and 100 million pixels in all (300 MB at 24 bits).
struct PictureLimits {
    int maxSide = 10000;
    long long maxPixels = 100000000;

    bool allows(long long width, long long height) const {
        return width > 0 && height > 0 && width <= maxSide && height <= maxSide && width * height <= maxPixels;
    }
};

struct PictureSize {
    int width = 0, height = 0;
};
