// The control kinds of the main window's layout.
#include "app/controls_win.h"
#include "app/link_command.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>

namespace {

HINSTANCE instance() { return GetModuleHandleA(nullptr); }

void useDefaultGuiFont(HWND w) {
    SendMessageA(w, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
}

std::string windowText(HWND w) {
    int n = GetWindowTextLengthA(w);
    if (n <= 0) {
        return {};
    }
    std::string text(static_cast<size_t>(n) + 1, '\0');
    int got = GetWindowTextA(w, text.data(), n + 1);
    text.resize(static_cast<size_t>(std::max(got, 0)));
    return text;
}

// Discards typed characters other than digits and '-'; control characters (backspace,
// the clipboard shortcuts) pass, so pasted text is not filtered.
LRESULT CALLBACK integerFilterProc(HWND w, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    if (message == WM_CHAR) {
        auto c = static_cast<unsigned>(wParam);
        bool control = c < 0x20 || c == 0x7F;
        bool allowed = (c >= '0' && c <= '9') || c == '-';
        if (!control && !allowed) {
            return 0;
        }
    } else if (message == WM_IME_CHAR) {
        return 0;
    }
    return DefSubclassProc(w, message, wParam, lParam);
}

// A group box is the parent of the controls inside it: their notifications go on to the
// top-level window, where the handlers are bound.
LRESULT CALLBACK groupForwardProc(HWND w, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    if (message == WM_COMMAND || message == WM_NOTIFY) {
        return SendMessageA(GetAncestor(w, GA_ROOT), message, wParam, lParam);
    }
    return DefSubclassProc(w, message, wParam, lParam);
}

int defaultGuiFontHeight() {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICA tm{};
    GetTextMetricsA(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return tm.tmHeight;
}

} // namespace

// ---- EditBox

bool EditBox::create(const Args& a) {
    DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
    int height = a.place.height;
    if (a.multiLine) {
        style |= ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL;
    } else {
        style |= ES_AUTOHSCROLL;
        height = std::max(height, defaultGuiFontHeight() + 2 * GetSystemMetrics(SM_CYEDGE));
    }
    if (a.readOnly) {
        style |= ES_READONLY;
    }
    if (a.centred) {
        style |= ES_CENTER;
    }
    multiLine_ = a.multiLine;
    hwnd_ = CreateWindowExA(WS_EX_CLIENTEDGE, "Edit", a.text.c_str(), style, a.place.x, a.place.y, a.place.width,
                            height, a.place.parent, nullptr, instance(), nullptr);
    if (!hwnd_) {
        return false;
    }
    useDefaultGuiFont(hwnd_);
    if (a.integerInput) {
        SetWindowSubclass(hwnd_, integerFilterProc, 1, 0);
    }
    return true;
}

std::string EditBox::text() const { return windowText(hwnd_); }

void EditBox::setText(const std::string& text) {
    SetWindowTextA(hwnd_, text.c_str());
    // A multi-line edit control does not notify a programmatic write; the event is owed.
    if (multiLine_) {
        SendMessageA(GetParent(hwnd_), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd_), EN_CHANGE),
                     reinterpret_cast<LPARAM>(hwnd_));
    }
}

// ---- Label

bool Label::create(const Args& a) {
    const char* cls = registerClass("TarvokLabel", CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS, nullptr,
                                    LoadCursorA(nullptr, IDC_ARROW));
    colour_ = a.colour;
    return createWindow(0, cls, a.text.c_str(), WS_CHILD | WS_VISIBLE, a.place.x, a.place.y, a.place.width,
                        a.place.height, a.place.parent) != nullptr;
}

std::string Label::text() const { return windowText(hwnd_); }

void Label::paint(HDC dc) const {
    RECT r;
    GetClientRect(hwnd_, &r);
    FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
    std::string t = text();
    gdi::SelectGuard font(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colour_);
    DrawTextA(dc, t.c_str(), static_cast<int>(t.size()), &r, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
}

LRESULT Label::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SETTEXT: {
        LRESULT r = DefWindowProcA(hwnd_, message, wParam, lParam);
        InvalidateRect(hwnd_, nullptr, FALSE);
        return r;
    }
    default:
        return SelfPaintedWindow::handleMessage(message, wParam, lParam);
    }
}

// ---- Button

bool Button::create(const Args& a) {
    hwnd_ = CreateWindowExA(0, "Button", a.caption.c_str(),
                            WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON | BS_MULTILINE | BS_CENTER | BS_VCENTER,
                            a.place.x, a.place.y, a.place.width, a.place.height, a.place.parent, nullptr, instance(),
                            nullptr);
    if (hwnd_) {
        useDefaultGuiFont(hwnd_);
    }
    return hwnd_ != nullptr;
}

std::string Button::caption() const { return windowText(hwnd_); }

void Button::setCaption(const std::string& caption) { SetWindowTextA(hwnd_, caption.c_str()); }

// ---- GroupBox

bool GroupBox::create(const Args& a) {
    hwnd_ = CreateWindowExA(0, "Button", a.title.c_str(), WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | BS_GROUPBOX,
                            a.place.x, a.place.y, a.place.width, a.place.height, a.place.parent, nullptr, instance(),
                            nullptr);
    if (!hwnd_) {
        return false;
    }
    useDefaultGuiFont(hwnd_);
    SetWindowSubclass(hwnd_, groupForwardProc, 1, 0);
    return true;
}

// ---- ComboBox

bool ComboBox::create(const Args& a) {
    hwnd_ = CreateWindowExA(0, "ComboBox", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST,
                            a.place.x, a.place.y, a.place.width, std::max(a.place.height, kCreatedHeight),
                            a.place.parent, nullptr, instance(), nullptr);
    if (!hwnd_) {
        return false;
    }
    useDefaultGuiFont(hwnd_);
    for (const std::string& item : a.items) {
        SendMessageA(hwnd_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    }
    // List items one pixel taller than standard. Set on the list itself: Wine's combo box
    // passes CB_SETITEMHEIGHT on to its list only when it is owner-drawn.
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    LRESULT itemHeight = SendMessageA(hwnd_, CB_GETITEMHEIGHT, 0, 0);
    if (itemHeight > 0 && GetComboBoxInfo(hwnd_, &info) && info.hwndList) {
        SendMessageA(info.hwndList, LB_SETITEMHEIGHT, 0, itemHeight + 1);
    }
    return true;
}

int ComboBox::selectionIndex() const { return static_cast<int>(SendMessageA(hwnd_, CB_GETCURSEL, 0, 0)); }

void ComboBox::setSelectionIndex(int index) { SendMessageA(hwnd_, CB_SETCURSEL, static_cast<WPARAM>(index), 0); }

// ---- HyperLinker

bool HyperLinker::create(const Args& a) {
    const char* cls = registerClass("TarvokHyperLinker", CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS, nullptr,
                                    LoadCursorA(nullptr, IDC_HAND));
    address_ = a.address;
    return createWindow(0, cls, a.caption.c_str(), WS_CHILD | WS_VISIBLE, a.place.x, a.place.y, a.place.width,
                        a.place.height, a.place.parent) != nullptr;
}

COLORREF HyperLinker::currentColour() const {
    if (hovering_) {
        return kHover;
    }
    return opened_ ? kOpened : kNormal;
}

void HyperLinker::paint(HDC dc) const {
    RECT r;
    GetClientRect(hwnd_, &r);
    FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
    std::string t = windowText(hwnd_);
    gdi::SelectGuard font(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, currentColour());
    DrawTextA(dc, t.c_str(), static_cast<int>(t.size()), &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

void HyperLinker::open() {
    if (address_.empty()) {
        return;
    }
    opened_ = openLinkAddress(address_);
    InvalidateRect(hwnd_, nullptr, FALSE);
}

LRESULT HyperLinker::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_MOUSEMOVE: {
        RECT r;
        GetClientRect(hwnd_, &r);
        POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        bool inside = PtInRect(&r, p) != 0;
        if (inside && !hovering_) {
            hovering_ = true;
            SetCapture(hwnd_);
            InvalidateRect(hwnd_, nullptr, FALSE);
        } else if (!inside && hovering_) {
            ReleaseCapture(); // WM_CAPTURECHANGED clears the hover state
        }
        return 0;
    }
    case WM_CAPTURECHANGED:
        if (hovering_) {
            hovering_ = false;
            InvalidateRect(hwnd_, nullptr, FALSE);
        }
        return 0;
    case WM_LBUTTONDOWN:
        open();
        return 0;
    default:
        return SelfPaintedWindow::handleMessage(message, wParam, lParam);
    }
}

namespace {
std::string registryDefaultValue(HKEY root, const std::string& key) {
    LONG size = 0;
    if (RegQueryValueA(root, key.c_str(), nullptr, &size) != ERROR_SUCCESS || size <= 0) {
        return {};
    }
    std::string value(static_cast<size_t>(size), '\0');
    if (RegQueryValueA(root, key.c_str(), value.data(), &size) != ERROR_SUCCESS) {
        return {};
    }
    value.resize(strnlen(value.c_str(), value.size()));
    return value;
}
} // namespace

bool openLinkAddress(const std::string& address) {
    auto shell = reinterpret_cast<INT_PTR>(
        ShellExecuteA(nullptr, "open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    if (shell > 32) {
        return true;
    }
    std::string type = registryDefaultValue(HKEY_CLASSES_ROOT, ".htm");
    if (type.empty()) {
        return false;
    }
    std::string command = registryDefaultValue(HKEY_CLASSES_ROOT, type + "\\shell\\open\\command");
    if (command.empty()) {
        return false;
    }
    std::string line = browserCommandLine(command, address);
    return WinExec(line.c_str(), SW_SHOWNORMAL) > 31;
}

// ---- Spin

bool Spin::create(const Args& a) {
    hwnd_ = CreateWindowExA(0, UPDOWN_CLASSA, "", WS_CHILD | WS_VISIBLE, a.place.x, a.place.y, a.place.width,
                            a.place.height, a.place.parent, nullptr, instance(), nullptr);
    if (!hwnd_) {
        return false;
    }
    // The position never changes (each step is refused in UDN_DELTAPOS), so it never
    // reaches an end of the range; one unit per step, however long an arrow is held.
    SendMessageA(hwnd_, UDM_SETRANGE32, static_cast<WPARAM>(-1000000), 1000000);
    SendMessageA(hwnd_, UDM_SETPOS32, 0, 0);
    UDACCEL accel{0, 1};
    SendMessageA(hwnd_, UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
    return true;
}

// ---- CommonDlg

bool CommonDlg::create(const Args& a) {
    type_ = a.type;
    filter_ = a.filter;
    hwnd_ = CreateWindowExA(0, "Static", "", WS_CHILD, a.place.x, a.place.y, a.place.width, a.place.height,
                            a.place.parent, nullptr, instance(), nullptr);
    return hwnd_ != nullptr;
}

bool CommonDlg::show(HWND owner) {
    return type_ == Type::ChooseFont ? showFontDialog(owner) : showFileDialog(owner);
}
