// TrueColourPanel: makes a child window show an image with per-pixel alpha over
// whatever lies beneath it. The state lives in window properties; the object owns nothing.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace Gdiplus {
class GpImage;
} // namespace Gdiplus

class TrueColourPanel {
public:
    TrueColourPanel() = default;
    explicit TrueColourPanel(HWND w) : window(w) {}
    TrueColourPanel(const TrueColourPanel&) = delete;
    TrueColourPanel& operator=(const TrueColourPanel&) = delete;
    virtual ~TrueColourPanel() { TrueColourPanel::release(); }

    virtual void release() {}
    virtual std::unique_ptr<TrueColourPanel> copy() const;
    // Takes the window over (styles, the parent's subclassing); false when it is no window.
    virtual bool prepareWindow(HWND w);
    virtual HWND getWindow() const { return window; }
    // Property values are pointer-sized: they carry handles.
    virtual void setProperty(const char* name, INT_PTR value);
    virtual INT_PTR getProperty(const char* name) const;
    virtual LRESULT sendMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // atCursor omitted counts as true.
    virtual void setToolTip(const std::string& text, std::optional<bool> atCursor = std::nullopt);
    // An omitted coordinate keeps the window's current one; a given 0 is a 0.
    virtual void move(std::optional<int> x = std::nullopt, std::optional<int> y = std::nullopt,
                      std::optional<int> width = std::nullopt, std::optional<int> height = std::nullopt,
                      std::optional<bool> noRedraw = std::nullopt);
    virtual HWND getHandle() const { return window; }
    virtual bool isValid() const;
    virtual void invalidate();
    virtual LRESULT sendMessageToWindow(UINT message, WPARAM wParam, LPARAM lParam);
    // A new picture-panel window; 0 when creation fails.
    virtual HWND create(HWND parent, int x, int y, int width, int height);
    // Makes the window a picture panel, with the image as back image when one is given.
    virtual void attachToWindow(HWND w, Gdiplus::GpImage* image = nullptr);
    // The image stays the caller's; the panel only shows it.
    virtual void setBackImage(Gdiplus::GpImage* image);
    // The decoded image belongs to the panels and goes once no panel shows it.
    virtual void setBackImageFromBytes(std::string_view bytes);
    // 1 stretch, 2 fit within and centre, anything else natural size; shown at the next paint.
    virtual void setBackType(int type);

    HWND window = nullptr;
};

// The window text every picture panel gets.
extern const char* const kPictureWindowText;

// The module's window procedures and painting, shared with the tests and the bench.
void subclassWindow(HWND w, WNDPROC procedure);
LRESULT callPreviousWindowProc(HWND w, UINT message, WPARAM wParam, LPARAM lParam);
void changeStyle(HWND w, DWORD clear, DWORD set);
void changeExStyle(HWND w, DWORD clear, DWORD set);
LRESULT CALLBACK parentWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK pictureWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
void paintPicture(HWND w);
// Keeps what the screen shows in the window's area as the panel's cache bitmap. With an
// area (window coordinates), only that part is taken afresh.
void captureBackground(HWND w, HDC dc, const RECT* area = nullptr);
// The cache bitmap with the image over it, in one transfer to dc (the window DC when dc
// is null); with an area, that part alone. Images from decodeImage are scaled once per
// panel size and back type.
void composeImage(HWND w, HDC dc, Gdiplus::GpImage* image, const RECT* area = nullptr);
// The same picture, scaling the image afresh with GDI+ on every call: the reference the
// fast path is measured and checked against.
void composeImageReference(HWND w, HDC dc, Gdiplus::GpImage* image);
Gdiplus::GpImage* selectStateImage(HWND control);
void redraw(HWND w);
