#include "truecolour/premultiplied_blend.h"

namespace {

// (x + 127) / 255 without a division, exact for every x up to 255 * 255 + 127.
inline uint32_t divideRounded(uint32_t x) {
    x += 127;
    return (x + 1 + (x >> 8)) >> 8;
}

} // namespace

void blendPremultiplied(uint32_t* destination, const uint32_t* source, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        const uint32_t s = source[i];
        const uint32_t a = s >> 24;
        // Most of a frame is either fully open or fully opaque.
        if (a == 0) {
            continue;
        }
        if (a == 255) {
            destination[i] = s;
            continue;
        }
        const uint32_t d = destination[i];
        const uint32_t keep = 255 - a;
        const uint32_t b = (s & 0xFF) + divideRounded((d & 0xFF) * keep);
        const uint32_t g = ((s >> 8) & 0xFF) + divideRounded(((d >> 8) & 0xFF) * keep);
        const uint32_t r = ((s >> 16) & 0xFF) + divideRounded(((d >> 16) & 0xFF) * keep);
        const uint32_t da = a + divideRounded((d >> 24) * keep);
        destination[i] = (da << 24) | (r << 16) | (g << 8) | b;
    }
}
