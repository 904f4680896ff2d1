// Portrait picture: choosing a picture file and showing it under the frame.
#include "editor/handlers_win.h"

void choosePicture(MainWindow&) {}
