// The filter text of the file dialogs.
#include "app/dialog_filter.h"

#include <vector>

bool isGbkLeadByte(unsigned char byte) { return byte >= 0x81 && byte <= 0xFE; }

namespace {

bool isWhiteSpace(unsigned char byte) { return byte == ' ' || (byte >= '\t' && byte <= '\r'); }

// Offsets of the characters of text; a lead byte and the byte after it are one character.
std::vector<size_t> characterStarts(const std::string& text, IsLeadByte isLead) {
    std::vector<size_t> starts;
    for (size_t i = 0; i < text.size(); ++i) {
        starts.push_back(i);
        if (isLead(static_cast<unsigned char>(text[i])) && i + 1 < text.size()) {
            ++i;
        }
    }
    return starts;
}

bool isBar(const std::string& text, size_t start, size_t next) { return next - start == 1 && text[start] == '|'; }

} // namespace

std::string buildDialogFilter(const std::string& stored, IsLeadByte isLead) {
    // White space bytes are below 0x40, so none of them can be the second byte of a character.
    std::string text = stored;
    while (!text.empty() && isWhiteSpace(static_cast<unsigned char>(text.back()))) {
        text.pop_back();
    }

    std::vector<size_t> starts = characterStarts(text, isLead);
    const size_t n = starts.size();
    bool endsInTwoBars = n >= 2 && isBar(text, starts[n - 2], starts[n - 1]) && isBar(text, starts[n - 1], text.size());
    if (!endsInTwoBars) {
        text += "||";
        starts.push_back(text.size() - 2);
        starts.push_back(text.size() - 1);
    }

    for (size_t k = 0; k < starts.size(); ++k) {
        size_t next = k + 1 < starts.size() ? starts[k + 1] : text.size();
        if (isBar(text, starts[k], next)) {
            text[starts[k]] = '\0';
        }
    }
    return text;
}
