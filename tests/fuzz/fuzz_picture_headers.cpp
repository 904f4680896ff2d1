// Picture kinds and the header checks run before the platform decoders see a file.
// sources: app/picture_format.cpp app/picture_headers.cpp
#include "app/picture_format.h"
#include "app/picture_headers.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const ByteSpan bytes(data, size);
    const PictureFormat kind = detectPictureFormat(bytes);
    if (auto bmp = checkBmpHeader(bytes)) {
        if (kind != PictureFormat::Bmp || !PictureLimits{}.allows(bmp->width, bmp->height)) {
            std::abort();
        }
    }
    if (auto icon = chooseIconImage(bytes)) {
        // The image handed to the platform lies wholly inside the file.
        if (!bytes.has(icon->offset, icon->length) || !PictureLimits{}.allows(icon->width, icon->height)) {
            std::abort();
        }
    }
    if (auto gif = checkGif(bytes)) {
        if (kind != PictureFormat::Gif || gif->frameDelaysMs.empty()) {
            std::abort();
        }
        for (int delay : gif->frameDelaysMs) {
            if (delay < kMinGifDelayMs) {
                std::abort();
            }
        }
    }
    return 0;
}
