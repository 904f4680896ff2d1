// The picture box: shows a picture file held in memory.
#include "app/picbox_win.h"

#include "app/picture_placement.h"

#include <algorithm>

namespace {
constexpr UINT_PTR kAnimationTimer = 1;

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

PictureSize clientSize(HWND w) {
    RECT r{};
    GetClientRect(w, &r);
    return {r.right, r.bottom};
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

void PicBox::setBorder(int border) {
    border_ = std::clamp(border, 0, 5);
    if (!hwnd_) {
        return;
    }
    const LONG_PTR style = GetWindowLongPtrA(hwnd_, GWL_STYLE) & ~static_cast<LONG_PTR>(WS_DLGFRAME | WS_BORDER);
    const LONG_PTR exStyle =
        GetWindowLongPtrA(hwnd_, GWL_EXSTYLE) & ~static_cast<LONG_PTR>(WS_EX_CLIENTEDGE | WS_EX_STATICEDGE);
    SetWindowLongPtrA(hwnd_, GWL_STYLE, style | static_cast<LONG_PTR>(borderStyle(border_)));
    SetWindowLongPtrA(hwnd_, GWL_EXSTYLE, exStyle | static_cast<LONG_PTR>(borderExStyle(border_)));
    SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(hwnd_, nullptr, FALSE);
}
void PicBox::setDisplayMode(int mode) {
    displayMode_ = std::clamp(mode, 0, 2);
    redecodeIfScaled();
    InvalidateRect(hwnd_, nullptr, FALSE);
}
void PicBox::setBackgroundColour(COLORREF colour) {
    const bool changed = colour != backgroundColour_;
    backgroundColour_ = colour;
    // Transparent pixels of icons and GIFs were filled with the old colour.
    const PictureFormat kind = detectPictureFormat(picture_);
    if (changed && decoded_ && kind != PictureFormat::Jpeg && kind != PictureFormat::Pcx) {
        decode();
    }
    InvalidateRect(hwnd_, nullptr, FALSE);
}
void PicBox::setAnimate(bool animate) {
    animate_ = animate;
    if (animate_) {
        startAnimation();
    } else {
        stopAnimation();
        if (frame_ != 0) {
            showFrame(0);
        }
    }
}

bool PicBox::hasBitmap() const { return static_cast<bool>(decoded_); }

COLORREF PicBox::backgroundRgb() const {
    return backgroundColour_ == kButtonFace ? GetSysColor(COLOR_BTNFACE) : backgroundColour_;
}

void PicBox::setPicture(const std::string& bytes) {
    picture_ = bytes;
    stopAnimation();
    decoded_ = {};
    stretched_.reset();
    animation_.reset();
    frame_ = 0;
    if (!picture_.empty()) {
        decode();
    }
    InvalidateRect(hwnd_, nullptr, FALSE);
}

void PicBox::decode() {
    stopAnimation();
    frame_ = 0;
    DecodeRequest request;
    request.displayMode = displayMode_;
    request.client = clientSize(hwnd_);
    request.background = backgroundRgb();
    decoded_ = decodePicture(picture_, request, &animation_);
    stretched_.reset();
    startAnimation();
}

// A JPEG decoded smaller than its own size stays good only while the box shrinks it
// at least as much; otherwise decode it again.
void PicBox::redecodeIfScaled() {
    if (!decoded_ || (decoded_.decoded.width == decoded_.natural.width &&
                      decoded_.decoded.height == decoded_.natural.height)) {
        return;
    }
    const PictureSize need = smallestDecode(displayMode_, decoded_.natural, clientSize(hwnd_));
    if (need.width == 0 || need.width > decoded_.decoded.width || need.height > decoded_.decoded.height) {
        decode();
    }
}

void PicBox::startAnimation() {
    if (animation_ && animate_ && hwnd_) {
        SetTimer(hwnd_, kAnimationTimer, static_cast<UINT>(animation_->delayMs(frame_)), nullptr);
    }
}

void PicBox::stopAnimation() {
    if (hwnd_) {
        KillTimer(hwnd_, kAnimationTimer);
    }
}

void PicBox::showFrame(int frame) {
    if (animation_ && animation_->drawFrame(frame, decoded_.bitmap.get(), backgroundRgb())) {
        frame_ = frame;
        stretched_.reset();
        invalidateWithWindowsAbove();
    }
}

// A new frame must also be drawn over again by the windows that let the box show
// through them (the card canvas above the portrait), so the part of the parent under
// the box is invalidated with every child there, as a frame change of the card does.
void PicBox::invalidateWithWindowsAbove() {
    HWND parent = GetParent(hwnd_);
    if (!parent) {
        InvalidateRect(hwnd_, nullptr, FALSE);
        return;
    }
    RECT r;
    GetWindowRect(hwnd_, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    RedrawWindow(parent, &r, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void PicBox::paint(HDC dc) const {
    const PictureSize client = clientSize(hwnd_);
    gdi::Brush own;
    HBRUSH brush;
    if (backgroundColour_ == kButtonFace) {
        brush = GetSysColorBrush(COLOR_BTNFACE);
    } else {
        own.reset(CreateSolidBrush(backgroundColour_));
        brush = own.get();
    }
    {
        gdi::SelectGuard selected(dc, brush);
        PatBlt(dc, 0, 0, client.width, client.height, PATCOPY);
    }
    if (!decoded_) {
        return;
    }
    gdi::MemoryDc source(CreateCompatibleDC(dc));
    gdi::SelectGuard pictureSelected(source.get(), decoded_.bitmap.get());
    const PlacedRect to = placePicture(displayMode_, decoded_.natural, client);
    const PictureSize from = decoded_.decoded;
    if (to.width == from.width && to.height == from.height) {
        BitBlt(dc, to.x, to.y, to.width, to.height, source.get(), 0, 0, SRCCOPY);
        return;
    }
    const gdi::Bitmap& picture = stretched(dc, source.get(), to);
    if (!picture) {
        return;
    }
    gdi::MemoryDc shown(CreateCompatibleDC(dc));
    gdi::SelectGuard selected(shown.get(), picture.get());
    BitBlt(dc, to.x, to.y, to.width, to.height, shown.get(), 0, 0, SRCCOPY);
}

// The decoded picture stretched to `to`'s size, made again when the size or the
// display's depth changed.
const gdi::Bitmap& PicBox::stretched(HDC dc, HDC source, const PlacedRect& to) const {
    const bool deep = GetDeviceCaps(dc, BITSPIXEL) * GetDeviceCaps(dc, PLANES) > 16;
    if (stretched_ && stretchedDeep_ == deep && stretchedRect_.width == to.width &&
        stretchedRect_.height == to.height) {
        return stretched_;
    }
    stretched_.reset(CreateCompatibleBitmap(dc, to.width, to.height));
    stretchedRect_ = to;
    stretchedDeep_ = deep;
    gdi::MemoryDc target(CreateCompatibleDC(dc));
    gdi::SelectGuard selected(target.get(), stretched_.get());
    SetStretchBltMode(target.get(), deep ? HALFTONE : COLORONCOLOR);
    SetBrushOrgEx(target.get(), 0, 0, nullptr); // HALFTONE needs it set after the mode
    StretchBlt(target.get(), 0, 0, to.width, to.height, source, 0, 0, decoded_.decoded.width,
               decoded_.decoded.height, SRCCOPY);
    return stretched_;
}

LRESULT PicBox::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SIZE:
        redecodeIfScaled();
        break;
    case WM_TIMER:
        if (wParam == kAnimationTimer && animation_) {
            showFrame((frame_ + 1) % animation_->frameCount());
            startAnimation();
            return 0;
        }
        break;
    case WM_DESTROY:
        stopAnimation();
        break;
    default:
        break;
    }
    return SelfPaintedWindow::handleMessage(message, wParam, lParam);
}
