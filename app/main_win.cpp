// The program's entry: start-up, the message loop and shutdown.
#include <windows.h>

#include "app/main_window_win.h"
#include "app/shell_win.h"
#include "truecolour/module_win.h"
#include "truecolour/true_colour_panel_win.h"

namespace {

void onProgramExit() {
    framePanel->release();
    delete framePanel;
    framePanel = nullptr;
    freeTimeDimensionId();
}

int runMessageLoop() {
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        dispatchMessage(msg);
    }
    return 0;
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    startShell();
    framePanel = new TrueColourPanel();
    registerExitCallback(onProgramExit);
    startTrueColourModule();

    static MainWindow mainWindow;
    if (!mainWindow.load()) {
        MessageBoxA(nullptr, "启动窗口载入失败。", MainWindow::kTitle, MB_OK | MB_ICONERROR);
        shutDownShell();
        return -1;
    }
    runMessageLoop();
    runExitCallback();
    shutDownShell();
    return 0;
}
