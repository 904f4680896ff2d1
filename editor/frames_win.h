// The six built-in frame images, keyed by camp and health.
#pragma once

#include <array>
#include <optional>
#include <string_view>

// A complete PNG file held in the executable; never modified or freed.
using FrameImage = std::string_view;
// Rows by camp (0 Lord, 1 Minister, 2 Commoner), columns by health (0 Three, 1 Four).
using FrameImageTable = std::array<std::array<FrameImage, 2>, 3>;

const FrameImageTable& frameImageTable();

// Camp 0 Lord, 1 Minister, 2 Commoner; health 0 Three, 1 Four. None for any other pair.
std::optional<FrameImage> frameImage(int camp, int health);
