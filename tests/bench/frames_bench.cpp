// The card canvas: one recomposition, frame switches, and memory over many switches.
#include "app/main_window_win.h"
#include "app/shell_win.h"
#include "editor/frames_win.h"
#include "editor/handlers_win.h"
#include "tests/bench/bench.h"
#include "truecolour/gdi_owner.h"
#include "truecolour/gdiplus_win.h"
#include "truecolour/image_decoding_win.h"
#include "truecolour/true_colour_panel_win.h"

#include <psapi.h>

#include <memory>

namespace {

struct Memory {
    double workingSetMb, privateMb;
};

Memory memoryNow() {
    PROCESS_MEMORY_COUNTERS_EX pmc{};
    pmc.cb = sizeof pmc;
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&pmc), sizeof pmc);
    return {static_cast<double>(pmc.WorkingSetSize) / 1048576.0, static_cast<double>(pmc.PrivateUsage) / 1048576.0};
}

// The main window on screen with its default frame, as the tool shows it after start-up.
struct Card {
    std::unique_ptr<MainWindow> window = std::make_unique<MainWindow>();
    bool ok = false;
    Card() {
        framePanel = new TrueColourPanel();
        ok = window->build();
        if (ok) {
            showDefaultFrame(*window);
            ShowWindow(window->hwnd(), SW_SHOWNORMAL);
            settle();
        }
    }
    ~Card() {
        if (window->hwnd()) {
            DestroyWindow(window->hwnd());
        }
        bench::drain();
        delete framePanel;
        framePanel = nullptr;
    }
    static void settle() {
        DWORD end = GetTickCount() + 300;
        while (static_cast<LONG>(GetTickCount() - end) < 0) {
            bench::drain();
            Sleep(5);
        }
    }
    // What a pick in a combo box does: applyFrame, then the paints it causes.
    void switchTo(int camp, int health) {
        window->campCombo.setSelectionIndex(camp);
        window->healthCombo.setSelectionIndex(health);
        applyFrame(*window);
        bench::drain();
    }
    HWND canvas() const { return window->cardCanvas.hwnd(); }
};

const int kPairs[6][2] = {{0, 0}, {0, 1}, {1, 0}, {1, 1}, {2, 0}, {2, 1}};

} // namespace

TARVOK_BENCH("frames") {
    Card card;
    if (!card.ok) {
        std::fprintf(stderr, "no main window\n");
        return;
    }

    // Memory first, in a process that has shown only the default frame; the first
    // switches to the five other frames are each a frame's first showing.
    card.switchTo(0, 1);
    Memory afterFirst = memoryNow();
    for (int i = 2; i < 6; ++i) {
        double start = bench::nowMs();
        card.switchTo(kPairs[i][0], kPairs[i][1]);
        report.sample("frame switch, first time", "ms", bench::nowMs() - start);
    }
    Memory afterSix = memoryNow();
    for (int i = 0; i < 1000; ++i) {
        card.switchTo(kPairs[i % 6][0], kPairs[(i / 6 + i) % 6][1]);
    }
    Memory after1000 = memoryNow();

    // A frame shown before.
    for (int i = 0; i < 300; ++i) {
        const int* pair = kPairs[(i * 5 + 1) % 6];
        double start = bench::nowMs();
        card.switchTo(pair[0], pair[1]);
        report.sample("frame switch, shown before", "ms", bench::nowMs() - start);
    }

    // The two halves of a switch: the panel calls, then the paints they queue.
    for (int i = 0; i < 300; ++i) {
        const int* pair = kPairs[(i * 5 + 1) % 6];
        card.window->campCombo.setSelectionIndex(pair[0]);
        card.window->healthCombo.setSelectionIndex(pair[1]);
        double start = bench::nowMs();
        applyFrame(*card.window);
        double called = bench::nowMs();
        bench::drain();
        report.sample("frame switch, shown before: applyFrame", "ms", called - start);
        report.sample("frame switch, shown before: the paints", "ms", bench::nowMs() - called);
    }

    // One recomposition of the canvas over its captured background, ours and the
    // reference that scales the frame with GDI+ every time.
    HWND canvas = card.canvas();
    auto* image = reinterpret_cast<GpImage*>(GetPropA(canvas, "PngControl_BackImage"));
    HDC dc = GetWindowDC(canvas);
    composeImage(canvas, dc, image); // the first one scales the frame for this panel
    bench::time(report, "canvas recomposition: ours", 300, [&] {
        composeImage(canvas, dc, image);
        GdiFlush();
    });
    bench::time(report, "canvas recomposition: reference", 60, [&] {
        composeImageReference(canvas, dc, image);
        GdiFlush();
    });
    {
        // The floor under both: the one transfer of the composed picture to the screen.
        gdi::MemoryDc mem(CreateCompatibleDC(dc));
        gdi::Bitmap picture(CreateCompatibleBitmap(dc, 336, 487));
        gdi::SelectGuard selected(mem.get(), picture.get());
        bench::time(report, "canvas recomposition: its one BitBlt alone", 300, [&] {
            BitBlt(dc, 0, 0, 336, 487, mem.get(), 0, 0, SRCCOPY);
            GdiFlush();
        });
    }
    ReleaseDC(canvas, dc);
    report.derived("canvas recomposition: reference / ours", "x",
                   report.median("canvas recomposition: reference") / report.median("canvas recomposition: ours"));
    // The whole paint of the canvas as a keystroke causes it: capture and compose.
    bench::time(report, "canvas repaint (WM_PAINT)", 300, [&] {
        RedrawWindow(canvas, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_NOCHILDREN);
    });

    // First showings of frames never seen: the bytes of a built-in frame with a different
    // tail each time (PNG ignores what follows its end), so each is decoded afresh.
    const std::string frame(*frameImage(1, 1));
    int decoded = 0;
    for (int i = 0; i < 30; ++i) {
        std::string bytes = frame + "tail" + std::to_string(i);
        double start = bench::nowMs();
        framePanel->setBackImageFromBytes(bytes);
        framePanel->setBackType(1);
        bench::drain();
        report.sample("frame switch, first time (fresh bytes)", "ms", bench::nowMs() - start);
        decoded += framePanel->getProperty("PngControl_BackImage") != 0;
    }
    if (decoded != 30) {
        std::fprintf(stderr, "only %d of 30 fresh frames decoded\n", decoded);
    }

    // The parts of a first showing: the decode, and scaling for the panel.
    for (int i = 0; i < 20; ++i) {
        double start = bench::nowMs();
        GpImage* fresh = decodeImage(frame);
        double decodedAt = bench::nowMs();
        framePanel->setBackImage(fresh);
        framePanel->setBackType(1);
        HDC windowDc = GetWindowDC(canvas);
        composeImage(canvas, windowDc, fresh);
        ReleaseDC(canvas, windowDc);
        report.sample("first showing: decode of a frame PNG", "ms", decodedAt - start);
        report.sample("first showing: scale for the panel and compose", "ms", bench::nowMs() - decodedAt);
        framePanel->setBackImage(nullptr);
        disposeImage(fresh);
    }
    bench::drain();

    report.derived("working set after the first switch", "MB", afterFirst.workingSetMb);
    report.derived("working set after each frame shown once", "MB", afterSix.workingSetMb);
    report.derived("working set after 1,000 more switches", "MB", after1000.workingSetMb);
    report.derived("working set growth, 1,000 switches vs first", "MB",
                   after1000.workingSetMb - afterFirst.workingSetMb);
    report.derived("working set growth, 1,000 switches vs all six", "MB",
                   after1000.workingSetMb - afterSix.workingSetMb);
    report.derived("private bytes growth, 1,000 switches vs all six", "MB",
                   after1000.privateMb - afterSix.privateMb);
}
