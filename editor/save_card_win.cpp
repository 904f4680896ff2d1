// Saving the card image as the screen shows it.
#include "editor/handlers_win.h"

void saveCardImage(MainWindow&) {}
