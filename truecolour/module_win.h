// Module start-up: GDI+, the time frame-dimension identifier and the loader window class.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

// The token GdiplusStartup returned; nothing else reads it.
extern ULONG_PTR gdiplusToken;
// The GDI+ time frame dimension, filled by startTrueColourModule; null before and after.
extern std::unique_ptr<GUID> timeDimensionId;
// The one tooltip window of every panel in the process; created by the first setToolTip.
extern HWND sharedToolTipWindow;

// Called once, before any window of the tool exists.
void startTrueColourModule();
// Frees the identifier block (run by the exit callback).
void freeTimeDimensionId();

// An ANSI text as UTF-16 bytes, with the terminating zero unit.
std::string toWideText(const std::string& text);

// The window procedure of the "OrvaneLoadDialog" class.
LRESULT CALLBACK loaderWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
