// The picture box: shows a picture file held in memory (BMP, JPEG, ICO, CUR, GIF, PCX).
#pragma once

#include "app/controls_win.h"
#include "app/picture_decoding_win.h"
#include "app/picture_placement.h"

#include <memory>

// A picture box showing a picture file held in memory.
class PicBox : public SelfPaintedWindow {
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
    // The picture's own size and the size it was decoded at (smaller for a large JPEG
    // that the box shrinks anyway); 0 × 0 without a bitmap.
    PictureSize naturalSize() const { return decoded_.natural; }
    PictureSize decodedSize() const { return decoded_.decoded; }
    // The animation frame shown, and how many there are (1 for a still picture).
    int currentFrame() const { return frame_; }
    int frameCount() const { return animation_ ? animation_->frameCount() : (hasBitmap() ? 1 : 0); }
    int border() const { return border_; }
    COLORREF backgroundColour() const { return backgroundColour_; }
    int displayMode() const { return displayMode_; }
    bool animate() const { return animate_; }
    void setBorder(int border);
    void setDisplayMode(int mode);
    void setBackgroundColour(COLORREF colour);
    void setAnimate(bool animate);

    void paint(HDC dc) const override;

protected:
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void decode();
    void redecodeIfScaled();
    void startAnimation();
    void stopAnimation();
    void showFrame(int frame);
    void invalidateWithWindowsAbove();
    COLORREF backgroundRgb() const;
    const gdi::Bitmap& stretched(HDC dc, HDC source, const PlacedRect& to) const;

    int border_ = 0;
    COLORREF backgroundColour_ = kButtonFace;
    int displayMode_ = 0;
    bool animate_ = true;
    std::string picture_;
    // The decoded picture and, for an animated GIF, its frames.
    DecodedPicture decoded_;
    std::unique_ptr<GifAnimation> animation_;
    int frame_ = 0;
    // The picture as last stretched for the screen: the labels above the portrait
    // repaint parts of it on every keystroke, and stretching a large picture each time
    // costs far more than copying the result.
    mutable gdi::Bitmap stretched_;
    mutable PlacedRect stretchedRect_;
    mutable bool stretchedDeep_ = false;
};
