#include "app/picture_placement.h"

#include <algorithm>

PlacedRect placePicture(int displayMode, PictureSize p, PictureSize c) {
    switch (displayMode) {
    case 1:
        return {0, 0, c.width, c.height};
    case 2: {
        long long w = p.width, h = p.height;
        if (p.width > c.width || p.height > c.height) {
            // The smaller of the two ratios, in whole numbers so that the side that
            // fits is exactly the client's and the other is truncated.
            if (static_cast<long long>(c.width) * p.height <= static_cast<long long>(c.height) * p.width) {
                w = c.width;
                h = static_cast<long long>(p.height) * c.width / p.width;
            } else {
                h = c.height;
                w = static_cast<long long>(p.width) * c.height / p.height;
            }
        }
        return {static_cast<int>((c.width - w) / 2), static_cast<int>((c.height - h) / 2), static_cast<int>(w),
                static_cast<int>(h)};
    }
    default:
        return {0, 0, p.width, p.height};
    }
}

PictureSize smallestDecode(int displayMode, PictureSize picture, PictureSize client) {
    if (displayMode == 0 || client.width <= 0 || client.height <= 0 || picture.width <= 0 || picture.height <= 0) {
        return {0, 0};
    }
    const PlacedRect r = placePicture(displayMode, picture, client);
    return {std::min(picture.width, 2 * std::max(r.width, 1)), std::min(picture.height, 2 * std::max(r.height, 1))};
}
