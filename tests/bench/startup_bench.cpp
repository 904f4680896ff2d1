// Start-up: from process creation until the main window is visible, for the tool (its
// version check answered on loopback by tools/bench.sh) and for a blank window program.
#include "app/main_window_win.h"
#include "app/site_urls_win.h"
#include "app/update_check_win.h"
#include "tests/bench/bench.h"
#include "tests/bench/blank_window.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr int kStarts = 15;
constexpr double kGiveUpMs = 15000;

std::string besideThisExe(const char* name) {
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, n);
    return folder.substr(0, folder.find_last_of("\\/") + 1) + name;
}

struct Search {
    DWORD pid;
    const char* title;
    HWND found;
};

BOOL CALLBACK visibleWindowOf(HWND w, LPARAM param) {
    auto* s = reinterpret_cast<Search*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    char title[128] = {};
    // The title too: the tool's update prompt is another visible window of the process.
    if (pid == s->pid && IsWindowVisible(w) && GetWindowTextA(w, title, sizeof title) > 0 &&
        std::strcmp(title, s->title) == 0) {
        s->found = w;
        return FALSE;
    }
    return TRUE;
}

struct Start {
    double shownMs = -1; // process creation to the window visible; negative when it never was
    double idleMs = -1;  // to the first wait for input after that (its first paints done)
};

// Starts exe, waits until its top-level window titled title is visible, then closes it.
Start startAndClose(const std::string& exe, const char* title) {
    Start result;
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::string commandLine = "\"" + exe + "\"";
    const std::string folder = exe.substr(0, exe.find_last_of("\\/") + 1);
    const double start = bench::nowMs();
    if (!CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si,
                        &pi)) {
        return result;
    }
    Search search{pi.dwProcessId, title, nullptr};
    while (!search.found && bench::nowMs() - start < kGiveUpMs &&
           WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT) {
        EnumWindows(visibleWindowOf, reinterpret_cast<LPARAM>(&search));
        if (!search.found) {
            Sleep(1);
        }
    }
    if (search.found) {
        result.shownMs = bench::nowMs() - start;
        if (WaitForInputIdle(pi.hProcess, 5000) == 0) {
            result.idleMs = bench::nowMs() - start;
        }
        PostMessageA(search.found, WM_CLOSE, 0, 0);
    }
    if (WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0) {
        TerminateProcess(pi.hProcess, 1);
        WaitForSingleObject(pi.hProcess, 5000);
    }
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return result;
}

} // namespace

TARVOK_BENCH("start-up") {
    const std::string tool = besideThisExe("tarvokdiy.exe");
    const std::string blank = besideThisExe("bench_blank_window.exe");
    for (const std::string& exe : {tool, blank}) {
        if (GetFileAttributesA(exe.c_str()) == INVALID_FILE_ATTRIBUTES) {
            std::fprintf(stderr, "start-up: %s not found\n", exe.c_str());
            return;
        }
    }
    // Not measured: the first start of each loads its files into the cache.
    startAndClose(tool, MainWindow::kTitle);
    startAndClose(blank, kBlankWindowTitle);

    // Interleaved, so that both see the same machine.
    for (int i = 0; i < kStarts; ++i) {
        const Start t = startAndClose(tool, MainWindow::kTitle);
        const Start b = startAndClose(blank, kBlankWindowTitle);
        if (t.shownMs < 0) {
            std::fprintf(stderr, "start-up: the main window never showed (is the site served on %s?)\n",
                         kVersionUrl);
            return;
        }
        if (b.shownMs < 0) {
            std::fprintf(stderr, "start-up: the blank window never showed\n");
            return;
        }
        report.sample("start-up to MainWindow shown", "ms", t.shownMs);
        report.sample("start-up to a blank window shown", "ms", b.shownMs);
        report.sample("start-up, MainWindow minus blank window (pairs)", "ms", t.shownMs - b.shownMs);
        if (t.idleMs >= 0 && b.idleMs >= 0) {
            report.sample("start-up to MainWindow idle (first paints done)", "ms", t.idleMs);
            report.sample("start-up to a blank window idle", "ms", b.idleMs);
        }
    }
    report.derived("start-up: MainWindow shown - blank window shown (medians)", "ms",
                   report.median("start-up to MainWindow shown") - report.median("start-up to a blank window shown"));

    // The part of the tool's start-up that waits on the network: its version check.
    bool current = true;
    bench::time(report, "start-up: the version check alone (loopback)", kStarts,
                [&] { current = versionIsCurrent(kVersionUrl) && current; });
    if (!current) {
        std::fprintf(stderr, "start-up: %s did not answer 1.0\n", kVersionUrl);
    }
}
