// Turns a picture file held in memory into a bitmap a picture box can draw: our own
// decoders for JPEG and PCX, GDI+ for BMP and GIF, user32 for ICO and CUR. Every file is
// checked by its header first (app/picture_headers.h).
#pragma once

#include <windows.h>
#include <objidl.h>

#include "app/picture_format.h"
#include "truecolour/gdi_owner.h"

#include <memory>
#include <string>
#include <vector>

// A decoded picture: a 24-bit top-down DIB section.
struct DecodedPicture {
    gdi::Bitmap bitmap;
    PictureSize natural; // the picture's own size
    PictureSize decoded; // the bitmap's size; smaller than natural only for scaled JPEGs
    explicit operator bool() const { return static_cast<bool>(bitmap); }
};

// Where the picture will be shown, so that a large JPEG the box shrinks anyway can be
// decoded smaller (app/picture_placement.h), and the colour that shows through
// transparent pixels.
struct DecodeRequest {
    int displayMode = 0;
    PictureSize client;
    COLORREF background = RGB(255, 255, 255);
};

class GifAnimation;

// Decodes `bytes` by their first six bytes; an empty result for none, a refused header
// or a failed decode. An animated GIF also gives its animation (frame 0 in the bitmap).
DecodedPicture decodePicture(const std::string& bytes, const DecodeRequest& request,
                             std::unique_ptr<GifAnimation>* animation = nullptr);

// The frames of an animated GIF, drawn one at a time into its picture's bitmap.
class GifAnimation {
public:
    ~GifAnimation();
    GifAnimation(const GifAnimation&) = delete;
    GifAnimation& operator=(const GifAnimation&) = delete;

    // The GIF's frames through GDI+, when GDI+ reads a picture of `size`; at most as many
    // frames as `delaysMs` lists.
    static std::unique_ptr<GifAnimation> open(const std::string& bytes, PictureSize size, std::vector<int> delaysMs);

    int frameCount() const { return static_cast<int>(delaysMs_.size()); }
    int delayMs(int frame) const { return delaysMs_[static_cast<size_t>(frame)]; }
    // Draws frame `index` over the background into `target` (the picture's bitmap).
    bool drawFrame(int index, HBITMAP target, COLORREF background) const;

private:
    GifAnimation() = default;
    void* image_ = nullptr;   // GpImage
    IStream* stream_ = nullptr; // the file, which GDI+ reads frames from
    std::vector<int> delaysMs_;
    PictureSize size_;
};
