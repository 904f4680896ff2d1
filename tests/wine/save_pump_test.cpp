// pumpEventsFor: dispatches everything for the given time, sleeps meanwhile, keeps WM_QUIT.
#include "editor/save_card_win.h"
#include "tests/wine/save_test_support_win.h"

#include <thread>

using namespace save_support;

namespace {

constexpr UINT kPing = WM_APP + 40;
int pings = 0;

LRESULT CALLBACK countingProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == kPing) {
        ++pings;
        return 0;
    }
    return DefWindowProcA(w, m, wp, lp);
}

HWND countingWindow() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = countingProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "TvkPumpCounter";
    RegisterClassA(&wc);
    return CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, wc.hInstance, nullptr);
}

ULONGLONG threadCpuMs() {
    FILETIME created, exited, kernel, user;
    GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
    auto ms = [](FILETIME t) { return (static_cast<ULONGLONG>(t.dwHighDateTime) << 32 | t.dwLowDateTime) / 10000; };
    return ms(kernel) + ms(user);
}

} // namespace

TEST(SavePump, DispatchesPostedMessagesAndKeepsQuit) {
    HWND w = countingWindow();
    ASSERT_TRUE(w);
    pings = 0;
    for (int i = 0; i < 5; ++i) {
        PostMessageA(w, kPing, 0, 0);
    }
    PostQuitMessage(7);
    // Posted from elsewhere while the wait runs.
    std::thread later([w] {
        Sleep(60);
        PostMessageA(w, kPing, 0, 0);
    });
    const ULONGLONG start = GetTickCount64();
    pumpEventsFor(200);
    const ULONGLONG elapsed = GetTickCount64() - start;
    later.join();

    EXPECT_EQ(pings, 6);
    EXPECT_GE(elapsed, 200u);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(msg.wParam, 7u);
    DestroyWindow(w);
}

TEST(SavePump, WaitsTheWholeTimeWithoutSpinning) {
    HWND w = countingWindow();
    ASSERT_TRUE(w);
    const ULONGLONG cpuBefore = threadCpuMs();
    const ULONGLONG start = GetTickCount64();
    pumpEventsFor(300);
    const ULONGLONG elapsed = GetTickCount64() - start;
    const ULONGLONG cpu = threadCpuMs() - cpuBefore;
    EXPECT_GE(elapsed, 300u);
    // Sleeping costs next to nothing; a busy loop costs over 100 ms even under Wine, where
    // much of each peek is spent waiting on the server.
    EXPECT_LT(cpu, 30u);
    DestroyWindow(w);
}

TEST(SavePump, NothingOrNegativeReturnsAtOnce) {
    HWND w = countingWindow();
    pings = 0;
    PostMessageA(w, kPing, 0, 0);
    pumpEventsFor(0);
    pumpEventsFor(-5);
    EXPECT_EQ(pings, 0);
    DestroyWindow(w);
}
