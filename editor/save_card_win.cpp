// Saving the card image as the screen shows it.
#include "editor/save_card_win.h"

#include "app/main_window_win.h"
#include "app/shell_win.h"
#include "editor/bmp_file.h"
#include "editor/card_file_name.h"
#include "editor/file_io_win.h"
#include "editor/handlers_win.h"
#include "truecolour/gdi_owner.h"

#include <algorithm>
#include <vector>

namespace {

// Dispatches what is waiting, up to a WM_QUIT (left queued) or the deadline.
// True when a WM_QUIT is at the head of the queue.
bool dispatchPending(ULONGLONG deadline) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
        if (msg.message == WM_QUIT) {
            return true;
        }
        if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            break;
        }
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam)); // for the main loop
            return true;
        }
        dispatchMessage(msg);
        // A window that keeps asking to be painted must not hold the save forever.
        if (GetTickCount64() > deadline) {
            break;
        }
    }
    return false;
}

// On a palette display the system palette's colours; otherwise the stock default palette.
class CapturePalette {
public:
    explicit CapturePalette(HDC screen) {
        if ((GetDeviceCaps(screen, RASTERCAPS) & RC_PALETTE) != 0) {
            const int count = std::clamp(GetDeviceCaps(screen, SIZEPALETTE), 1, 256);
            std::vector<char> storage(sizeof(LOGPALETTE) + sizeof(PALETTEENTRY) * static_cast<size_t>(count));
            auto* logical = reinterpret_cast<LOGPALETTE*>(storage.data());
            logical->palVersion = 0x300;
            logical->palNumEntries = static_cast<WORD>(count);
            GetSystemPaletteEntries(screen, 0, static_cast<UINT>(count), logical->palPalEntry);
            own_.reset(CreatePalette(logical));
        }
        palette_ = own_ ? static_cast<HPALETTE>(own_.get()) : static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE));
        previous_ = SelectPalette(screen, palette_, FALSE);
        RealizePalette(screen);
        screen_ = screen;
    }
    CapturePalette(const CapturePalette&) = delete;
    CapturePalette& operator=(const CapturePalette&) = delete;
    ~CapturePalette() {
        if (previous_) {
            SelectPalette(screen_, previous_, FALSE);
        }
    }

private:
    gdi::Owner<HGDIOBJ, gdi::DeleteGdiObject> own_;
    HPALETTE palette_ = nullptr;
    HPALETTE previous_ = nullptr;
    HDC screen_ = nullptr;
};

BITMAPINFOHEADER captureHeader(int w, int h) {
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = w;
    header.biHeight = h; // bottom row first, as the file stores it
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    return header;
}

void reportSaveFailure(MainWindow& window, const std::string& name) {
    const HWND owner = IsWindow(window.hwnd()) ? window.hwnd() : nullptr;
    const std::string text = "无法保存图片：\r\n" + name;
    MessageBoxA(owner, text.c_str(), "保存失败", MB_OK | MB_ICONERROR);
}

} // namespace

void pumpEventsFor(int ms) {
    if (ms <= 0) {
        return;
    }
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(ms);
    for (;;) {
        const bool quitWaiting = dispatchPending(deadline);
        const ULONGLONG now = GetTickCount64();
        if (now > deadline) {
            return;
        }
        const DWORD remaining = static_cast<DWORD>(deadline - now + 1);
        // Behind a WM_QUIT only new messages can wake us; otherwise anything already queued does.
        MsgWaitForMultipleObjectsEx(0, nullptr, remaining, QS_ALLINPUT, quitWaiting ? 0 : MWMO_INPUTAVAILABLE);
    }
}

std::string captureWindowImage(HWND window) {
    if (!IsWindow(window)) {
        return {};
    }
    RECT r{};
    if (!GetWindowRect(window, &r)) {
        return {};
    }
    const bmp::Layout24 layout{r.right - r.left, r.bottom - r.top};
    if (!layout.valid()) {
        return {};
    }
    const int w = layout.width, h = layout.height;

    gdi::WindowDc windowDc = gdi::WindowDc::whole(window);
    if (!windowDc) {
        return {};
    }
    gdi::MemoryDc memory(CreateCompatibleDC(windowDc.get()));
    gdi::Bitmap bitmap(CreateCompatibleBitmap(windowDc.get(), w, h));
    if (!memory || !bitmap) {
        return {};
    }
    {
        gdi::SelectGuard select(memory.get(), bitmap.get());
        if (!BitBlt(memory.get(), 0, 0, w, h, windowDc.get(), 0, 0, SRCCOPY)) {
            return {};
        }
    } // GetDIBits wants the bitmap out of every DC

    gdi::WindowDc screen = gdi::WindowDc::client(nullptr);
    if (!screen) {
        return {};
    }
    CapturePalette palette(screen.get());
    BITMAPINFO info{};
    info.bmiHeader = captureHeader(w, h);
    if (!GetDIBits(screen.get(), bitmap.get(), 0, static_cast<UINT>(h), nullptr, &info, DIB_RGB_COLORS)) {
        return {};
    }
    const size_t reported = info.bmiHeader.biSizeImage;
    const size_t imageSize = reported != 0 ? reported : static_cast<size_t>(layout.imageSize());
    // Never smaller than the rows GetDIBits writes, whatever size it reported.
    std::vector<unsigned char> rows(std::max<size_t>(imageSize, layout.imageSize()));
    info.bmiHeader = captureHeader(w, h);
    if (GetDIBits(screen.get(), bitmap.get(), 0, static_cast<UINT>(h), rows.data(), &info, DIB_RGB_COLORS) != h) {
        return {};
    }
    return bmp::fileImage24(layout, rows.data(), rows.size());
}

void saveCardImage(MainWindow& window) {
    if (!window.saveImageDialog.show(window.hwnd())) {
        return;
    }
    const std::string name = cardFileName(window.saveImageDialog.fileName);
    pumpEventsFor(300);
    const std::string bytes = captureWindowImage(window.cardCanvas.hwnd());
    // An empty capture is not written: it would only replace a good card with nothing.
    if (bytes.empty() || !writeWholeFile(name, bytes)) {
        reportSaveFailure(window, name);
    }
}
