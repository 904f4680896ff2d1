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
