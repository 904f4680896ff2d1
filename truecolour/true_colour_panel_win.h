// TrueColourPanel: makes a child window show an image with per-pixel alpha over
// whatever lies beneath it. The state lives in window properties; the object owns nothing.
#pragma once

#include <windows.h>

#include <string>

class TrueColourPanel {
public:
    TrueColourPanel() = default;
    virtual ~TrueColourPanel() { release(); }

    virtual void release() {}
    virtual bool prepareWindow(HWND w);
    virtual HWND getWindow() const { return window; }
    virtual void attachToWindow(HWND w, void* image = nullptr);
    virtual void setBackImageFromBytes(const void* bytes, size_t size);
    virtual void setBackType(int type);

    HWND window = nullptr;
};
