// Memory over long use: 1,000 portrait loads and 1,000 saves on a shown card, each set
// measured against the process after its first one. (Frame switches: the frames bench.)
#include "app/main_window_win.h"
#include "app/shell_win.h"
#include "editor/file_io_win.h"
#include "editor/handlers_win.h"
#include "editor/save_card_win.h"
#include "tests/bench/bench.h"
#include "tests/support/jpeg_files.h"
#include "truecolour/image_decoding_win.h"
#include "truecolour/true_colour_panel_win.h"

#include <psapi.h>

#include <cstdio>
#include <functional>
#include <memory>

namespace {

constexpr int kRepeats = 1000;

// Working set and private bytes only: Wine 8 counts no GDI, USER or kernel handles.
struct Usage {
    double workingSetMb = 0, privateMb = 0;
};

Usage usageNow() {
    PROCESS_MEMORY_COUNTERS_EX pmc{};
    pmc.cb = sizeof pmc;
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&pmc), sizeof pmc);
    return {static_cast<double>(pmc.WorkingSetSize) / 1048576.0, static_cast<double>(pmc.PrivateUsage) / 1048576.0};
}

std::string scratchPath(const char* name) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    return std::string(temp) + name;
}

struct ShownCard {
    std::unique_ptr<MainWindow> window = std::make_unique<MainWindow>();
    bool ok = false;
    ShownCard() {
        framePanel = new TrueColourPanel();
        ok = window->build();
        if (ok) {
            showDefaultFrame(*window);
            ShowWindow(window->hwnd(), SW_SHOWNORMAL);
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

// Runs step kRepeats times, timing each under row; the growth rows compare the end with
// the process after the first step.
void repeatAndMeasure(bench::Report& report, const std::string& what, const std::string& row,
                      const std::function<bool()>& step) {
    Usage first;
    int failed = 0;
    for (int i = 0; i < kRepeats; ++i) {
        const double start = bench::nowMs();
        failed += !step();
        report.sample(row, "ms", bench::nowMs() - start);
        if (i == 0) {
            first = usageNow();
        }
    }
    const Usage last = usageNow();
    if (failed) {
        std::fprintf(stderr, "memory: %d of %d %s failed\n", failed, kRepeats, what.c_str());
    }
    report.derived("working set after the first " + what.substr(0, what.size() - 1), "MB", first.workingSetMb);
    report.derived("working set growth, 1,000 " + what + " vs first", "MB", last.workingSetMb - first.workingSetMb);
    report.derived("private bytes growth, 1,000 " + what + " vs first", "MB", last.privateMb - first.privateMb);
}

} // namespace

TARVOK_BENCH("memory") {
    ShownCard card;
    if (!card.ok) {
        std::fprintf(stderr, "memory: no main window\n");
        return;
    }
    MainWindow& window = *card.window;

    // A portrait as choosePicture loads it: read from its file, assigned, the frame
    // applied, then the paints that show it.
    const std::string portrait = scratchPath("tvk-memory-bench-portrait.jpg");
    if (!writeWholeFile(portrait, picture_files::blocksJpeg(305, 400, 16))) {
        std::fprintf(stderr, "memory: cannot write %s\n", portrait.c_str());
        return;
    }
    repeatAndMeasure(report, "portrait loads", "portrait 305x400 JPEG load, as choosePicture does", [&] {
        const std::string bytes = readWholeFile(portrait);
        window.portraitBox.setPicture(bytes);
        applyFrame(window);
        bench::drain();
        return window.portraitBox.hasBitmap();
    });
    DeleteFileA(portrait.c_str());

    // A save without its 300 ms wait: the capture and the safe write.
    const std::string card_ = scratchPath("tvk-memory-bench-card.jpg");
    repeatAndMeasure(report, "saves", "save without the 300 ms wait: capture + writeWholeFile", [&] {
        const std::string bytes = captureWindowImage(window.cardCanvas.hwnd());
        return !bytes.empty() && writeWholeFile(card_, bytes);
    });
    DeleteFileA(card_.c_str());
    report.derived("decoded images alive after the saves", "", static_cast<double>(liveDecodedImageCount()));
}
