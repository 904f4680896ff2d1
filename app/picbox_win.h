// The picture box: shows a picture file held in memory (BMP, JPEG, ICO, CUR, GIF, PCX).
#pragma once

#include "app/controls_win.h"

// A picture box showing a picture file held in memory.
class PicBox : public WindowBase {
public:
    struct Args {
        Place place;
        int border = 0;
        COLORREF backgroundColour = kButtonFace;
        int displayMode = 0;
        bool animate = true;
    };
    static constexpr COLORREF kButtonFace = 0xFF000000;

    bool create(const Args& args);

    // Stores the bytes, decodes them by their first bytes and repaints.
    void setPicture(const std::string& bytes);
    const std::string& picture() const { return picture_; }
    bool hasBitmap() const;
    int border() const { return border_; }
    COLORREF backgroundColour() const { return backgroundColour_; }
    int displayMode() const { return displayMode_; }
    bool animate() const { return animate_; }
    void setBorder(int border);
    void setDisplayMode(int mode);
    void setBackgroundColour(COLORREF colour);
    void setAnimate(bool animate);

    void paint(HDC dc) const;

protected:
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    int border_ = 0;
    COLORREF backgroundColour_ = kButtonFace;
    int displayMode_ = 0;
    bool animate_ = true;
    std::string picture_;
    // The decoded picture; filled by the picture decoders (app/picture_*).
    gdi::Bitmap bitmap_;
    int bitmapWidth_ = 0, bitmapHeight_ = 0;
};
