// Where a picture box draws its picture, and how small a picture may be decoded
// without the screen showing any difference. Plain arithmetic, shared by painting and
// decoding.
#pragma once

#include "app/picture_format.h"

struct PlacedRect {
    int x = 0, y = 0, width = 0, height = 0;
};

// Display modes: 0 natural size at (0, 0); 1 stretched to the client area; 2 centred,
// shrunk with the aspect ratio kept when larger than the client area, never enlarged.
PlacedRect placePicture(int displayMode, PictureSize picture, PictureSize client);

// The smallest decoded size that shows the same on screen: twice what is drawn (0 × 0
// for "full size": natural-size mode and empty boxes).
PictureSize smallestDecode(int displayMode, PictureSize picture, PictureSize client);
