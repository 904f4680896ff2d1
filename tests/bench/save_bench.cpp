// Saving the card: the capture of the canvas, the safe write through a temporary file,
// and the processor time the 300 ms wait costs.
#include "app/main_window_win.h"
#include "editor/file_io_win.h"
#include "editor/save_card_win.h"
#include "tests/bench/bench.h"

#include <string>

namespace {

double threadCpuMs() {
    FILETIME created, exited, kernel, user;
    GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
    auto ms = [](FILETIME t) {
        return static_cast<double>(static_cast<ULONGLONG>(t.dwHighDateTime) << 32 | t.dwLowDateTime) / 10000.0;
    };
    return ms(kernel) + ms(user);
}

std::string scratchPath(const char* name) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    return std::string(temp) + name;
}

} // namespace

TARVOK_BENCH("saving the card") {
    MainWindow window;
    if (!window.build()) {
        return;
    }
    ShowWindow(window.hwnd(), SW_SHOWNORMAL);
    bench::drain();

    std::string bytes;
    bench::time(report, "capture of cardCanvas (336x487)", 50,
                [&] { bytes = captureWindowImage(window.cardCanvas.hwnd()); });

    const std::string path = scratchPath("tvk-save-bench.jpg");
    DeleteFileA(path.c_str());
    bench::time(report, "writeWholeFile 490,950 bytes, replacing the card", 30, [&] { writeWholeFile(path, bytes); });
    bench::time(report, "writeWholeFile 490,950 bytes, a new file", 30, [&] {
        DeleteFileA(path.c_str());
        writeWholeFile(path, bytes);
    });
    DeleteFileA(path.c_str());

    for (int i = 0; i < 5; ++i) {
        const double before = threadCpuMs();
        pumpEventsFor(300);
        report.sample("processor time of pumpEventsFor(300)", "ms", threadCpuMs() - before);
    }
    DestroyWindow(window.hwnd());
    bench::drain();
}
