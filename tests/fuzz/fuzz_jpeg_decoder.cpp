// The JPEG path: libjpeg over a memory source with our error manager, at full size and
// DCT-scaled. A smaller pixel limit than the tool's keeps each run quick.
// sources: app/picture_format.cpp app/jpeg_decoder.cpp
#include "app/jpeg_decoder.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    for (int pass = 0; pass < 2; ++pass) {
        OwnedPixels pixels;
        JpegRequest request;
        request.limits = {4096, 4 * 1024 * 1024};
        if (pass == 1) {
            request.smallestFor = [](PictureSize full) { return PictureSize{full.width / 3, full.height / 3}; };
        }
        JpegResult result;
        if (decodeJpeg(ByteSpan(data, size), pixels.allocator(), request, &result)) {
            if (result.decoded.width != pixels.width() || result.decoded.height != pixels.height() ||
                result.decoded.width > result.full.width) {
                std::abort();
            }
        }
    }
    return 0;
}
