// Scoped owners for GDI and GDI+ handles, used by every subsystem.
// Each handle has exactly one owner; owners move but never copy.
#pragma once

#include <windows.h>
#include <utility>

namespace gdi {

// Owns a handle and releases it with Deleter when it goes away.
template <typename Handle, typename Deleter> class Owner {
public:
    Owner() = default;
    explicit Owner(Handle h) : handle_(h) {}
    Owner(const Owner&) = delete;
    Owner& operator=(const Owner&) = delete;
    Owner(Owner&& other) noexcept : handle_(std::exchange(other.handle_, Handle{})) {}
    Owner& operator=(Owner&& other) noexcept {
        if (this != &other) {
            reset(std::exchange(other.handle_, Handle{}));
        }
        return *this;
    }
    ~Owner() { reset(); }

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != Handle{}; }
    Handle release() { return std::exchange(handle_, Handle{}); }
    void reset(Handle h = Handle{}) {
        if (handle_ != Handle{}) {
            Deleter{}(handle_);
        }
        handle_ = h;
    }

private:
    Handle handle_{};
};

struct DeleteGdiObject {
    void operator()(HGDIOBJ h) const { DeleteObject(h); }
};
struct DeleteMemoryDc {
    void operator()(HDC h) const { DeleteDC(h); }
};
struct DestroyIconHandle {
    void operator()(HICON h) const { DestroyIcon(h); }
};

using Bitmap = Owner<HBITMAP, DeleteGdiObject>;
using Font = Owner<HFONT, DeleteGdiObject>;
using Brush = Owner<HBRUSH, DeleteGdiObject>;
using Region = Owner<HRGN, DeleteGdiObject>;
using MemoryDc = Owner<HDC, DeleteMemoryDc>;
using Icon = Owner<HICON, DestroyIconHandle>;

// A DC from GetDC / GetWindowDC, given back with ReleaseDC.
class WindowDc {
public:
    static WindowDc client(HWND w) { return WindowDc(w, GetDC(w)); }
    static WindowDc whole(HWND w) { return WindowDc(w, GetWindowDC(w)); }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    WindowDc(WindowDc&& o) noexcept : window_(o.window_), dc_(std::exchange(o.dc_, nullptr)) {}
    WindowDc& operator=(WindowDc&&) = delete;
    ~WindowDc() {
        if (dc_) {
            ReleaseDC(window_, dc_);
        }
    }
    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    WindowDc(HWND w, HDC dc) : window_(w), dc_(dc) {}
    HWND window_;
    HDC dc_;
};

// BeginPaint on construction, EndPaint on destruction.
class PaintScope {
public:
    explicit PaintScope(HWND w) : window_(w) { dc_ = BeginPaint(w, &ps_); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    ~PaintScope() { EndPaint(window_, &ps_); }
    HDC dc() const { return dc_; }
    const PAINTSTRUCT& paint() const { return ps_; }

private:
    HWND window_;
    PAINTSTRUCT ps_{};
    HDC dc_;
};

// Selects an object into a DC and puts the previous one back.
class SelectGuard {
public:
    SelectGuard(HDC dc, HGDIOBJ obj) : dc_(dc), previous_(obj ? SelectObject(dc, obj) : nullptr) {}
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;
    ~SelectGuard() {
        if (previous_) {
            SelectObject(dc_, previous_);
        }
    }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

} // namespace gdi

// GDI+ handles of the flat API (truecolour/gdiplus_win.h); the deleters live in
// truecolour/gdiplus_owner_win.cpp so that this header needs no GDI+ declarations.
namespace Gdiplus {
class GpGraphics;
class GpImage;
} // namespace Gdiplus

namespace gdi {

struct DeleteGraphics {
    void operator()(Gdiplus::GpGraphics* g) const;
};
struct DisposeImage {
    void operator()(Gdiplus::GpImage* image) const;
};

using Graphics = Owner<Gdiplus::GpGraphics*, DeleteGraphics>;
using Image = Owner<Gdiplus::GpImage*, DisposeImage>;

} // namespace gdi
