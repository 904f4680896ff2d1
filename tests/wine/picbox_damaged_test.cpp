// Damaged pictures: every truncation and many wrecked header bytes of each kind are
// decoded and painted without a crash; cut-short files show the background only.
#include "tests/wine/picbox_fixture_win.h"

#include "tests/support/jpeg_files.h"

#include <gtest/gtest.h>

using namespace picbox_testing;
using namespace picture_files;

namespace {

struct Sample {
    const char* name;
    std::string file;
    bool cutShortShowsNothing; // a GIF without its trailer, or its last frames, still shows
};

std::vector<Sample> samples() {
    Image q(12, 10, 0x808080);
    q.rect(0, 0, 6, 5, 0xFF0000).rect(6, 5, 6, 5, 0x0000FF);
    const std::vector<Rgb> colours = {0x808080, 0xFF0000, 0x0000FF};
    return {
        {"BMP", bmp24(q), true},
        {"BMP 8-bit", bmp8(q, colours), true},
        {"ICO", iconFile(q, 1), true},
        {"CUR", iconFile(q, 2), true},
        {"PCX 8-bit", pcx8(q, colours), true},
        {"PCX 24-bit", pcx24(q), true},
        {"JPEG", jpegFile(blocks(16, 16, 8)), true},
        {"JPEG progressive", jpegFile(blocks(16, 16, 8), JpegKind::Colour, true), true},
        {"GIF", gifFile({q, Image(12, 10, 0xFF0000)}, colours), false},
    };
}

bool onlyBackground(const Shot& shot) {
    for (uint32_t p : shot.data) {
        if (p != buttonFace()) {
            return false;
        }
    }
    return true;
}

TEST(PicBoxDamaged, EveryTruncationIsSafeAndCutShortFilesShowNothing) {
    PicBoxHost host(1, 40, 30);
    for (const Sample& s : samples()) {
        SCOPED_TRACE(s.name);
        host.box().setPicture(s.file);
        ASSERT_TRUE(host.box().hasBitmap());
        for (size_t n = 0; n < s.file.size(); ++n) {
            host.box().setPicture(s.file.substr(0, n));
            const Shot shot = host.painted();
            if (s.cutShortShowsNothing) {
                ASSERT_FALSE(host.box().hasBitmap()) << "cut to " << n << " bytes";
                ASSERT_TRUE(onlyBackground(shot)) << "cut to " << n << " bytes";
            }
        }
    }
}

TEST(PicBoxDamaged, WreckedHeaderBytesNeverCrash) {
    PicBoxHost host(2, 40, 30);
    size_t shown = 0, refused = 0;
    for (const Sample& s : samples()) {
        SCOPED_TRACE(s.name);
        const size_t reach = std::min<size_t>(s.file.size(), 160);
        for (size_t at = 0; at < reach; ++at) {
            for (unsigned value : {0x00u, 0xFFu, 0x80u}) {
                std::string wrecked = s.file;
                wrecked[at] = static_cast<char>(value);
                host.box().setPicture(wrecked);
                host.painted();
                (host.box().hasBitmap() ? shown : refused) += 1;
            }
        }
        // The animation of a wrecked GIF keeps running on its timer.
        pump(20);
    }
    // Both outcomes occur: the checks are neither blind nor refusing everything.
    EXPECT_GT(shown, 0u);
    EXPECT_GT(refused, 0u);
}

} // namespace
