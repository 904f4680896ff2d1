// Source-over of premultiplied 32-bit pixels (0xAARRGGBB) onto a row of the screen's
// pixels, rounded the way GDI's AlphaBlend rounds: d' = s + (d * (255 - a) + 127) / 255.
#pragma once

#include <cstddef>
#include <cstdint>

void blendPremultiplied(uint32_t* destination, const uint32_t* source, size_t count);
