// Source-over of premultiplied 32-bit pixels (0xAARRGGBB) onto a row of the screen's
// pixels, rounded the way GDI's AlphaBlend rounds: d' = s + (d * (255 - a) + 127) / 255.
#pragma once

#include <cstddef>
#include <cstdint>

// destination = source over destination.
void blendPremultiplied(uint32_t* destination, const uint32_t* source, size_t count);
// out = source over background, in one pass; out may be background itself.
void blendPremultipliedOnto(uint32_t* out, const uint32_t* background, const uint32_t* source, size_t count);
