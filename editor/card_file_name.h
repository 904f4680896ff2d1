// The name the card is written under: the chosen name, ending in ".jpg".
#pragma once

#include <string>

// Appends ".jpg" unless the last four bytes are exactly ".jpg" (case counts).
std::string cardFileName(const std::string& chosen);
