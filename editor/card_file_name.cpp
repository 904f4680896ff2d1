// The name the card is written under.
#include "editor/card_file_name.h"

std::string cardFileName(const std::string& chosen) {
    static const std::string kTail = ".jpg";
    // No byte of ".jpg" can start a two-byte GBK character and '.' cannot end one, so
    // comparing bytes is exact.
    if (chosen.size() >= kTail.size() && chosen.compare(chosen.size() - kTail.size(), kTail.size(), kTail) == 0) {
        return chosen;
    }
    return chosen + kTail;
}
