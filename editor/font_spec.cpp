// Font field conversions shared by the font buttons and the font dialog.
#include "editor/font_spec.h"

#include <limits>

namespace fontspec {

int32_t mulDiv(int32_t number, int32_t numerator, int32_t denominator) {
    if (denominator == 0) {
        return -1;
    }
    int64_t product = static_cast<int64_t>(number) * numerator;
    int64_t divisor = denominator;
    if (divisor < 0) {
        product = -product;
        divisor = -divisor;
    }
    // Round the magnitude half up, then put the sign back: halves go away from zero.
    const bool negative = product < 0;
    const uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(product) : static_cast<uint64_t>(product);
    const uint64_t quotient = (magnitude + static_cast<uint64_t>(divisor) / 2) / static_cast<uint64_t>(divisor);
    const uint64_t limit = negative ? uint64_t{1} << 31 : uint64_t{std::numeric_limits<int32_t>::max()};
    if (quotient > limit) {
        return -1;
    }
    return negative ? static_cast<int32_t>(-static_cast<int64_t>(quotient)) : static_cast<int32_t>(quotient);
}

int32_t normaliseAngle(int32_t angle) {
    int32_t a = angle % 3600;
    return a < 0 ? a + 3600 : a;
}

std::string storedFaceName(const std::string& name) {
    if (name.empty() || name.size() >= 32) {
        return "宋体";
    }
    return name;
}

int32_t heightFromSize(int32_t size, int32_t dpiY) {
    if (size < 0) {
        size = 0;
    }
    return -mulDiv(size, dpiY, 72);
}

int32_t sizeFromHeight(int32_t height, int32_t dpiY) {
    // |INT32_MIN| has no int32 value; take it as the largest one.
    const int32_t magnitude = height == std::numeric_limits<int32_t>::min() ? std::numeric_limits<int32_t>::max()
                              : height < 0                                 ? -height
                                                                           : height;
    return mulDiv(magnitude, 72, dpiY);
}

} // namespace fontspec

std::string fontCaption(const std::string& name, int32_t size) {
    return name + "[" + std::to_string(size) + "]";
}
