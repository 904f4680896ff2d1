#include "truecolour/premultiplied_blend.h"

namespace {

// (x + 127) / 255 without a division, exact for every x up to 255 * 255 + 127.
inline uint32_t divideRounded(uint32_t x) {
    x += 127;
    return (x + 1 + (x >> 8)) >> 8;
}

inline uint32_t over(uint32_t d, uint32_t s, uint32_t a) {
    const uint32_t keep = 255 - a;
    const uint32_t b = (s & 0xFF) + divideRounded((d & 0xFF) * keep);
    const uint32_t g = ((s >> 8) & 0xFF) + divideRounded(((d >> 8) & 0xFF) * keep);
    const uint32_t r = ((s >> 16) & 0xFF) + divideRounded(((d >> 16) & 0xFF) * keep);
    const uint32_t da = a + divideRounded((d >> 24) * keep);
    return (da << 24) | (r << 16) | (g << 8) | b;
}

} // namespace

void blendPremultiplied(uint32_t* destination, const uint32_t* source, size_t count) {
    blendPremultipliedOnto(destination, destination, source, count);
}

void blendPremultipliedOnto(uint32_t* out, const uint32_t* background, const uint32_t* source, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        const uint32_t s = source[i];
        const uint32_t a = s >> 24;
        // Most of a frame is either fully open or fully opaque.
        if (a == 0) {
            out[i] = background[i];
        } else if (a == 255) {
            out[i] = s;
        } else {
            out[i] = over(background[i], s, a);
        }
    }
}
