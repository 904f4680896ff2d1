// Our PCX decoder over any bytes: it may refuse, never read or write out of bounds.
// sources: app/picture_format.cpp app/pcx_decoder.cpp
#include "app/pcx_decoder.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    OwnedPixels pixels;
    PictureSize decoded;
    if (decodePcx(ByteSpan(data, size), pixels.allocator(), {}, &decoded)) {
        if (decoded.width != pixels.width() || decoded.height != pixels.height()) {
            std::abort();
        }
    }
    return 0;
}
