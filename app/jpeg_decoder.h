// JPEG pictures through libjpeg over a memory source: greyscale, three-component
// colour and four-component (CMYK, YCCK, Adobe's inverted CMYK included) files to
// 24-bit rows. A fatal library error comes back here and leaves no picture.
#pragma once

#include "app/picture_format.h"
#include "app/pixel_rows.h"

#include <functional>

struct JpegRequest {
    // The smallest output that will do: the decoder may shrink by libjpeg's DCT scaling
    // (eighths) as long as the result stays at least this large. 0 × 0 asks for full size.
    int minWidth = 0, minHeight = 0;
    // When set, gives that smallest size from the picture's own size, once the header is read.
    std::function<PictureSize(PictureSize full)> smallestFor;
    PictureLimits limits;
    // Progressive files can hold a great many scans, each going over every block; real
    // files have a dozen or so. More than this is a failure, not minutes of work.
    int maxScans = 500;
};

struct JpegResult {
    PictureSize full;    // what the header claims
    PictureSize decoded; // what was given to the allocator
    int components = 0;
};

bool decodeJpeg(ByteSpan bytes, const PixelAllocator& allocate, const JpegRequest& request = {},
                JpegResult* result = nullptr);

// The eighths (1 to 8) libjpeg scales a side of `full` pixels by so that it stays at
// least `wanted` (0: full size) — the smallest such scale.
int jpegScaleEighths(int fullWidth, int fullHeight, int minWidth, int minHeight);
