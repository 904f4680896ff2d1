// The control kinds of the main window's layout: thin wrappers made from an args struct.
// Each wrapper creates its window once and reads and writes the settings handlers use.
#pragma once

#include "app/window_base_win.h"
#include "truecolour/gdi_owner.h"

#include <string>
#include <vector>

// Where a control goes: its parent and its rectangle in the parent's client area.
struct Place {
    HWND parent = nullptr;
    int x = 0, y = 0, width = 0, height = 0;
};

// Messages our control kinds send to the top-level window.
enum : UINT {
    // A combo box's accepted selection, delivered through the queue (wParam = combo HWND).
    WM_APP_COMBO_SELECTED = WM_APP + 1,
};

class EditBox {
public:
    struct Args {
        Place place;
        std::string text;
        bool multiLine = false; // wraps, scrolls vertically, takes Enter as a line break
        bool readOnly = false;
        bool integerInput = false; // typed characters other than 0-9 and '-' are discarded
        bool centred = false;
    };
    bool create(const Args& args);
    HWND hwnd() const { return hwnd_; }
    std::string text() const;
    void setText(const std::string& text);
    bool isMultiLine() const { return multiLine_; }

private:
    HWND hwnd_ = nullptr;
    bool multiLine_ = false;
};

// Static text in one line, button-face background, vertically centred.
class Label : public SelfPaintedWindow {
public:
    struct Args {
        Place place;
        std::string text;
        COLORREF colour = RGB(0, 0, 0);
    };
    bool create(const Args& args);
    std::string text() const;
    COLORREF colour() const { return colour_; }
    // Paints into any DC, so WM_PAINT, WM_PRINTCLIENT and tests share it.
    void paint(HDC dc) const override;

protected:
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    COLORREF colour_ = RGB(0, 0, 0);
};

class Button {
public:
    struct Args {
        Place place;
        std::string caption;
    };
    bool create(const Args& args);
    HWND hwnd() const { return hwnd_; }
    std::string caption() const;
    void setCaption(const std::string& caption);

private:
    HWND hwnd_ = nullptr;
};

// A group-box frame that is also the parent of the controls inside it; it passes their
// notifications on to the top-level window.
class GroupBox {
public:
    struct Args {
        Place place;
        std::string title;
    };
    bool create(const Args& args);
    HWND hwnd() const { return hwnd_; }

private:
    HWND hwnd_ = nullptr;
};

class ComboBox {
public:
    struct Args {
        Place place;
        std::vector<std::string> items;
    };
    static constexpr int kCreatedHeight = 160;
    bool create(const Args& args);
    HWND hwnd() const { return hwnd_; }
    int selectionIndex() const;
    void setSelectionIndex(int index);

private:
    HWND hwnd_ = nullptr;
};

// Link text that opens its address through the shell.
class HyperLinker : public SelfPaintedWindow {
public:
    struct Args {
        Place place;
        std::string caption;
        std::string address;
    };
    static constexpr COLORREF kNormal = RGB(0, 0, 255);
    static constexpr COLORREF kHover = RGB(49, 106, 197);
    static constexpr COLORREF kOpened = RGB(128, 0, 0);

    bool create(const Args& args);
    const std::string& address() const { return address_; }
    bool opened() const { return opened_; }
    bool hovering() const { return hovering_; }
    COLORREF currentColour() const;
    void paint(HDC dc) const override;
    // What a left click does: opens the address and remembers whether that worked.
    void open();

protected:
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    std::string address_;
    bool opened_ = false;
    bool hovering_ = false;
};

// Opens an address with the shell's "open"; falls back to the browser registered for .htm.
bool openLinkAddress(const std::string& address);

// Vertical up-down arrows, attached to nothing. The top-level window turns their
// notifications into one event per step with direction 1 (up) or -1 (down).
class Spin {
public:
    struct Args {
        Place place;
    };
    bool create(const Args& args);
    HWND hwnd() const { return hwnd_; }

private:
    HWND hwnd_ = nullptr;
};

// A control that is never visible; it runs a system dialog on request and keeps the result.
class CommonDlg {
public:
    enum class Type { OpenFile, SaveFile, ChooseFont };
    struct Args {
        Place place;
        Type type = Type::OpenFile;
        std::string filter; // "description|pattern|..." as stored in the layout
    };
    // The font dialog's state, shared by everything that opens it.
    struct FontState {
        std::string name;
        int size = 0; // points
        bool bold = false, italic = false, strikeout = false, underline = false;
        COLORREF colour = 0;
    };

    bool create(const Args& args);
    HWND hwnd() const { return hwnd_; }
    Type type() const { return type_; }
    // Runs the dialog modally; true when the user accepted it.
    bool show(HWND owner);

    std::string fileName; // full path of the last accepted file; pre-fills the next dialog
    FontState font;

private:
    bool showFileDialog(HWND owner);
    bool showFontDialog(HWND owner);

    HWND hwnd_ = nullptr;
    Type type_ = Type::OpenFile;
    std::string filter_;
};
