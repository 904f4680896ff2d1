// The version text made from the fetched body, and its exact comparison.
#pragma once

#include <string>
#include <string_view>

// The bytes up to, not including, the first zero byte (all of them when none is zero).
// No code-page conversion, no trimming.
std::string bytesToText(std::string_view bytes);

// Byte-by-byte comparison with every byte taken as unsigned: -1, 0 or 1.
int compareText(std::string_view first, std::string_view second);
// The same, a missing text (null) counting as the empty text.
int compareText(const char* first, const char* second);
