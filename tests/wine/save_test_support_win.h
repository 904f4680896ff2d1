// Helpers for the portrait and save tests: a shown MainWindow, scratch folders, and a
// driver that works the real common dialogs from another thread, as a user would.
#pragma once

#include "tests/wine/window_fixture_win.h"

#include <windows.h>

#include "app/main_window_win.h"
#include "app/shell_win.h"
#include "editor/handlers_win.h"
#include "truecolour/true_colour_panel_win.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace save_support {

using testing_support::pump;

inline std::string windowText(HWND w) {
    std::vector<char> text(static_cast<size_t>(GetWindowTextLengthA(w)) + 1, '\0');
    GetWindowTextA(w, text.data(), static_cast<int>(text.size()));
    return text.data();
}

inline std::string className(HWND w) {
    char name[64] = {};
    GetClassNameA(w, name, sizeof name);
    return name;
}

// The MainWindow as the program shows it: built, frame shown, on screen and painted.
struct ShownWindow {
    std::unique_ptr<MainWindow> window = std::make_unique<MainWindow>();
    bool ok = false;
    ShownWindow() {
        if (!framePanel) {
            framePanel = new TrueColourPanel();
        }
        ok = window->build();
        if (ok) {
            showDefaultFrame(*window);
            ShowWindow(window->hwnd(), SW_SHOWNORMAL);
            UpdateWindow(window->hwnd());
            pump(400);
        }
    }
    ~ShownWindow() {
        if (IsWindow(window->hwnd())) {
            DestroyWindow(window->hwnd());
        }
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
    }
    MainWindow* operator->() { return window.get(); }
    MainWindow& operator*() { return *window; }
};

// A fresh folder under the temporary folder, removed with what it holds.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& leaf = "") {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        path_ = std::string(temp) + "tvk-save-" + std::to_string(GetCurrentProcessId()) + "-" +
                std::to_string(GetTickCount64()) + leaf;
        CreateDirectoryA(path_.c_str(), nullptr);
    }
    ~ScratchFolder() { removeTree(path_); }
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "\\" + name; }
    // Names in the folder, "." and ".." left out.
    std::vector<std::string> names() const { return list(path_); }

    static std::vector<std::string> list(const std::string& folder) {
        std::vector<std::string> out;
        WIN32_FIND_DATAA data;
        HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &data);
        if (find == INVALID_HANDLE_VALUE) {
            return out;
        }
        do {
            std::string name = data.cFileName;
            if (name != "." && name != "..") {
                out.push_back(name);
            }
        } while (FindNextFileA(find, &data));
        FindClose(find);
        return out;
    }

private:
    static void removeTree(const std::string& folder) {
        for (const std::string& name : list(folder)) {
            std::string p = folder + "\\" + name;
            SetFileAttributesA(p.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (!DeleteFileA(p.c_str())) {
                removeTree(p);
            }
        }
        RemoveDirectoryA(folder.c_str());
    }
    std::string path_;
};

inline bool putFile(const std::string& path, const std::string& bytes) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    bool ok = bytes.empty() || WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(h);
    return ok && written == bytes.size();
}

// The file's bytes, read without the code under test; "<missing>" when it cannot be opened.
inline std::string fileBytes(const std::string& path) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        return "<missing>";
    }
    std::string out;
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(h, buffer, sizeof buffer, &got, nullptr) && got > 0) {
        out.append(buffer, got);
    }
    CloseHandle(h);
    return out;
}

// A visible top-level dialog window of the given thread, optionally with a given title.
inline HWND findDialog(DWORD thread, const char* title = nullptr) {
    struct Search {
        DWORD thread;
        const char* title;
        HWND found;
    } search{thread, title, nullptr};
    EnumWindows(
        [](HWND w, LPARAM p) -> BOOL {
            auto* s = reinterpret_cast<Search*>(p);
            if (GetWindowThreadProcessId(w, nullptr) == s->thread && IsWindowVisible(w) && className(w) == "#32770" &&
                (!s->title || windowText(w) == s->title)) {
                s->found = w;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

inline HWND waitForDialog(DWORD thread, const char* title = nullptr, DWORD timeoutMs = 15000) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    while (GetTickCount64() < end) {
        if (HWND w = findDialog(thread, title)) {
            return w;
        }
        Sleep(50);
    }
    return nullptr;
}

// Texts of the dialog's children of one class.
inline std::vector<std::string> childTexts(HWND dialog, const char* cls) {
    struct Collect {
        const char* cls;
        std::vector<std::string> texts;
    } collect{cls, {}};
    EnumChildWindows(
        dialog,
        [](HWND w, LPARAM p) -> BOOL {
            auto* c = reinterpret_cast<Collect*>(p);
            if (className(w) == c->cls) {
                c->texts.push_back(windowText(w));
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&collect));
    return collect.texts;
}

// The file-name box of a file dialog: the combo box cmb13 or, in the older layout, the edit edt1.
inline HWND fileNameBox(HWND dialog) {
    HWND box = GetDlgItem(dialog, 0x47C);
    return box ? box : GetDlgItem(dialog, 0x480);
}

// Works dialogs of the UI thread from a second thread while the UI thread sits in them.
class DialogDriver {
public:
    // When the script is over but the UI thread is still held by a dialog nobody expected
    // (an overwrite question, say), that dialog is dismissed so that the test fails, not hangs.
    explicit DialogDriver(std::function<void(DWORD uiThread)> script)
        : ui_(GetCurrentThreadId()), worker_([this, script] {
              script(ui_);
              for (int tick = 0; !uiBack_; ++tick) {
                  Sleep(100);
                  if (tick >= 50) {
                      if (HWND stray = findDialog(ui_)) {
                          strays_ = true;
                          PostMessageA(stray, WM_COMMAND, IDNO, 0);
                          PostMessageA(stray, WM_COMMAND, IDCANCEL, 0);
                      }
                  }
              }
          }) {}
    ~DialogDriver() { join(); }
    // Called on the UI thread once the handler returned.
    void join() {
        uiBack_ = true;
        if (worker_.joinable()) {
            worker_.join();
        }
        EXPECT_FALSE(strays_) << "a dialog was left open and had to be dismissed";
    }

private:
    DWORD ui_;
    std::atomic<bool> uiBack_{false};
    std::atomic<bool> strays_{false};
    std::thread worker_;
};

// Types name into the file dialog's name box and presses its OK button; returns what the
// box held when the dialog opened.
inline std::string acceptFileDialog(HWND dialog, const std::string& name) {
    HWND box = fileNameBox(dialog);
    std::string before = box ? windowText(box) : "<no name box>";
    if (box) {
        SendMessageA(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()));
    }
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
    return before;
}

inline void cancelDialog(HWND dialog) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
}

} // namespace save_support
