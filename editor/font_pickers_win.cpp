// Font pickers: the four font buttons and their captions.
#include "app/main_window_win.h"
#include "editor/font_spec.h"
#include "editor/font_spec_win.h"
#include "editor/handlers_win.h"

#include <vector>

namespace {

struct FontButtonRow {
    Button* button;
    std::vector<TransLabel*> labels; // restyled in this order; the first one gives the caption
};

FontButtonRow rowOf(MainWindow& w, FontRow row) {
    switch (row) {
    case FontRow::Title:
        return {&w.titleFontButton, {&w.titleLabel}};
    case FontRow::Name:
        return {&w.nameFontButton, {&w.nameLabel}};
    case FontRow::Skill:
        return {&w.skillFontButton, {&w.skill1NameLabel, &w.skill2NameLabel}};
    case FontRow::Note:
    default:
        return {&w.noteFontButton, {&w.skill1NoteLabel, &w.skill2NoteLabel}};
    }
}

void showCaption(const FontButtonRow& row) {
    FontSpec first(*row.labels.front());
    row.button->setCaption(fontCaption(first.name(), first.size()));
}

} // namespace

void onFontButtonClicked(MainWindow& window, FontRow row) {
    if (!window.fontDialog.show(window.hwnd())) {
        return;
    }
    const CommonDlg::FontState& chosen = window.fontDialog.font;
    const FontButtonRow r = rowOf(window, row);
    for (TransLabel* label : r.labels) {
        // One write per field, in this order; the angle and the colour stay as they are.
        FontSpec spec(*label);
        spec.setName(chosen.name);
        spec.setBold(chosen.bold);
        spec.setItalic(chosen.italic);
        spec.setStrikeout(chosen.strikeout);
        spec.setUnderline(chosen.underline);
        spec.setSize(chosen.size);
    }
    showCaption(r);
}

void setFontButtonCaptions(MainWindow& window) {
    for (FontRow row : {FontRow::Title, FontRow::Name, FontRow::Skill, FontRow::Note}) {
        showCaption(rowOf(window, row));
    }
}
