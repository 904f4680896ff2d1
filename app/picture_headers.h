// Header checks for the pictures the platform decodes (BMP, ICO, CUR, GIF): what they
// claim is checked against the file's length and the size limit before any platform
// decoder sees the bytes.
#pragma once

#include "app/picture_format.h"

#include <optional>
#include <vector>

// A Windows bitmap file whose headers are whole and whose pixel rows fit in the file.
std::optional<PictureSize> checkBmpHeader(ByteSpan bytes, const PictureLimits& limits = {});

// One image of an icon or cursor file, inside the file, with its real size.
struct IconImage {
    size_t offset = 0, length = 0;
    int width = 0, height = 0;
    int bitCount = 0;
    bool png = false;
};
// The largest sound image of an ICO or CUR file (the two share their directory).
std::optional<IconImage> chooseIconImage(ByteSpan bytes, const PictureLimits& limits = {});

// A GIF's logical screen and its frames, as far as they are whole.
struct GifLayout {
    int width = 0, height = 0;
    std::vector<int> frameDelaysMs; // one per whole frame
};
// The minimum delay a frame is shown for; browsers treat shorter ones the same way.
constexpr int kMinGifDelayMs = 20;
constexpr int kDefaultGifDelayMs = 100;
std::optional<GifLayout> checkGif(ByteSpan bytes, const PictureLimits& limits = {});
