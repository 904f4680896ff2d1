// Decoding image files held in memory.
#include "editor/frames_win.h"
#include "truecolour/image_decoding_win.h"
#include "truecolour/memory_stream_win.h"
#include "tests/wine/truecolour_fixture_win.h"

#include <gtest/gtest.h>

namespace {

using namespace tc_test;

// The image drawn 1:1 onto a 32-bpp DIB over opaque black.
Pixels drawn(GpImage* image, int w, int h) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, dib);
    GpGraphics* g = nullptr;
    gp::GdipCreateFromHDC(dc, &g);
    gp::GdipDrawImageRectI(g, image, 0, 0, w, h);
    gp::GdipDeleteGraphics(g);
    GdiFlush();
    SelectObject(dc, old);
    DeleteDC(dc);
    Pixels p = readBitmap(dib, w, h);
    DeleteObject(dib);
    return p;
}

TEST(TrueColourDecode, EveryFrameImageIs741By1039) {
    for (int camp = 0; camp < 3; ++camp) {
        for (int health = 0; health < 2; ++health) {
            auto frame = frameImage(camp, health);
            ASSERT_TRUE(frame);
            GpImage* image = decodeImage(*frame);
            ASSERT_NE(image, nullptr) << camp << "," << health;
            Gdiplus::REAL w = 0, h = 0;
            gp::GdipGetImageDimension(image, &w, &h);
            EXPECT_EQ(w, 741.0f);
            EXPECT_EQ(h, 1039.0f);
            Gdiplus::PixelFormat format = 0;
            gp::GdipGetImagePixelFormat(image, &format);
            EXPECT_TRUE(format & PixelFormatAlpha) << std::hex << format;
            disposeImage(image);
        }
    }
    EXPECT_EQ(liveDecodedImageCount(), 0u);
}

TEST(TrueColourDecode, BytesThatAreNoImageGiveNone) {
    std::string frame(*frameImage(0, 0));
    const std::string cases[] = {
        "",
        "not an image at all",
        std::string(4096, '\0'),
        frame.substr(0, 8),  // the signature alone
        frame.substr(0, 40), // signature and header, no pixel data
    };
    for (const std::string& bytes : cases) {
        EXPECT_EQ(decodeImage(bytes), nullptr) << bytes.size() << " bytes";
    }
    // Nothing stays behind a failed decode.
    EXPECT_EQ(liveDecodedImageCount(), 0u);
}

TEST(TrueColourDecode, TwoDecodesOfOneByteStringAreIndependent) {
    std::string bytes = makePng(8, 8, [](int x, int) { return x < 4 ? 0xFF0000FFu : 0x80FF0000u; });
    GpImage* first = decodeImage(bytes);
    GpImage* second = decodeImage(bytes);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(first, second);
    // Each image reads its own copy: neither the caller's bytes nor the other image matter.
    bytes.assign(bytes.size(), 'x');
    disposeImage(first);
    EXPECT_EQ(liveDecodedImageCount(), 1u);
    Pixels p = drawn(second, 8, 8);
    EXPECT_EQ(p.rgb(1, 1), 0x0000FFu);
    EXPECT_TRUE(similar(p.rgb(6, 6), 0x800000u, 2)) << std::hex << p.rgb(6, 6);
    disposeImage(second);
    EXPECT_EQ(liveDecodedImageCount(), 0u);
}

TEST(TrueColourDecode, AnImageStillDrawsAfterLaterDecodes) {
    GpImage* image = decodeImage(solidPng(4, 4, 0xFF00FF00u));
    ASSERT_NE(image, nullptr);
    for (int i = 0; i < 20; ++i) {
        disposeImage(decodeImage(solidPng(4, 4, 0xFF000000u | static_cast<uint32_t>(i))));
    }
    EXPECT_EQ(drawn(image, 4, 4).rgb(2, 2), 0x00FF00u);
    disposeImage(image);
}

TEST(TrueColourDecode, MemoryStreamModes) {
    GlobalMemoryStream fresh;
    EXPECT_EQ(fresh.size(), 0u);
    EXPECT_EQ(fresh.getStream(), nullptr);
    EXPECT_EQ(fresh.readBytes(), "");

    GlobalMemoryStream empty;
    IStream* stream = empty.createStream();
    ASSERT_NE(stream, nullptr);
    STATSTG stat{};
    stream->Stat(&stat, STATFLAG_NONAME);
    EXPECT_EQ(stat.cbSize.QuadPart, 0u);
    EXPECT_TRUE(GlobalFlags(empty.block) != GMEM_INVALID_HANDLE);
    // It grows when written to.
    ULONG written = 0;
    EXPECT_EQ(stream->Write("abc", 3, &written), S_OK);
    EXPECT_EQ(empty.readBytes().substr(0, 3), "abc");

    GlobalMemoryStream filled;
    ASSERT_NE(filled.createStream(std::string_view("PNG!", 4)), nullptr);
    EXPECT_EQ(filled.readBytes(), "PNG!");
    char back[4] = {};
    ULONG read = 0;
    filled.getStream()->Read(back, 4, &read);
    EXPECT_EQ(std::string(back, read), "PNG!");
}

// A copy shares the block; it must stay readable when the original goes.
TEST(TrueColourDecode, MemoryStreamCopyOutlivesItsOriginal) {
    auto original = std::make_unique<GlobalMemoryStream>();
    original->createStream(std::string_view("frame bytes"));
    std::unique_ptr<GlobalMemoryStream> copy = original->copy();
    EXPECT_EQ(copy->block, original->block);
    EXPECT_EQ(copy->getStream(), original->getStream());
    original.reset();
    EXPECT_EQ(copy->readBytes(), "frame bytes");
    char back[5] = {};
    ULONG read = 0;
    copy->getStream()->Seek({}, STREAM_SEEK_SET, nullptr);
    copy->getStream()->Read(back, 5, &read);
    EXPECT_EQ(std::string(back, read), "frame");
}

} // namespace
