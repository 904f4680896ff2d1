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

// Where a panel of bw x bh draws an image of iw x ih (its size as GDI+ reports it):
// back type 1 stretches it over the panel, 2 fits it within and centres it (half margins
// truncated toward zero), anything else keeps its natural size at the top-left corner.
struct PlacedImage {
    float x, y, width, height;
    bool operator==(const PlacedImage& o) const {
        return x == o.x && y == o.y && width == o.width && height == o.height;
    }
};
PlacedImage placeBackImage(int backType, float iw, float ih, int32_t bw, int32_t bh);
