#include "truecolour/fit_within.h"

#include <cmath>
#include <limits>

namespace {

// Truncation toward zero, held inside the 32-bit range (a zero-sized side divides to
// infinity or NaN rather than trapping).
int32_t truncated(double v) {
    if (std::isnan(v)) {
        return 0;
    }
    v = std::trunc(v);
    if (v >= static_cast<double>(std::numeric_limits<int32_t>::max())) {
        return std::numeric_limits<int32_t>::max();
    }
    if (v <= static_cast<double>(std::numeric_limits<int32_t>::min())) {
        return std::numeric_limits<int32_t>::min();
    }
    return static_cast<int32_t>(v);
}

} // namespace

FittedSize fitWithin(int32_t iw, int32_t ih, int32_t bw, int32_t bh) {
    int32_t fw = iw, fh = ih;
    if (iw > bw) {
        fw = bw;
        fh = truncated(static_cast<double>(ih) * bw / iw);
    }
    if (fh > bh) {
        fw = truncated(static_cast<double>(fw) * bh / fh);
        fh = bh;
    }
    return {fw, fh};
}

PlacedImage placeBackImage(int backType, float iw, float ih, int32_t bw, int32_t bh) {
    if (backType == 1) {
        return {0, 0, static_cast<float>(bw), static_cast<float>(bh)};
    }
    if (backType == 2) {
        FittedSize f = fitWithin(truncated(iw), truncated(ih), bw, bh);
        // Integer division truncates toward zero, as the half margins must.
        auto x = static_cast<int32_t>((static_cast<int64_t>(bw) - f.width) / 2);
        auto y = static_cast<int32_t>((static_cast<int64_t>(bh) - f.height) / 2);
        return {static_cast<float>(x), static_cast<float>(y), static_cast<float>(f.width),
                static_cast<float>(f.height)};
    }
    return {0, 0, iw, ih};
}
