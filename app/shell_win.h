// The application shell: COM, the current directory, the exit callback and the end.
#pragma once

#include <windows.h>

class TrueColourPanel;

// The program's one panel object; bound to cardCanvas once the window exists.
extern TrueColourPanel* framePanel;

// Initialises COM (OLE) and makes the executable's folder the current directory.
void startShell();
// Stores the one exit callback; it is cleared as it is called, so it runs at most once.
void registerExitCallback(void (*callback)());
// Runs the exit callback if it is still registered.
void runExitCallback();
// The shell's own clean-up: COM un-initialised.
void shutDownShell();
// Runs the exit callback and the shell's clean-up, then ends the process with code.
[[noreturn]] void exitProgram(int code);
// Dispatches one message the way the main loop does (the main window's keys first).
void dispatchMessage(MSG& msg);
