// Font fields as the font buttons see them: the conversions behind FontSpec, free of Windows.
#pragma once

#include <cstdint>
#include <string>

namespace fontspec {

// number * numerator / denominator in 64 bits, rounded to nearest with halves away from
// zero (10.5 gives 11). -1 when denominator is 0 or the result does not fit, as MulDiv.
int32_t mulDiv(int32_t number, int32_t numerator, int32_t denominator);

// Tenths of a degree into 0..3599.
int32_t normaliseAngle(int32_t angle);

// The face name stored for a written name: itself when 1 to 31 bytes, else "宋体".
std::string storedFaceName(const std::string& name);

// Point size to LOGFONT height (negative: character height) at dpiY; negative sizes as 0.
int32_t heightFromSize(int32_t size, int32_t dpiY);
// LOGFONT height (either sign) to point size at dpiY.
int32_t sizeFromHeight(int32_t height, int32_t dpiY);

} // namespace fontspec

// A font button's caption: name, "[", the size in decimal, "]", as in 宋体[9].
std::string fontCaption(const std::string& name, int32_t size);
