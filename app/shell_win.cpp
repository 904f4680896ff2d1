// The application shell: COM, the current directory, the exit callback and the end.
#include <windows.h>
#include <ole2.h>

#include "app/main_window_win.h"
#include "app/shell_win.h"

#include <string>

TrueColourPanel* framePanel = nullptr;

namespace {
void (*exitCallback)() = nullptr;
bool oleStarted = false;
} // namespace

void startShell() {
    oleStarted = SUCCEEDED(OleInitialize(nullptr));
    // Wide calls here: a GBK trail byte can equal '\\', so an ANSI path can't be cut safely.
    wchar_t path[MAX_PATH * 4];
    DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH * 4);
    if (n > 0 && n < MAX_PATH * 4) {
        std::wstring folder(path, n);
        size_t slash = folder.find_last_of(L"\\/");
        if (slash != std::wstring::npos) {
            folder.resize(slash == 2 && folder[1] == L':' ? 3 : slash); // keep "C:\" whole
            SetCurrentDirectoryW(folder.c_str());
        }
    }
}

void registerExitCallback(void (*callback)()) { exitCallback = callback; }

void runExitCallback() {
    if (auto callback = exitCallback) {
        exitCallback = nullptr;
        callback();
    }
}

void shutDownShell() {
    if (oleStarted) {
        oleStarted = false;
        OleUninitialize();
    }
}

void exitProgram(int code) {
    runExitCallback();
    shutDownShell();
    ExitProcess(static_cast<UINT>(code));
}

void dispatchMessage(MSG& msg) {
    if (MainWindow* window = theMainWindow(); window && window->preTranslateMessage(msg)) {
        return;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
}
