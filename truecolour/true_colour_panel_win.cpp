// TrueColourPanel: a child window that shows an image with per-pixel alpha over whatever
// lies beneath it. The panel's state lives in window properties.
#include "truecolour/true_colour_panel_win.h"
#include "truecolour/fit_within.h"
#include "truecolour/gdi_owner.h"
#include "truecolour/gdiplus_win.h"
#include "truecolour/image_decoding_win.h"
#include "truecolour/module_win.h"
#include "truecolour/premultiplied_blend.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <unordered_map>

const char* const kPictureWindowText = "Orvane真彩控件.图片框";

namespace {

constexpr const char* kType = "PngControl_Type";
constexpr const char* kWndProc = "PngControl_WndProc";
constexpr const char* kBackImage = "PngControl_BackImage";
constexpr const char* kBackType = "PngControl_BackType";
constexpr const char* kCacheBitmap = "PngControl_CacheBitmap";
constexpr const char* kTextColor = "PngControl_TextColor";
constexpr const char* kDrawState = "Orvane_DrawState";
constexpr const char* kToolTips = "Orvane_ToolTips";

constexpr INT_PTR kPicturePanel = 2;
constexpr INT_PTR kStateImageControl = 3;
constexpr INT_PTR kTextInputControl = 4;

// How many panel sizes (or back types) one image keeps pre-scaled.
constexpr size_t kScaledCopiesPerImage = 2;

INT_PTR property(HWND w, const char* name) { return reinterpret_cast<INT_PTR>(GetPropA(w, name)); }
void setProp(HWND w, const char* name, INT_PTR value) { SetPropA(w, name, reinterpret_cast<HANDLE>(value)); }

GpImage* backImageOf(HWND w) { return reinterpret_cast<GpImage*>(property(w, kBackImage)); }
int backTypeOf(HWND w) { return static_cast<int>(property(w, kBackType)); }

SIZE windowSize(HWND w) {
    RECT r{};
    GetWindowRect(w, &r);
    return {r.right - r.left, r.bottom - r.top};
}

void drawBackImage(GpGraphics* graphics, GpImage* image, int backType, int width, int height) {
    Gdiplus::REAL iw = 0, ih = 0;
    gp::GdipGetImageDimension(image, &iw, &ih);
    PlacedImage d = placeBackImage(backType, iw, ih, width, height);
    gp::GdipDrawImageRect(graphics, image, d.x, d.y, d.width, d.height);
}

// A top-down 32-bpp DIB section, its pixels reachable at bits.
gdi::Bitmap topDownDib(int width, int height, void** bits) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    return gdi::Bitmap(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, bits, nullptr, 0));
}

// The pixels of a bitmap the blend can read directly: a top-down 32-bpp DIB section of
// at least the given size.
struct Rows {
    const uint32_t* bits = nullptr;
    size_t stride = 0; // in pixels
};

Rows rowsOf(HBITMAP bitmap, SIZE atLeast) {
    DIBSECTION ds{};
    if (GetObjectA(bitmap, sizeof ds, &ds) != sizeof ds || ds.dsBm.bmBitsPixel != 32 || !ds.dsBm.bmBits ||
        ds.dsBmih.biHeight >= 0 || ds.dsBm.bmWidth < atLeast.cx || ds.dsBm.bmHeight < atLeast.cy) {
        return {};
    }
    return {static_cast<const uint32_t*>(ds.dsBm.bmBits), static_cast<size_t>(ds.dsBm.bmWidthBytes) / 4};
}

// The image drawn once, with the call every paint of the reference makes, onto fully
// transparent pixels: what remains is the premultiplied image as the panel shows it.
const ScaledImage* scaledImageFor(GpImage* image, int width, int height, int backType) {
    std::vector<ScaledImage>* copies = decodedImages::scaledCopies(image);
    if (!copies || width <= 0 || height <= 0) {
        return nullptr;
    }
    for (auto it = copies->begin(); it != copies->end(); ++it) {
        if (it->width == width && it->height == height && it->backType == backType) {
            if (it != copies->begin()) {
                std::rotate(copies->begin(), it, it + 1);
            }
            return &copies->front();
        }
    }
    void* bits = nullptr;
    gdi::Bitmap pixels = topDownDib(width, height, &bits);
    gdi::MemoryDc dc(CreateCompatibleDC(nullptr));
    if (!pixels || !dc) {
        return nullptr;
    }
    {
        gdi::SelectGuard selected(dc.get(), pixels.get());
        GpGraphics* raw = nullptr;
        gp::GdipCreateFromHDC(dc.get(), &raw);
        gdi::Graphics graphics(raw);
        if (!graphics) {
            return nullptr;
        }
        drawBackImage(graphics.get(), image, backType, width, height);
    }
    GdiFlush();
    ScaledImage scaled;
    scaled.width = width;
    scaled.height = height;
    scaled.backType = backType;
    scaled.pixels = std::move(pixels);
    scaled.bits = static_cast<const uint32_t*>(bits);
    copies->insert(copies->begin(), std::move(scaled));
    if (copies->size() > kScaledCopiesPerImage) {
        copies->pop_back();
    }
    return &copies->front();
}

// The surface pictures are composed on, kept from one paint to the next (a fresh bitmap
// of the panel's size on every paint costs more than the blend itself): a top-down
// 32-bpp DIB section, so that the blend can work on its pixels directly.
struct Surface {
    HDC dc = nullptr;
    uint32_t* bits = nullptr;
    int width = 0;
};

Surface compositionSurface(int width, int height) {
    static gdi::MemoryDc dc;
    static gdi::Bitmap bitmap;
    static HGDIOBJ original = nullptr;
    static Surface surface;
    static int rows = 0;
    if (!dc || surface.width < width || rows < height) {
        const int wantedWidth = std::max(surface.width, width), wantedRows = std::max(rows, height);
        void* bits = nullptr;
        gdi::Bitmap grown = topDownDib(wantedWidth, wantedRows, &bits);
        gdi::MemoryDc grownDc(CreateCompatibleDC(nullptr));
        if (!grown || !grownDc) {
            return {};
        }
        if (dc && original) {
            SelectObject(dc.get(), original);
        }
        original = SelectObject(grownDc.get(), grown.get());
        bitmap = std::move(grown);
        dc = std::move(grownDc);
        surface = {dc.get(), static_cast<uint32_t*>(bits), wantedWidth};
        rows = wantedRows;
    }
    return surface;
}

// The panel's own clean-up when its window goes: the cache bitmap, and its hold on the
// back image.
void forgetPanel(HWND w) {
    if (HGDIOBJ cache = RemovePropA(w, kCacheBitmap)) {
        DeleteObject(cache);
    }
    if (auto* image = static_cast<GpImage*>(RemovePropA(w, kBackImage))) {
        decodedImages::letGo(image);
    }
}

} // namespace

// ---- Subclassing and styles ----

namespace {

// The previous procedures as subclassWindow stored them, read here without asking the
// window manager for the property on every message (under Wine each read is a round trip
// to its server). An entry goes with its window's last message.
std::unordered_map<HWND, WNDPROC>& previousProcedures() {
    static auto* procedures = new std::unordered_map<HWND, WNDPROC>();
    return *procedures;
}

WNDPROC previousProcedure(HWND w) {
    auto& procedures = previousProcedures();
    auto it = procedures.find(w);
    if (it != procedures.end()) {
        return it->second;
    }
    return reinterpret_cast<WNDPROC>(GetPropA(w, kWndProc));
}

// Passes a window's last message on, then forgets its procedure: the handle may be
// given to a new window afterwards.
LRESULT passOnLastMessage(HWND w, UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = callPreviousWindowProc(w, message, wParam, lParam);
    previousProcedures().erase(w);
    return result;
}

} // namespace

void subclassWindow(HWND w, WNDPROC procedure) {
    if (property(w, kWndProc) != 0) {
        return;
    }
    LONG_PTR previous = SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure));
    setProp(w, kWndProc, previous);
    if (previous && property(w, kWndProc) == previous) {
        previousProcedures()[w] = reinterpret_cast<WNDPROC>(previous);
    }
}

LRESULT callPreviousWindowProc(HWND w, UINT message, WPARAM wParam, LPARAM lParam) {
    WNDPROC previous = previousProcedure(w);
    if (!previous) {
        return DefWindowProcA(w, message, wParam, lParam);
    }
    return CallWindowProcA(previous, w, message, wParam, lParam);
}

void changeStyle(HWND w, DWORD clear, DWORD set) {
    LONG_PTR old = GetWindowLongPtrA(w, GWL_STYLE);
    LONG_PTR now = (old & ~static_cast<LONG_PTR>(clear)) | static_cast<LONG_PTR>(set);
    if (now != old) {
        SetWindowLongPtrA(w, GWL_STYLE, now);
    }
}

void changeExStyle(HWND w, DWORD clear, DWORD set) {
    LONG_PTR old = GetWindowLongPtrA(w, GWL_EXSTYLE);
    LONG_PTR now = (old & ~static_cast<LONG_PTR>(clear)) | static_cast<LONG_PTR>(set);
    if (now != old) {
        SetWindowLongPtrA(w, GWL_EXSTYLE, now);
    }
}

// ---- Window procedures ----

LRESULT CALLBACK parentWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header && property(header->hwndFrom, kType) == kStateImageControl &&
            header->code == static_cast<UINT>(NM_CUSTOMDRAW)) {
            composeImage(header->hwndFrom, nullptr, selectStateImage(header->hwndFrom));
        }
        return callPreviousWindowProc(hwnd, message, wParam, lParam);
    }
    case WM_COMMAND: {
        auto control = reinterpret_cast<HWND>(lParam);
        UINT code = HIWORD(wParam);
        if (control && property(control, kType) == kTextInputControl &&
            (code == EN_VSCROLL || code == EN_HSCROLL || code == EN_CHANGE)) {
            InvalidateRect(control, nullptr, TRUE);
        }
        return callPreviousWindowProc(hwnd, message, wParam, lParam);
    }
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC: {
        auto control = reinterpret_cast<HWND>(lParam);
        INT_PTR type = control ? property(control, kType) : 0;
        if (type == 0) {
            return callPreviousWindowProc(hwnd, message, wParam, lParam);
        }
        auto dc = reinterpret_cast<HDC>(wParam);
        if (type == kTextInputControl) {
            SetTextColor(dc, static_cast<COLORREF>(property(control, kTextColor)));
        }
        SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
    }
    case WM_NCDESTROY:
        return passOnLastMessage(hwnd, message, wParam, lParam);
    default:
        return callPreviousWindowProc(hwnd, message, wParam, lParam);
    }
}

LRESULT CALLBACK pictureWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        paintPicture(hwnd);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_NCDESTROY:
        forgetPanel(hwnd);
        return passOnLastMessage(hwnd, message, wParam, lParam);
    default:
        return callPreviousWindowProc(hwnd, message, wParam, lParam);
    }
}

// ---- Painting ----

void paintPicture(HWND w) {
    gdi::PaintScope ps(w);
    // Only the invalid part reaches the screen, so only that part is captured and
    // composed: a keystroke repaints a label's strip, not the whole card.
    const RECT& area = ps.paint().rcPaint;
    captureBackground(w, ps.dc(), &area);
    composeImage(w, ps.dc(), backImageOf(w), &area);
}

namespace {

// The part of a window-sized picture to work on: all of it, or the given area within it.
RECT workArea(SIZE size, const RECT* area) {
    RECT whole{0, 0, size.cx, size.cy};
    if (!area) {
        return whole;
    }
    RECT part{};
    IntersectRect(&part, &whole, area);
    return part;
}

} // namespace

void captureBackground(HWND w, HDC dc, const RECT* area) {
    SIZE size = windowSize(w);
    auto cache = reinterpret_cast<HBITMAP>(GetPropA(w, kCacheBitmap));
    // The last capture's bitmap is reused when it still has the panel's size.
    BITMAP info{};
    if (cache && (GetObjectA(cache, sizeof info, &info) != sizeof info || info.bmWidth != size.cx ||
                  info.bmHeight != size.cy)) {
        DeleteObject(cache);
        cache = nullptr;
        RemovePropA(w, kCacheBitmap);
    }
    RECT part = workArea(size, area);
    const bool fresh = !cache;
    if (fresh) {
        // A DIB section rather than a bitmap like dc's: the same pixels, and the blend
        // can read them without another copy.
        void* bits = nullptr;
        cache = topDownDib(size.cx, size.cy, &bits).release();
        part = workArea(size, nullptr); // a new bitmap holds nothing yet
    }
    if (!cache) {
        return;
    }
    {
        gdi::MemoryDc mem(CreateCompatibleDC(dc));
        gdi::SelectGuard selected(mem.get(), cache);
        BitBlt(mem.get(), part.left, part.top, part.right - part.left, part.bottom - part.top, dc, part.left,
               part.top, SRCCOPY);
    }
    if (fresh) {
        SetPropA(w, kCacheBitmap, cache);
    }
}

void composeImageReference(HWND w, HDC target, GpImage* image) {
    auto cache = reinterpret_cast<HBITMAP>(GetPropA(w, kCacheBitmap));
    if (!cache) {
        return;
    }
    SIZE size = windowSize(w);
    std::optional<gdi::WindowDc> own;
    if (!target) {
        own.emplace(gdi::WindowDc::whole(w));
    }
    HDC dc = target ? target : own->get();

    gdi::MemoryDc mem(CreateCompatibleDC(dc));
    gdi::Bitmap composed(CreateCompatibleBitmap(dc, size.cx, size.cy));
    gdi::SelectGuard selected(mem.get(), composed.get());
    GpGraphics* raw = nullptr;
    gp::GdipCreateFromHDC(mem.get(), &raw);
    gdi::Graphics graphics(raw);

    GpBitmap* background = nullptr;
    gp::GdipCreateBitmapFromHBITMAP(cache, nullptr, &background);
    gdi::Image backgroundOwner(background);
    gp::GdipDrawImageRect(graphics.get(), background, 0, 0, static_cast<Gdiplus::REAL>(size.cx),
                          static_cast<Gdiplus::REAL>(size.cy));
    backgroundOwner.reset();

    if (image) {
        drawBackImage(graphics.get(), image, backTypeOf(w), size.cx, size.cy);
    }
    graphics.reset();
    BitBlt(dc, 0, 0, size.cx, size.cy, mem.get(), 0, 0, SRCCOPY);
}

void composeImage(HWND w, HDC target, GpImage* image, const RECT* area) {
    auto cache = reinterpret_cast<HBITMAP>(GetPropA(w, kCacheBitmap));
    if (!cache) {
        return;
    }
    SIZE size = windowSize(w);
    const ScaledImage* scaled = image ? scaledImageFor(image, size.cx, size.cy, backTypeOf(w)) : nullptr;
    if (image && !scaled) {
        // Not an image of ours: nothing tells when it changes, so it is scaled every time.
        composeImageReference(w, target, image);
        return;
    }
    const RECT part = workArea(size, area);
    const int x = part.left, y = part.top, cx = part.right - part.left, cy = part.bottom - part.top;
    if (cx <= 0 || cy <= 0) {
        return;
    }
    std::optional<gdi::WindowDc> own;
    if (!target) {
        own.emplace(gdi::WindowDc::whole(w));
    }
    HDC dc = target ? target : own->get();

    Surface surface = compositionSurface(cx, cy);
    if (!surface.dc) {
        return;
    }
    HDC mem = surface.dc;
    GdiFlush();
    const Rows background = rowsOf(cache, size);
    if (background.bits) {
        // Background and image meet in one pass, straight from the captured pixels,
        // rounded as the AlphaBlend that GDI+ ends with when it draws on a DC: the same
        // pixels to the bit.
        for (int row = 0; row < cy; ++row) {
            uint32_t* out = surface.bits + static_cast<size_t>(row) * surface.width;
            const uint32_t* under = background.bits + static_cast<size_t>(y + row) * background.stride + x;
            if (scaled) {
                blendPremultipliedOnto(out, under, scaled->bits + static_cast<size_t>(y + row) * scaled->width + x,
                                       static_cast<size_t>(cx));
            } else {
                std::copy(under, under + cx, out);
            }
        }
    } else {
        // A cache bitmap from elsewhere (a state-image control's): copied, then blended.
        {
            gdi::MemoryDc source(CreateCompatibleDC(dc));
            gdi::SelectGuard selected(source.get(), cache);
            BitBlt(mem, 0, 0, cx, cy, source.get(), x, y, SRCCOPY);
        }
        if (scaled) {
            GdiFlush();
            for (int row = 0; row < cy; ++row) {
                blendPremultiplied(surface.bits + static_cast<size_t>(row) * surface.width,
                                   scaled->bits + static_cast<size_t>(y + row) * scaled->width + x,
                                   static_cast<size_t>(cx));
            }
        }
    }
    BitBlt(dc, x, y, cx, cy, mem, 0, 0, SRCCOPY);
}

GpImage* selectStateImage(HWND control) {
    const char* name = "PngControl_NormalImage";
    switch (property(control, kDrawState)) {
    case 1:
        name = "PngControl_OverlImage";
        break;
    case 2:
        name = "PngControl_DownImage";
        break;
    case 3:
        name = "PngControl_DisableImage";
        break;
    default:
        break;
    }
    auto* image = static_cast<GpImage*>(GetPropA(control, name));
    return image ? image : static_cast<GpImage*>(GetPropA(control, "PngControl_NormalImage"));
}

void redraw(HWND w) {
    RECT r{};
    GetWindowRect(w, &r);
    HWND parent = GetParent(w);
    POINT p{r.left, r.top};
    ScreenToClient(parent, &p);
    RECT under{p.x, p.y, p.x + (r.right - r.left), p.y + (r.bottom - r.top)};
    // Erased, so that the parent's own background is drawn afresh beneath the panel:
    // otherwise the next capture holds the panel's previous picture there and the
    // image's partly transparent pixels blend over themselves again.
    InvalidateRect(parent, &under, TRUE);
    InvalidateRect(w, nullptr, FALSE);
}

// ---- TrueColourPanel ----

std::unique_ptr<TrueColourPanel> TrueColourPanel::copy() const { return std::make_unique<TrueColourPanel>(window); }

bool TrueColourPanel::prepareWindow(HWND w) {
    if (!IsWindow(w)) {
        return false;
    }
    HWND parent = GetParent(w);
    if (property(parent, kType) == 0) {
        subclassWindow(parent, parentWindowProc);
    }
    changeStyle(w, WS_CLIPSIBLINGS, 0);
    changeExStyle(w, 0, WS_EX_TRANSPARENT);
    changeStyle(parent, WS_CLIPCHILDREN, 0);
    window = w;
    return true;
}

void TrueColourPanel::setProperty(const char* name, INT_PTR value) { setProp(window, name, value); }

INT_PTR TrueColourPanel::getProperty(const char* name) const { return property(window, name); }

LRESULT TrueColourPanel::sendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return SendMessageA(window, message, wParam, lParam);
}

void TrueColourPanel::setToolTip(const std::string& text, std::optional<bool> atCursor) {
    if (!sharedToolTipWindow) {
        sharedToolTipWindow =
            CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, "", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
        SendMessageA(sharedToolTipWindow, TTM_SETMAXTIPWIDTH, 0, 1024);
    }
    TOOLINFOA info{};
    info.cbSize = TTTOOLINFOA_V2_SIZE;
    info.hwnd = window;
    info.uId = 0;
    info.lpszText = const_cast<char*>(text.c_str());
    if (getProperty(kToolTips) != 0) {
        SendMessageA(sharedToolTipWindow, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&info));
        return;
    }
    setProperty(kToolTips, 1);
    info.uFlags = TTF_SUBCLASS | (atCursor.value_or(true) ? 0 : TTF_CENTERTIP);
    GetClientRect(window, &info.rect);
    SendMessageA(sharedToolTipWindow, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info));
}

void TrueColourPanel::move(std::optional<int> x, std::optional<int> y, std::optional<int> width,
                           std::optional<int> height, std::optional<bool> noRedraw) {
    UINT flags = SWP_NOZORDER;
    if (noRedraw.value_or(false)) {
        flags |= SWP_NOREDRAW;
    }
    if (!x && !y) {
        flags |= SWP_NOMOVE;
    }
    if (!width && !height) {
        flags |= SWP_NOSIZE;
    }
    RECT r{};
    GetWindowRect(window, &r);
    POINT corner{r.left, r.top};
    if (HWND parent = GetParent(window)) {
        ScreenToClient(parent, &corner);
    }
    SetWindowPos(window, nullptr, x.value_or(corner.x), y.value_or(corner.y), width.value_or(r.right - r.left),
                 height.value_or(r.bottom - r.top), flags);
}

bool TrueColourPanel::isValid() const { return IsWindow(window) == TRUE; }

void TrueColourPanel::invalidate() { InvalidateRect(window, nullptr, FALSE); }

LRESULT TrueColourPanel::sendMessageToWindow(UINT message, WPARAM wParam, LPARAM lParam) {
    return SendMessageA(window, message, wParam, lParam);
}

HWND TrueColourPanel::create(HWND parent, int x, int y, int width, int height) {
    HWND w = CreateWindowExA(WS_EX_TRANSPARENT, "Static", kPictureWindowText, WS_CHILD | WS_VISIBLE | SS_NOTIFY, x,
                             y, width, height, parent, nullptr, nullptr, nullptr);
    attachToWindow(w);
    return w;
}

void TrueColourPanel::attachToWindow(HWND w, GpImage* image) {
    if (!prepareWindow(w)) {
        return;
    }
    SetPropA(w, kType, reinterpret_cast<HANDLE>(kPicturePanel));
    SetWindowTextA(w, kPictureWindowText);
    subclassWindow(w, pictureWindowProc);
    if (image) {
        setBackImage(image);
    }
}

void TrueColourPanel::setBackImage(GpImage* image) {
    GpImage* previous = backImageOf(window);
    setProperty(kBackImage, reinterpret_cast<INT_PTR>(image));
    if (image != previous && backImageOf(window) == image) {
        decodedImages::hold(image);
        decodedImages::letGo(previous);
    }
    redraw(window);
}

void TrueColourPanel::setBackImageFromBytes(std::string_view bytes) {
    setBackImage(decodedImages::decodeForPanels(bytes));
}

void TrueColourPanel::setBackType(int type) { setProperty(kBackType, type); }
