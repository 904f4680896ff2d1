// TransLabel: a transparent text label on the card.
#include "editor/trans_label_win.h"
#include "truecolour/gdi_owner.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

constexpr int kMaxEdge = 32627;

LOGFONTA defaultGuiFontRecord() {
    LOGFONTA lf{};
    GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
    return lf;
}

// The visible windows of top's hierarchy: each child after its own descendants, the
// children from the top of the stacking order to the bottom.
void collectVisibleWindows(HWND parent, std::vector<HWND>& list) {
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (GetWindowLongA(child, GWL_STYLE) & WS_VISIBLE) {
            collectVisibleWindows(child, list);
            list.push_back(child);
        }
    }
}

HWND repaintRoot(HWND label) {
    HWND w = label;
    for (;;) {
        if (GetWindowLongA(w, GWL_STYLE) & WS_POPUP) {
            return w;
        }
        HWND parent = GetAncestor(w, GA_PARENT);
        if (!parent || parent == GetDesktopWindow()) {
            return w;
        }
        w = parent;
    }
}

} // namespace

bool TransLabel::create(const Args& a) {
    const char* cls = registerClass("TarvokTransLabel", CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS, nullptr,
                                    LoadCursorA(nullptr, IDC_ARROW));
    LOGFONTA lf{};
    lf.lfHeight = -a.characterHeight;
    lf.lfWeight = a.weight;
    lf.lfCharSet = GB2312_CHARSET;
    lstrcpynA(lf.lfFaceName, a.faceName.c_str(), LF_FACESIZE);
    font_.assign(reinterpret_cast<const char*>(&lf), sizeof lf);
    textColour_ = a.textColour;
    horizontalAlignment_ = std::clamp(a.horizontalAlignment, 0, 2);
    verticalAlignment_ = std::clamp(a.verticalAlignment, 0, 2);
    wordWrap_ = a.wordWrap;
    return createWindow(WS_EX_TRANSPARENT, cls, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, a.x, a.y, a.width,
                        a.height, a.parent) != nullptr;
}

void TransLabel::setText(const std::string& text) {
    text_ = text;
    SetWindowTextA(hwnd_, text_.c_str());
    refreshLabelArea();
}

void TransLabel::setEffect(int effect) {
    effect_ = std::clamp(effect, 0, 3);
    refreshLabelArea();
}

void TransLabel::setFont(const std::string& record) {
    font_ = record;
    refreshLabelArea();
}

void TransLabel::setFont(const LOGFONTA& record) {
    setFont(std::string(reinterpret_cast<const char*>(&record), sizeof record));
}

LOGFONTA TransLabel::fontRecord() const {
    if (font_.size() != kFontRecordSize) {
        return defaultGuiFontRecord();
    }
    LOGFONTA lf;
    std::memcpy(&lf, font_.data(), sizeof lf);
    return lf;
}

void TransLabel::setTextColour(COLORREF colour) {
    textColour_ = colour;
    refreshLabelArea();
}

void TransLabel::setHorizontalAlignment(int alignment) {
    horizontalAlignment_ = std::clamp(alignment, 0, 2);
    refreshLabelArea();
}

void TransLabel::setVerticalAlignment(int alignment) {
    verticalAlignment_ = std::clamp(alignment, 0, 2);
    refreshLabelArea();
}

void TransLabel::setWordWrap(bool wrap) {
    wordWrap_ = wrap;
    refreshLabelArea();
}

int TransLabel::left() const {
    RECT r;
    GetWindowRect(hwnd_, &r);
    POINT p{r.left, r.top};
    ScreenToClient(GetParent(hwnd_), &p);
    return p.x;
}

void TransLabel::setLeft(int x) {
    RECT r;
    GetWindowRect(hwnd_, &r);
    POINT p{r.left, r.top};
    ScreenToClient(GetParent(hwnd_), &p);
    SetWindowPos(hwnd_, nullptr, std::clamp(x, -kMaxEdge, kMaxEdge), p.y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TransLabel::paintLabel(HDC dc) const {
    if (text_.empty()) {
        return;
    }
    RECT r;
    GetClientRect(hwnd_, &r);

    gdi::Font created;
    if (font_.size() == kFontRecordSize) {
        LOGFONTA lf;
        std::memcpy(&lf, font_.data(), sizeof lf);
        lf.lfCharSet = DEFAULT_CHARSET;
        lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
        lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
        lf.lfQuality = PROOF_QUALITY;
        lf.lfPitchAndFamily = DEFAULT_PITCH;
        created.reset(CreateFontIndirectA(&lf));
    }
    gdi::SelectGuard font(dc, created ? static_cast<HGDIOBJ>(created.get()) : GetStockObject(DEFAULT_GUI_FONT));

    UINT flags = DT_NOCLIP;
    if (horizontalAlignment_ == 1) {
        flags |= DT_CENTER;
    } else if (horizontalAlignment_ == 2) {
        flags |= DT_RIGHT;
    }
    if (wordWrap_) {
        flags |= DT_WORDBREAK | DT_VCENTER;
    } else {
        flags |= DT_SINGLELINE;
        if (verticalAlignment_ == 1) {
            flags |= DT_VCENTER;
        } else if (verticalAlignment_ == 2) {
            flags |= DT_BOTTOM;
        }
    }
    SetBkMode(dc, TRANSPARENT);

    const int length = static_cast<int>(text_.size());
    auto draw = [&](RECT rect) { DrawTextA(dc, text_.c_str(), length, &rect, flags); };
    switch (effect_) {
    case 1:
        SetTextColor(dc, RGB(255, 255, 255));
        draw({r.left + 1, r.top + 1, r.right + 1, r.bottom + 1});
        break;
    case 2:
        SetTextColor(dc, RGB(255, 255, 255));
        draw(r);
        OffsetRect(&r, 1, 1);
        break;
    case 3:
        SetTextColor(dc, RGB(0, 0, 0));
        draw({r.left + 2, r.top + 2, r.right + 2, r.bottom + 2});
        break;
    default:
        break;
    }
    SetTextColor(dc, textColour_);
    draw(r);
}

void TransLabel::refreshLabelArea() {
    if (!hwnd_) {
        return;
    }
    RECT s;
    GetClientRect(hwnd_, &s);
    MapWindowPoints(hwnd_, HWND_DESKTOP, reinterpret_cast<POINT*>(&s), 2);
    refreshScreenArea(s);
}

void TransLabel::refreshScreenArea(const RECT& s) {
    HWND top = repaintRoot(hwnd_);

    RECT inTop = s;
    MapWindowPoints(HWND_DESKTOP, top, reinterpret_cast<POINT*>(&inTop), 2);
    InvalidateRect(top, &inTop, TRUE);
    UpdateWindow(top);

    std::vector<HWND> list;
    collectVisibleWindows(top, list);
    for (auto it = list.rbegin(); it != list.rend(); ++it) {
        RECT wr, overlap;
        GetWindowRect(*it, &wr);
        if (!IntersectRect(&overlap, &wr, &s)) {
            continue;
        }
        MapWindowPoints(HWND_DESKTOP, *it, reinterpret_cast<POINT*>(&overlap), 2);
        RedrawWindow(*it, &overlap, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ERASENOW);
    }
    InvalidateRect(hwnd_, nullptr, FALSE);
}

LRESULT TransLabel::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_WINDOWPOSCHANGING:
        if (!(reinterpret_cast<const WINDOWPOS*>(lParam)->flags & SWP_NOMOVE)) {
            GetWindowRect(hwnd_, &beforeMove_);
        }
        return SelfPaintedWindow::handleMessage(message, wParam, lParam);
    case WM_MOVE: {
        LRESULT r = DefWindowProcA(hwnd_, message, wParam, lParam);
        // The card beneath the old place must be repainted too, or the old text would
        // stay there: the canvas recomposes over what the screen shows.
        RECT now, both;
        GetWindowRect(hwnd_, &now);
        UnionRect(&both, &now, &beforeMove_);
        beforeMove_ = now;
        refreshScreenArea(both);
        return r;
    }
    default:
        return SelfPaintedWindow::handleMessage(message, wParam, lParam);
    }
}
