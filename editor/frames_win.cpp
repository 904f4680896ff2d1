// Frame selection: the six built-in frame images and applyFrame.
#include "editor/frames_win.h"
#include "app/main_window_win.h"
#include "app/shell_win.h"
#include "editor/handlers_win.h"
#include "truecolour/true_colour_panel_win.h"

// The PNG files as assets/frames.S embeds them.
extern "C" const char frameLord3[], frameLord3_end[], frameLord4[], frameLord4_end[];
extern "C" const char frameMinister3[], frameMinister3_end[], frameMinister4[], frameMinister4_end[];
extern "C" const char frameCommoner3[], frameCommoner3_end[], frameCommoner4[], frameCommoner4_end[];

namespace {

constexpr int kCamps = 3;
constexpr int kHealths = 2;
constexpr int kStretch = 1;

FrameImage bytesBetween(const char* begin, const char* end) {
    return FrameImage(begin, static_cast<size_t>(end - begin));
}

void showFrame(FrameImage frame) {
    if (!framePanel) {
        return;
    }
    framePanel->setBackImageFromBytes(frame);
    framePanel->setBackType(kStretch);
}

} // namespace

const FrameImageTable& frameImageTable() {
    static const FrameImageTable table = {{
        {bytesBetween(frameLord3, frameLord3_end), bytesBetween(frameLord4, frameLord4_end)},
        {bytesBetween(frameMinister3, frameMinister3_end), bytesBetween(frameMinister4, frameMinister4_end)},
        {bytesBetween(frameCommoner3, frameCommoner3_end), bytesBetween(frameCommoner4, frameCommoner4_end)},
    }};
    return table;
}

std::optional<FrameImage> frameImage(int camp, int health) {
    if (camp < 0 || camp >= kCamps || health < 0 || health >= kHealths) {
        return std::nullopt;
    }
    return frameImageTable()[static_cast<size_t>(camp)][static_cast<size_t>(health)];
}

void showDefaultFrame(MainWindow& window) {
    if (!framePanel) {
        return;
    }
    framePanel->attachToWindow(window.cardCanvas.hwnd());
    showFrame(*frameImage(0, 0));
}

void applyFrame(MainWindow& window) {
    if (auto frame = frameImage(window.campCombo.selectionIndex(), window.healthCombo.selectionIndex())) {
        showFrame(*frame);
    }
}
