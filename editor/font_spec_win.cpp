// FontSpec reads and writes on a label's LOGFONTA; fields it does not name are carried over.
#include "editor/font_spec_win.h"
#include "editor/font_spec.h"

#include <cstring>

int screenDpiY() {
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

template <typename Change> void FontSpec::write(Change change) {
    LOGFONTA lf = label_.fontRecord();
    change(lf);
    label_.setFont(lf);
}

int FontSpec::angle() const { return label_.fontRecord().lfOrientation; }

void FontSpec::setAngle(int tenthsOfDegree) {
    write([&](LOGFONTA& lf) { lf.lfEscapement = lf.lfOrientation = fontspec::normaliseAngle(tenthsOfDegree); });
}

bool FontSpec::bold() const { return label_.fontRecord().lfWeight >= FW_BOLD; }

void FontSpec::setBold(bool bold) {
    write([&](LOGFONTA& lf) { lf.lfWeight = bold ? FW_BOLD : FW_DONTCARE; });
}

bool FontSpec::italic() const { return label_.fontRecord().lfItalic != 0; }

void FontSpec::setItalic(bool italic) {
    write([&](LOGFONTA& lf) { lf.lfItalic = italic; });
}

bool FontSpec::strikeout() const { return label_.fontRecord().lfStrikeOut != 0; }

void FontSpec::setStrikeout(bool strikeout) {
    write([&](LOGFONTA& lf) { lf.lfStrikeOut = strikeout; });
}

bool FontSpec::underline() const { return label_.fontRecord().lfUnderline != 0; }

void FontSpec::setUnderline(bool underline) {
    write([&](LOGFONTA& lf) { lf.lfUnderline = underline; });
}

int FontSpec::size() const { return fontspec::sizeFromHeight(label_.fontRecord().lfHeight, screenDpiY()); }

void FontSpec::setSize(int points) {
    write([&](LOGFONTA& lf) { lf.lfHeight = fontspec::heightFromSize(points, screenDpiY()); });
}

std::string FontSpec::name() const {
    const LOGFONTA lf = label_.fontRecord();
    // A record from outside may lack its terminator.
    return std::string(lf.lfFaceName, strnlen(lf.lfFaceName, LF_FACESIZE));
}

void FontSpec::setName(const std::string& name) {
    write([&](LOGFONTA& lf) {
        const std::string stored = fontspec::storedFaceName(name);
        std::memset(lf.lfFaceName, 0, sizeof lf.lfFaceName);
        std::memcpy(lf.lfFaceName, stored.data(), stored.size());
    });
}
