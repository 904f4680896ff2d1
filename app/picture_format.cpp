#include "app/picture_format.h"

#include <cstring>

PictureFormat detectPictureFormat(ByteSpan b) {
    if (b.size < 6) {
        return PictureFormat::None;
    }
    const unsigned char* d = b.data;
    if (d[0] == 'B' && d[1] == 'M') {
        return PictureFormat::Bmp;
    }
    if (d[0] == 0xFF && d[1] == 0xD8) {
        return PictureFormat::Jpeg;
    }
    if (d[0] == 0 && d[1] == 0 && d[2] == 1 && d[3] == 0 && b.u16(4) > 0) {
        return PictureFormat::Ico;
    }
    if (d[0] == 0 && d[1] == 0 && d[2] == 2 && d[3] == 0 && b.u16(4) > 0) {
        return PictureFormat::Cur;
    }
    if (std::memcmp(d, "GIF87a", 6) == 0 || std::memcmp(d, "GIF89a", 6) == 0) {
        return PictureFormat::Gif;
    }
    if (d[0] == 0x0A && d[1] <= 5 && d[2] == 1 && d[3] == 8) {
        return PictureFormat::Pcx;
    }
    if (d[0] == 0x0A && d[1] == 3 && d[2] == 1 && d[3] == 1) {
        return PictureFormat::Pcx;
    }
    return PictureFormat::None;
}
