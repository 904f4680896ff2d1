// The font dialog of CommonDlg: the system's font chooser, remembering the last accepted font.
#include "app/controls_win.h"
#include "editor/font_spec.h"
#include "editor/font_spec_win.h"

#include <commdlg.h>

#include <cstring>

bool CommonDlg::showFontDialog(HWND owner) {
    LOGFONTA lf;
    std::memset(&lf, 0, sizeof lf);
    if (font.bold) {
        lf.lfWeight = FW_BOLD;
    }
    lf.lfItalic = font.italic;
    lf.lfUnderline = font.underline;
    lf.lfStrikeOut = font.strikeout;
    if (!font.name.empty()) {
        lstrcpynA(lf.lfFaceName, font.name.c_str(), LF_FACESIZE);
    }
    if (font.size != 0) {
        lf.lfHeight = -fontspec::mulDiv(font.size, screenDpiY(), 72);
    }

    CHOOSEFONTA cf;
    std::memset(&cf, 0, sizeof cf);
    cf.lStructSize = sizeof cf;
    cf.hwndOwner = owner;
    cf.lpLogFont = &lf;
    cf.Flags = CF_SCREENFONTS | CF_EFFECTS | CF_INITTOLOGFONTSTRUCT;
    cf.rgbColors = font.colour;
    if (!ChooseFontA(&cf)) {
        return false;
    }
    font.colour = cf.rgbColors;
    font.bold = lf.lfWeight >= FW_BOLD;
    font.italic = lf.lfItalic != 0;
    font.strikeout = lf.lfStrikeOut != 0;
    font.underline = lf.lfUnderline != 0;
    font.name.assign(lf.lfFaceName, strnlen(lf.lfFaceName, LF_FACESIZE));
    font.size = fontspec::sizeFromHeight(lf.lfHeight, screenDpiY());
    return true;
}
