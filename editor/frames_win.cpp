// Frame selection: the six built-in frame images and applyFrame.
#include "editor/handlers_win.h"

void showDefaultFrame(MainWindow&) {}
void applyFrame(MainWindow&) {}
