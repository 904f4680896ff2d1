// One base for the tool's own window classes: `this` is stored at WM_NCCREATE and
// every later message goes to the object's handleMessage.
#pragma once

#include <windows.h>

#include "truecolour/gdi_owner.h"

class WindowBase {
public:
    WindowBase() = default;
    WindowBase(const WindowBase&) = delete;
    WindowBase& operator=(const WindowBase&) = delete;
    virtual ~WindowBase() = default;

    HWND hwnd() const { return hwnd_; }

    // The object behind a window of one of our classes, or null.
    static WindowBase* fromHandle(HWND w) {
        return reinterpret_cast<WindowBase*>(GetWindowLongPtrA(w, GWLP_USERDATA));
    }

protected:
    virtual LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
        return DefWindowProcA(hwnd_, message, wParam, lParam);
    }

    // Creates a window of a class whose window procedure is staticProc.
    HWND createWindow(DWORD exStyle, const char* className, const char* text, DWORD style, int x, int y,
                      int w, int h, HWND parent, HMENU menu = nullptr) {
        return CreateWindowExA(exStyle, className, text, style, x, y, w, h, parent, menu,
                               GetModuleHandleA(nullptr), this);
    }

    static LRESULT CALLBACK staticProc(HWND w, UINT message, WPARAM wParam, LPARAM lParam) {
        WindowBase* self;
        if (message == WM_NCCREATE) {
            self = static_cast<WindowBase*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
            self->hwnd_ = w;
            SetWindowLongPtrA(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        } else {
            self = fromHandle(w);
        }
        if (!self) {
            return DefWindowProcA(w, message, wParam, lParam);
        }
        LRESULT result = self->handleMessage(message, wParam, lParam);
        if (message == WM_NCDESTROY) {
            SetWindowLongPtrA(w, GWLP_USERDATA, 0);
            self->hwnd_ = nullptr;
        }
        return result;
    }

    // Registers a class of ours once per process; returns its name.
    static const char* registerClass(const char* name, UINT style, HBRUSH background, HCURSOR cursor) {
        WNDCLASSEXA wc{};
        if (GetClassInfoExA(GetModuleHandleA(nullptr), name, &wc)) {
            return name;
        }
        wc.cbSize = sizeof wc;
        wc.style = style;
        wc.lpfnWndProc = staticProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hCursor = cursor;
        wc.hbrBackground = background;
        wc.lpszClassName = name;
        RegisterClassExA(&wc);
        return name;
    }

    HWND hwnd_ = nullptr;
};

// A window of ours that paints itself through paint(HDC) and never erases: WM_PAINT and
// WM_PRINTCLIENT share the one painting function, so tests can paint into any DC.
class SelfPaintedWindow : public WindowBase {
public:
    virtual void paint(HDC dc) const = 0;

protected:
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
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
};
