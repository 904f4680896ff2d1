// Saving the card image: the wait that lets the screen repaint, and the capture.
#pragma once

#include <windows.h>

#include <string>

// Dispatches every message, as the main loop would, until ms milliseconds have passed;
// sleeps while the queue is empty. A WM_QUIT stays queued for the main loop.
void pumpEventsFor(int ms);

// The 24-bit BMP file image of what the screen shows in window's rectangle; empty when it
// cannot be made.
std::string captureWindowImage(HWND window);
