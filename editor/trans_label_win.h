// TransLabel: a transparent text label on the card. It draws only its text, straight
// over whatever the card shows beneath it, and repaints everything under itself on change.
#pragma once

#include "app/window_base_win.h"

#include <string>

class TransLabel : public SelfPaintedWindow {
public:
    struct Args {
        HWND parent = nullptr;
        int x = 0, y = 0, width = 0, height = 0;
        std::string faceName;
        int characterHeight = 0; // pixels; the LOGFONT height is its negative
        int weight = 400;
        COLORREF textColour = 0;
        int horizontalAlignment = 0;
        int verticalAlignment = 1;
        bool wordWrap = false;
    };
    static constexpr size_t kFontRecordSize = sizeof(LOGFONTA);
    static_assert(sizeof(LOGFONTA) == 60, "the font setting is the 60-byte ANSI LOGFONT");

    bool create(const Args& args);

    // Settings. Every assignment stores (clamped where needed) and runs refreshLabelArea.
    const std::string& text() const { return text_; }
    void setText(const std::string& text);
    int effect() const { return effect_; }
    void setEffect(int effect);
    // The 60 bytes of the font record, or empty for none (any other length draws in
    // the default GUI font).
    const std::string& font() const { return font_; }
    void setFont(const std::string& record);
    void setFont(const LOGFONTA& record);
    // The label's font record, or the default GUI font's when it has none.
    LOGFONTA fontRecord() const;
    COLORREF textColour() const { return textColour_; }
    void setTextColour(COLORREF colour);
    int horizontalAlignment() const { return horizontalAlignment_; }
    void setHorizontalAlignment(int alignment);
    int verticalAlignment() const { return verticalAlignment_; }
    void setVerticalAlignment(int alignment);
    bool wordWrap() const { return wordWrap_; }
    void setWordWrap(bool wrap);

    // The left edge in the parent's client coordinates; moving clamps to +-32627.
    int left() const;
    void setLeft(int x);

    // Draws the text into dc over what is there (the label's client rectangle).
    void paintLabel(HDC dc) const;
    void paint(HDC dc) const override { paintLabel(dc); }
    // Repaints, bottom first, everything beneath the label, then queues the label's own paint.
    void refreshLabelArea();

protected:
    // Repaints, bottom first, everything under the screen rectangle s, then the label.
    void refreshScreenArea(const RECT& s);
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    std::string text_;
    int effect_ = 0;
    std::string font_;
    COLORREF textColour_ = 0;
    int horizontalAlignment_ = 0;
    int verticalAlignment_ = 0;
    bool wordWrap_ = false;
    RECT beforeMove_{}; // the window rectangle before the move in progress
};
