// The font dialog of CommonDlg.
#include "app/controls_win.h"

bool CommonDlg::showFontDialog(HWND) { return false; }
