// Portrait picture: choosing a picture file and showing it under the frame.
#include "app/main_window_win.h"
#include "editor/file_io_win.h"
#include "editor/handlers_win.h"

void choosePicture(MainWindow& window) {
    if (!window.openPictureDialog.show(window.hwnd())) {
        return;
    }
    const std::string path = window.openPictureDialog.fileName;
    const std::string bytes = readWholeFile(path);
    window.portraitBox.setPicture(bytes);
    window.picturePathEdit.setText(path);
    applyFrame(window);
}
