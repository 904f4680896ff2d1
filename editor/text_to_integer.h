// Text to a 32-bit integer, as the offset boxes are read.
#pragma once

#include <cstdint>
#include <string>

// Full-width ASCII (GBK) folded to ASCII first; then leading white space, one optional
// sign and decimal digits, wrapping in 32 bits. No digits give 0. Never fails.
int32_t textToInteger(const std::string& text);

// Only the folding step: full-width forms to ASCII, other characters unchanged.
std::string foldFullWidth(const std::string& text);
