// textToInteger: pasted full-width digits count as digits.
#include "editor/text_to_integer.h"

std::string foldFullWidth(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    const size_t n = text.size();
    for (size_t i = 0; i < n; ++i) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x80) {
            out.push_back(static_cast<char>(lead));
            continue;
        }
        if (i + 1 == n) {
            break; // a lead byte without its trail byte ends the text
        }
        const auto trail = static_cast<unsigned char>(text[++i]);
        if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) {
            out.push_back(static_cast<char>(trail - 0x80));
        } else if (lead == 0xA1 && trail == 0xA1) {
            out.push_back(' ');
        } else if (lead == 0xA1 && trail == 0xAB) {
            out.push_back('~');
        } else if (lead == 0xA1 && (trail == 0xEE || trail == 0xEF)) {
            out.push_back('*');
        } else {
            out.push_back(static_cast<char>(lead));
            out.push_back(static_cast<char>(trail));
        }
    }
    return out;
}

int32_t textToInteger(const std::string& text) {
    const std::string folded = foldFullWidth(text);
    size_t i = 0;
    const size_t n = folded.size();
    auto isSpace = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
    while (i < n && isSpace(folded[i])) {
        ++i;
    }
    bool negative = false;
    if (i < n && (folded[i] == '+' || folded[i] == '-')) {
        negative = folded[i] == '-';
        ++i;
    }
    // Unsigned arithmetic wraps the way the 32-bit value is meant to.
    uint32_t value = 0;
    for (; i < n && folded[i] >= '0' && folded[i] <= '9'; ++i) {
        value = value * 10u + static_cast<uint32_t>(folded[i] - '0');
    }
    if (negative) {
        value = 0u - value;
    }
    return static_cast<int32_t>(value);
}
