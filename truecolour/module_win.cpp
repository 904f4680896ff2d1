// Module start-up (placeholder until the module lands).
#include "truecolour/module_win.h"

void startTrueColourModule() {}
void freeTimeDimensionId() {}
