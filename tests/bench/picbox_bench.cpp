// Portrait pictures: how long a large photo takes to show in the portrait box, what
// that costs in memory, and the repaint a keystroke causes over it.
#include "app/picbox_win.h"
#include "tests/bench/bench.h"
#include "tests/support/jpeg_files.h"

#include <psapi.h>

namespace {

double peakWorkingSetMb() {
    PROCESS_MEMORY_COUNTERS pmc{};
    pmc.cb = sizeof pmc;
    GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof pmc);
    return static_cast<double>(pmc.PeakWorkingSetSize) / 1048576.0;
}

// A shown window holding one 305 × 400 box, as the portrait lies on the card.
struct Box {
    HWND parent = nullptr;
    PicBox box;
    explicit Box(int displayMode) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "PicBoxBenchHost";
        RegisterClassA(&wc);
        parent = CreateWindowExA(0, wc.lpszClassName, "picbox bench", WS_POPUP | WS_VISIBLE, 0, 0, 305, 400,
                                 nullptr, nullptr, wc.hInstance, nullptr);
        box.create({{parent, 0, 0, 305, 400}, 0, PicBox::kButtonFace, displayMode, true});
        bench::drain();
    }
    ~Box() {
        DestroyWindow(parent);
        bench::drain();
    }
    // Assigning the picture and the paint that shows it.
    void show(const std::string& bytes) {
        box.setPicture(bytes);
        RedrawWindow(box.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        GdiFlush();
    }
};

} // namespace

TARVOK_BENCH("portrait pictures") {
    using namespace picture_files;
    const std::string photo = blocksJpeg(8000, 6000, 400);
    const std::string exact = jpegFile(blocks(610, 800, 32));
    const double peakBefore = peakWorkingSetMb();
    {
        Box portrait(1);
        bench::time(report, "8000x6000 JPEG shown stretched in 305x400", 5, [&] { portrait.show(photo); });
        report.derived("peak working set growth, 8000x6000 stretched", "MB", peakWorkingSetMb() - peakBefore);
        bench::time(report, "610x800 JPEG shown stretched in 305x400", 20, [&] { portrait.show(exact); });
        portrait.show(photo);
        bench::time(report, "repaint of the stretched photo (WM_PAINT)", 200, [&] {
            RedrawWindow(portrait.box.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
            GdiFlush();
        });
    }
    const double peakStretched = peakWorkingSetMb();
    {
        Box natural(0);
        bench::time(report, "8000x6000 JPEG shown at natural size", 3, [&] { natural.show(photo); });
    }
    report.derived("peak working set growth, 8000x6000 natural size", "MB", peakWorkingSetMb() - peakStretched);
}
