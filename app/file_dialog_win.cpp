// The open and save file dialogs of CommonDlg.
#include "app/controls_win.h"

bool CommonDlg::showFileDialog(HWND) { return false; }
