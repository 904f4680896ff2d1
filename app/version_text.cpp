// The version text made from the fetched body, and its exact comparison.
#include "app/version_text.h"

#include <algorithm>

std::string bytesToText(std::string_view bytes) {
    return std::string(bytes.substr(0, bytes.find('\0')));
}

int compareText(std::string_view first, std::string_view second) {
    size_t common = std::min(first.size(), second.size());
    for (size_t i = 0; i < common; ++i) {
        auto a = static_cast<unsigned char>(first[i]);
        auto b = static_cast<unsigned char>(second[i]);
        if (a != b) {
            return a < b ? -1 : 1;
        }
    }
    if (first.size() == second.size()) {
        return 0;
    }
    return first.size() < second.size() ? -1 : 1;
}

int compareText(const char* first, const char* second) {
    return compareText(std::string_view(first ? first : ""), std::string_view(second ? second : ""));
}
