// Module start-up: GDI+, the time frame-dimension identifier and the loader window class.
#pragma once

// Called once, before any window of the tool exists.
void startTrueColourModule();
// Frees the identifier block (run by the exit callback).
void freeTimeDimensionId();
