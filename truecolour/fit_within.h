// The size an image is drawn at when it must fit a box: shrunk, never enlarged.
#pragma once

#include <cstdint>

struct FittedSize {
    int32_t width;
    int32_t height;
    bool operator==(const FittedSize& o) const { return width == o.width && height == o.height; }
};

// Products and quotients in double precision, truncated toward zero.
FittedSize fitWithin(int32_t iw, int32_t ih, int32_t bw, int32_t bh);
