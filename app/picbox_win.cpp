// The picture box: shows a picture file held in memory.
#include "app/picbox_win.h"

#include <algorithm>

namespace {
DWORD borderStyle(int border) {
    switch (border) {
    case 2:
    case 4:
        return WS_DLGFRAME;
    case 5:
        return WS_BORDER;
    default:
        return 0;
    }
}
DWORD borderExStyle(int border) {
    switch (border) {
    case 1:
    case 4:
        return WS_EX_CLIENTEDGE;
    case 3:
        return WS_EX_STATICEDGE;
    default:
        return 0;
    }
}
} // namespace

bool PicBox::create(const Args& a) {
    const char* cls = registerClass("TarvokPicBox", CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS, nullptr,
                                    LoadCursorA(nullptr, IDC_ARROW));
    border_ = std::clamp(a.border, 0, 5);
    displayMode_ = std::clamp(a.displayMode, 0, 2);
    backgroundColour_ = a.backgroundColour;
    animate_ = a.animate;
    return createWindow(borderExStyle(border_), cls, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | borderStyle(border_),
                        a.place.x, a.place.y, a.place.width, a.place.height, a.place.parent) != nullptr;
}

void PicBox::setBorder(int border) { border_ = std::clamp(border, 0, 5); }
void PicBox::setDisplayMode(int mode) {
    displayMode_ = std::clamp(mode, 0, 2);
    InvalidateRect(hwnd_, nullptr, FALSE);
}
void PicBox::setBackgroundColour(COLORREF colour) {
    backgroundColour_ = colour;
    InvalidateRect(hwnd_, nullptr, FALSE);
}
void PicBox::setAnimate(bool animate) { animate_ = animate; }

bool PicBox::hasBitmap() const { return static_cast<bool>(bitmap_); }

void PicBox::setPicture(const std::string& bytes) {
    picture_ = bytes;
    bitmap_.reset();
    InvalidateRect(hwnd_, nullptr, FALSE);
}

void PicBox::paint(HDC dc) const {
    RECT r;
    GetClientRect(hwnd_, &r);
    gdi::Brush own;
    HBRUSH brush;
    if (backgroundColour_ == kButtonFace) {
        brush = GetSysColorBrush(COLOR_BTNFACE);
    } else {
        own.reset(CreateSolidBrush(backgroundColour_));
        brush = own.get();
    }
    gdi::SelectGuard selected(dc, brush);
    PatBlt(dc, 0, 0, r.right, r.bottom, PATCOPY);
}

LRESULT PicBox::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: {
        gdi::PaintScope ps(hwnd_);
        paint(ps.dc());
        return 0;
    }
    case WM_PRINTCLIENT:
        paint(reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_ERASEBKGND:
        return 1;
    default:
        return WindowBase::handleMessage(message, wParam, lParam);
    }
}
