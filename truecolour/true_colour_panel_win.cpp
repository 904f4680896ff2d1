// TrueColourPanel (placeholder until the module lands).
#include "truecolour/true_colour_panel_win.h"

bool TrueColourPanel::prepareWindow(HWND w) {
    if (!IsWindow(w)) {
        return false;
    }
    window = w;
    return true;
}
void TrueColourPanel::attachToWindow(HWND w, void*) { prepareWindow(w); }
void TrueColourPanel::setBackImageFromBytes(const void*, size_t) {}
void TrueColourPanel::setBackType(int) {}
