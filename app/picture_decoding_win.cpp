#include "app/picture_decoding_win.h"

#include "app/jpeg_decoder.h"
#include "app/pcx_decoder.h"
#include "app/picture_placement.h"
#include "app/picture_headers.h"
#include "app/pixel_rows.h"

#include <objidl.h>
#include <gdiplus.h>

#include <algorithm>
#include <cstring>

using namespace Gdiplus::DllExports;
using Gdiplus::GpImage;

namespace {

// FrameDimensionTime, spelled out to need no GDI+ import library symbol.
const GUID kFrameDimensionTime = {0x6aedbd6d, 0x3fb5, 0x418a, {0x83, 0xa6, 0x7f, 0x45, 0x22, 0x9d, 0xc8, 0x72}};

// A 24-bit top-down DIB section of width × height; its pixels through `bits`.
gdi::Bitmap createDib(int width, int height, unsigned char** bits) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    bi.bmiHeader.biCompression = BI_RGB;
    void* p = nullptr;
    gdi::Bitmap b(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &p, nullptr, 0));
    *bits = b ? static_cast<unsigned char*>(p) : nullptr;
    return b;
}

// A DIB the portable decoders write into.
struct DibTarget {
    gdi::Bitmap bitmap;
    PixelAllocator allocator() {
        return [this](int w, int h) {
            unsigned char* bits = nullptr;
            bitmap = createDib(w, h, &bits);
            return bits;
        };
    }
};

// A memory DC with `bitmap` selected, for drawing into it.
class BitmapDc {
public:
    explicit BitmapDc(HBITMAP bitmap) : dc_(CreateCompatibleDC(nullptr)), selected_(dc_.get(), bitmap) {}
    HDC get() const { return dc_.get(); }

private:
    gdi::MemoryDc dc_;
    gdi::SelectGuard selected_;
};

void fillBackground(HDC dc, int width, int height, COLORREF colour) {
    gdi::Brush brush(CreateSolidBrush(colour));
    RECT r{0, 0, width, height};
    FillRect(dc, &r, brush.get());
}

// The file copied into global memory, as a stream that owns the copy.
IStream* streamOf(const std::string& bytes) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    if (!block) {
        return nullptr;
    }
    void* p = GlobalLock(block);
    if (!p) {
        GlobalFree(block);
        return nullptr;
    }
    std::memcpy(p, bytes.data(), bytes.size());
    GlobalUnlock(block);
    IStream* stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(block, TRUE, &stream))) {
        GlobalFree(block);
        return nullptr;
    }
    return stream;
}

// Lays a GDI+ image pixel for pixel over the background, into a DIB section of its
// size. Done by hand from 32-bit ARGB rows: GDI+ drawing leaves out the transparency
// of palette pictures under Wine.
bool drawGdiplusImage(GpImage* image, HBITMAP target, PictureSize size, COLORREF background) {
    DIBSECTION dib{};
    if (GetObjectA(target, sizeof dib, &dib) != sizeof dib || !dib.dsBm.bmBits || dib.dsBm.bmWidth != size.width ||
        dib.dsBm.bmHeight != size.height || dib.dsBm.bmBitsPixel != 24) {
        return false;
    }
    Gdiplus::Rect all(0, 0, size.width, size.height);
    Gdiplus::BitmapData rows{};
    if (GdipBitmapLockBits(static_cast<Gdiplus::GpBitmap*>(image), &all, Gdiplus::ImageLockModeRead,
                           PixelFormat32bppARGB, &rows) != Gdiplus::Ok) {
        return false;
    }
    const unsigned bg[3] = {GetBValue(background), GetGValue(background), GetRValue(background)};
    const size_t stride = dibStride(size.width);
    for (int y = 0; y < size.height; ++y) {
        const auto* in = static_cast<const unsigned char*>(rows.Scan0) + static_cast<ptrdiff_t>(rows.Stride) * y;
        unsigned char* out = static_cast<unsigned char*>(dib.dsBm.bmBits) + stride * static_cast<size_t>(y);
        for (int x = 0; x < size.width; ++x, in += 4, out += 3) {
            const unsigned a = in[3];
            for (int c = 0; c < 3; ++c) {
                out[c] = a == 255 ? in[c]
                                  : static_cast<unsigned char>((in[c] * a + bg[c] * (255 - a) + 127) / 255);
            }
        }
    }
    GdipBitmapUnlockBits(static_cast<Gdiplus::GpBitmap*>(image), &rows);
    return true;
}

// Loads a file GDI+ reads (BMP, GIF) whose header claimed `size`; the image must agree.
GpImage* loadGdiplusImage(IStream* stream, PictureSize size) {
    GpImage* image = nullptr;
    if (!stream || GdipLoadImageFromStream(stream, &image) != Gdiplus::Ok || !image) {
        return nullptr;
    }
    UINT w = 0, h = 0;
    GdipGetImageWidth(image, &w);
    GdipGetImageHeight(image, &h);
    if (w != static_cast<UINT>(size.width) || h != static_cast<UINT>(size.height)) {
        GdipDisposeImage(image);
        return nullptr;
    }
    return image;
}

DecodedPicture withSize(gdi::Bitmap bitmap, PictureSize natural, PictureSize decoded) {
    DecodedPicture p;
    if (bitmap) {
        p.bitmap = std::move(bitmap);
        p.natural = natural;
        p.decoded = decoded;
    }
    return p;
}

DecodedPicture decodeJpegPicture(const std::string& bytes, const DecodeRequest& request) {
    DibTarget target;
    JpegRequest jr;
    jr.smallestFor = [&request](PictureSize full) { return smallestDecode(request.displayMode, full, request.client); };
    JpegResult result;
    if (!decodeJpeg(ByteSpan(bytes), target.allocator(), jr, &result)) {
        return {};
    }
    return withSize(std::move(target.bitmap), result.full, result.decoded);
}

DecodedPicture decodePcxPicture(const std::string& bytes) {
    DibTarget target;
    PictureSize size;
    if (!decodePcx(ByteSpan(bytes), target.allocator(), {}, &size)) {
        return {};
    }
    return withSize(std::move(target.bitmap), size, size);
}

// A file GDI+ decodes whole (a BMP, or the PNG inside an icon) whose header claimed `size`.
DecodedPicture decodeWithGdiplus(const std::string& bytes, PictureSize size, const DecodeRequest& request) {
    IStream* stream = streamOf(bytes);
    GpImage* image = loadGdiplusImage(stream, size);
    unsigned char* bits = nullptr;
    gdi::Bitmap bitmap;
    if (image) {
        bitmap = createDib(size.width, size.height, &bits);
        if (bitmap && !drawGdiplusImage(image, bitmap.get(), size, request.background)) {
            bitmap.reset();
        }
        GdipDisposeImage(image);
    }
    if (stream) {
        stream->Release();
    }
    return withSize(std::move(bitmap), size, size);
}

DecodedPicture decodeBmpPicture(const std::string& bytes, const DecodeRequest& request) {
    std::optional<PictureSize> size = checkBmpHeader(ByteSpan(bytes));
    if (!size) {
        return {};
    }
    return decodeWithGdiplus(bytes, *size, request);
}

DecodedPicture decodeIconPicture(const std::string& bytes, const DecodeRequest& request) {
    std::optional<IconImage> img = chooseIconImage(ByteSpan(bytes));
    if (!img) {
        return {};
    }
    if (img->png) {
        // Wine's user32 swaps red and blue in PNG icon images; GDI+ reads PNG faithfully.
        return decodeWithGdiplus(bytes.substr(img->offset, img->length), {img->width, img->height}, request);
    }
    // A cursor's image is an icon's image; only the directory differs (hot spot).
    auto* data = reinterpret_cast<BYTE*>(const_cast<char*>(bytes.data())) + img->offset;
    gdi::Icon icon(CreateIconFromResourceEx(data, static_cast<DWORD>(img->length), TRUE, 0x00030000, img->width,
                                            img->height, LR_DEFAULTCOLOR));
    if (!icon) {
        return {};
    }
    const PictureSize size{img->width, img->height};
    unsigned char* bits = nullptr;
    gdi::Bitmap bitmap = createDib(size.width, size.height, &bits);
    if (bitmap) {
        BitmapDc dc(bitmap.get());
        fillBackground(dc.get(), size.width, size.height, request.background);
        if (!DrawIconEx(dc.get(), 0, 0, icon.get(), size.width, size.height, 0, nullptr, DI_NORMAL)) {
            bitmap.reset();
        }
    }
    return withSize(std::move(bitmap), size, size);
}

} // namespace

GifAnimation::~GifAnimation() {
    if (image_) {
        GdipDisposeImage(static_cast<GpImage*>(image_));
    }
    if (stream_) {
        stream_->Release();
    }
}

bool GifAnimation::drawFrame(int index, HBITMAP target, COLORREF background) const {
    auto* image = static_cast<GpImage*>(image_);
    if (index < 0 || index >= frameCount() ||
        GdipImageSelectActiveFrame(image, &kFrameDimensionTime, static_cast<UINT>(index)) != Gdiplus::Ok) {
        return false;
    }
    return drawGdiplusImage(image, target, size_, background);
}

std::unique_ptr<GifAnimation> GifAnimation::open(const std::string& bytes, PictureSize size,
                                                 std::vector<int> delaysMs) {
    std::unique_ptr<GifAnimation> gif(new GifAnimation);
    gif->stream_ = streamOf(bytes);
    gif->image_ = loadGdiplusImage(gif->stream_, size);
    if (!gif->image_) {
        return nullptr;
    }
    gif->size_ = size;
    UINT frames = 0;
    if (GdipImageGetFrameCount(static_cast<GpImage*>(gif->image_), &kFrameDimensionTime, &frames) != Gdiplus::Ok) {
        frames = 1;
    }
    // Only the frames both GDI+ and our walk over the file agree are whole.
    delaysMs.resize(std::min<size_t>(delaysMs.size(), std::max<UINT>(frames, 1)));
    gif->delaysMs_ = std::move(delaysMs);
    return gif;
}

namespace {

DecodedPicture decodeGifPicture(const std::string& bytes, const DecodeRequest& request,
                                std::unique_ptr<GifAnimation>* animation) {
    std::optional<GifLayout> layout = checkGif(ByteSpan(bytes));
    if (!layout) {
        return {};
    }
    const PictureSize size{layout->width, layout->height};
    std::unique_ptr<GifAnimation> gif = GifAnimation::open(bytes, size, layout->frameDelaysMs);
    if (!gif) {
        return {};
    }
    unsigned char* bits = nullptr;
    gdi::Bitmap bitmap = createDib(size.width, size.height, &bits);
    if (!bitmap || !gif->drawFrame(0, bitmap.get(), request.background)) {
        return {};
    }
    if (animation && gif->frameCount() > 1) {
        *animation = std::move(gif);
    }
    return withSize(std::move(bitmap), size, size);
}

} // namespace

DecodedPicture decodePicture(const std::string& bytes, const DecodeRequest& request,
                             std::unique_ptr<GifAnimation>* animation) {
    if (animation) {
        animation->reset();
    }
    switch (detectPictureFormat(bytes)) {
    case PictureFormat::Jpeg:
        return decodeJpegPicture(bytes, request);
    case PictureFormat::Pcx:
        return decodePcxPicture(bytes);
    case PictureFormat::Bmp:
        return decodeBmpPicture(bytes, request);
    case PictureFormat::Ico:
    case PictureFormat::Cur:
        return decodeIconPicture(bytes, request);
    case PictureFormat::Gif:
        return decodeGifPicture(bytes, request, animation);
    default:
        return {};
    }
}
