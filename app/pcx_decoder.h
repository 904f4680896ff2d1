// Our PCX decoder: run-length encoded files of 8 bits per pixel with the 256-colour
// palette at their end, 24-bit files of three 8-bit planes, and 1-bit files (one plane
// black and white, or up to four planes indexing the header's 16-colour palette).
#pragma once

#include "app/picture_format.h"
#include "app/pixel_rows.h"

#include <optional>

struct PcxHeader {
    int width = 0, height = 0;
    int bitsPerPixel = 0, planes = 0, bytesPerLine = 0;
};

// The header, when it is whole, of a kind we decode and within the limits.
std::optional<PcxHeader> readPcxHeader(ByteSpan bytes, const PictureLimits& limits = {});

// Decodes into memory from `allocate`; false (and nothing worth showing) for a file that
// is cut short, damaged or too large.
bool decodePcx(ByteSpan bytes, const PixelAllocator& allocate, const PictureLimits& limits = {},
               PictureSize* size = nullptr);
