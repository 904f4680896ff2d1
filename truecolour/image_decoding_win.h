// Decoding image files held in memory, and the lifetime of the decoded images.
#pragma once

#include "truecolour/gdi_owner.h"
#include "truecolour/gdiplus_win.h"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

// Decodes a complete image file (any format GDI+ reads) with frame 0 of its time
// dimension active. Null when the bytes don't decode. The image reads from its own copy
// of the bytes for as long as it lives; disposeImage releases all of it.
GpImage* decodeImage(std::string_view bytes);
// Disposes an image from decodeImage with the stream and block behind it. Any other
// image is only disposed.
void disposeImage(GpImage* image);
// How many decoded images are alive: those from decodeImage, and the compact copies the
// panels keep of them.
size_t liveDecodedImageCount();

// The back image pre-scaled to a panel: premultiplied 32-bit pixels of the panel's size,
// drawn once with the same GDI+ call the panel would make on every paint.
struct ScaledImage {
    int width = 0;
    int height = 0;
    int backType = 0;
    gdi::Bitmap pixels;             // top-down 32-bpp DIB section
    const uint32_t* bits = nullptr; // its pixels, width to a row
};

// The bookkeeping the panels do on decoded images.
namespace decodedImages {

// True for a live image from decodeImage.
bool isDecoded(GpImage* image);
// Holds: a panel showing the image, or the list of recently shown images.
void hold(GpImage* image);
// An image the panels own is disposed when its last hold goes.
void letGo(GpImage* image);
// The image for these bytes, owned by the panels: one decoded lately from equal bytes
// when there is one (decoding a frame costs far more than comparing its bytes).
GpImage* decodeForPanels(std::string_view bytes);
// The pre-scaled copies of a decoded image (null for other images).
std::vector<ScaledImage>* scaledCopies(GpImage* image);

} // namespace decodedImages
