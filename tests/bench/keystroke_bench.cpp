// A keystroke in the name box: the character written to nameEdit until the card shows it
// (the copy to nameLabel, refreshLabelArea, the recomposition, the label's own paint).
#include "app/main_window_win.h"
#include "app/shell_win.h"
#include "editor/handlers_win.h"
#include "tests/bench/bench.h"
#include "tests/support/jpeg_files.h"
#include "truecolour/true_colour_panel_win.h"

#include <cstdio>
#include <memory>

namespace {

constexpr int kKeystrokes = 1000;
// The name box is cleared (untimed) after this many characters, as names are short.
constexpr int kNameLength = 8;

struct ShownCard {
    std::unique_ptr<MainWindow> window = std::make_unique<MainWindow>();
    bool ok = false;
    ShownCard() {
        framePanel = new TrueColourPanel();
        ok = window->build();
        if (ok) {
            showDefaultFrame(*window);
            ShowWindow(window->hwnd(), SW_SHOWNORMAL);
            SetFocus(window->nameEdit.hwnd());
            for (DWORD end = GetTickCount() + 300; static_cast<LONG>(GetTickCount() - end) < 0; Sleep(5)) {
                bench::drain();
            }
        }
    }
    ~ShownCard() {
        if (window->hwnd()) {
            DestroyWindow(window->hwnd());
        }
        bench::drain();
        delete framePanel;
        framePanel = nullptr;
    }
};

bool labelPaintPending(HWND label) { return GetUpdateRect(label, nullptr, FALSE) != 0; }

void typeInto(bench::Report& report, MainWindow& window, const std::string& row) {
    HWND edit = window.nameEdit.hwnd();
    HWND label = window.nameLabel.hwnd();
    int unpainted = 0;
    for (int i = 0; i < kKeystrokes; ++i) {
        if (i % kNameLength == 0) {
            window.nameEdit.setText("");
            bench::drain();
        }
        const WPARAM ch = static_cast<WPARAM>('A' + i % 26);
        const double start = bench::nowMs();
        SendMessageA(edit, WM_CHAR, ch, 1);
        const double sent = bench::nowMs();
        bench::drain();
        const double done = bench::nowMs();
        unpainted += labelPaintPending(label);
        report.sample(row, "ms", done - start);
        report.sample(row + ": WM_CHAR (copy, refresh beneath)", "ms", sent - start);
        report.sample(row + ": the queued paints", "ms", done - sent);
    }
    if (unpainted) {
        std::fprintf(stderr, "keystroke: nameLabel still had a paint pending %d times\n", unpainted);
    }
    if (window.nameLabel.text().size() != static_cast<size_t>(kKeystrokes % kNameLength ? kKeystrokes % kNameLength
                                                                                          : kNameLength)) {
        std::fprintf(stderr, "keystroke: nameLabel has \"%s\"\n", window.nameLabel.text().c_str());
    }
}

} // namespace

TARVOK_BENCH("keystroke") {
    ShownCard card;
    if (!card.ok) {
        std::fprintf(stderr, "keystroke: no main window\n");
        return;
    }
    typeInto(report, *card.window, "keystroke in nameEdit until repainted");

    // The same over a portrait, which repaints beneath the label too.
    card.window->portraitBox.setPicture(picture_files::blocksJpeg(305, 400, 16));
    applyFrame(*card.window);
    bench::drain();
    typeInto(report, *card.window, "keystroke over a 305x400 portrait");
}
