// Offset spinners: the title and the name move sideways by 0 to 30 pixels.
#include "app/main_window_win.h"
#include "editor/handlers_win.h"
#include "editor/text_to_integer.h"

#include <algorithm>
#include <cstdint>
#include <string>

namespace {

struct OffsetControls {
    EditBox* box;
    TransLabel* label;
    int base; // the label's left edge at offset 0
};

OffsetControls controlsOf(MainWindow& w, OffsetPair pair) {
    if (pair == OffsetPair::Title) {
        return {&w.titleOffsetEdit, &w.titleLabel, 85};
    }
    return {&w.nameOffsetEdit, &w.nameLabel, 45};
}

// v + step in 32 bits, wrapping as the offset text itself does.
int32_t stepped(int32_t v, int32_t step) {
    return static_cast<int32_t>(static_cast<uint32_t>(v) + static_cast<uint32_t>(step));
}

} // namespace

void onOffsetSpin(MainWindow& window, OffsetPair pair, int direction) {
    const OffsetControls c = controlsOf(window, pair);
    const int32_t v = textToInteger(c.box->text());
    int32_t n;
    if (direction == 1) {
        if (v == 30) {
            return;
        }
        n = stepped(v, 1);
    } else {
        if (v == 0) {
            return;
        }
        n = stepped(v, -1);
    }
    c.box->setText(std::to_string(n));
    // The box is the only store of the offset: read it back rather than trust n.
    const int64_t left = int64_t{c.base} + textToInteger(c.box->text());
    c.label->setLeft(static_cast<int>(std::clamp<int64_t>(left, INT32_MIN, INT32_MAX)));
}
