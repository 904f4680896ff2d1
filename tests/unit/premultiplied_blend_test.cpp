#include "truecolour/premultiplied_blend.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

uint32_t channelOver(uint32_t s, uint32_t d, uint32_t a) { return s + (d * (255 - a) + 127) / 255; }

// Every alpha, every premultiplied source value and every background value, in each
// channel: the shortcut division must round exactly as the definition does.
TEST(PremultipliedBlend, RoundsLikeAlphaBlendForEveryValue) {
    int wrong = 0;
    for (uint32_t a = 0; a < 256; ++a) {
        std::vector<uint32_t> src, dst, want;
        for (uint32_t s = 0; s <= a; ++s) {
            for (uint32_t d = 0; d < 256; ++d) {
                uint32_t other = (d * 7 + s) & 0xFF; // a second background value, kept below the blend
                src.push_back(a << 24 | s << 16 | (s / 2) << 8 | (a - s));
                dst.push_back(other << 24 | d << 16 | (255 - d) << 8 | other);
                want.push_back((a == 0 ? other : channelOver(a, other, a)) << 24 |
                               channelOver(s, d, a) << 16 | channelOver(s / 2, 255 - d, a) << 8 |
                               channelOver(a - s, other, a));
            }
        }
        blendPremultiplied(dst.data(), src.data(), dst.size());
        for (size_t i = 0; i < dst.size(); ++i) {
            wrong += dst[i] != want[i];
        }
    }
    EXPECT_EQ(wrong, 0);
}

TEST(PremultipliedBlend, OpenPixelsKeepTheBackgroundAndOpaqueOnesReplaceIt) {
    uint32_t dst[3] = {0x12345678, 0x12345678, 0x12345678};
    const uint32_t src[3] = {0x00000000, 0xFF102030, 0x80402010};
    blendPremultiplied(dst, src, 3);
    EXPECT_EQ(dst[0], 0x12345678u);
    EXPECT_EQ(dst[1], 0xFF102030u);
    EXPECT_EQ(dst[2], (0x80u + (0x12u * 127 + 127) / 255) << 24 | (0x40u + (0x34u * 127 + 127) / 255) << 16 |
                          (0x20u + (0x56u * 127 + 127) / 255) << 8 | (0x10u + (0x78u * 127 + 127) / 255));
    blendPremultiplied(dst, src, 0); // an empty row touches nothing
    EXPECT_EQ(dst[0], 0x12345678u);
}

// The one-pass form gives what copying the background and blending onto it gives, and
// leaves the background alone.
TEST(PremultipliedBlend, OntoEqualsCopyThenBlend) {
    std::vector<uint32_t> background, source;
    uint32_t seed = 12345;
    auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return seed >> 8;
    };
    for (int i = 0; i < 4096; ++i) {
        background.push_back(next() | 0xFF000000u);
        uint32_t a = i % 3 == 0 ? 0 : i % 3 == 1 ? 255 : next() & 0xFF;
        uint32_t r = a ? next() % (a + 1) : 0, g = a ? next() % (a + 1) : 0, b = a ? next() % (a + 1) : 0;
        source.push_back(a << 24 | r << 16 | g << 8 | b);
    }
    std::vector<uint32_t> copied = background;
    blendPremultiplied(copied.data(), source.data(), copied.size());
    std::vector<uint32_t> out(background.size(), 0xDEADBEEF);
    const std::vector<uint32_t> kept = background;
    blendPremultipliedOnto(out.data(), background.data(), source.data(), out.size());
    EXPECT_EQ(out, copied);
    EXPECT_EQ(background, kept);
}

} // namespace
