// Font pickers: the four font buttons and their captions.
#include "editor/handlers_win.h"

void onFontButtonClicked(MainWindow&, FontRow) {}
void setFontButtonCaptions(MainWindow&) {}
