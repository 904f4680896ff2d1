// FontSpec: a label's font seen as seven fields (angle, bold, italic, strikeout,
// underline, size, name). Each write changes one field of the label's font record and
// hands the whole record back to the label, which redraws.
#pragma once

#include "editor/trans_label_win.h"

#include <string>

// The screen's vertical logical pixels per inch, read afresh at each call.
int screenDpiY();

class FontSpec {
public:
    explicit FontSpec(TransLabel& label) : label_(label) {}

    int angle() const;
    void setAngle(int tenthsOfDegree);
    bool bold() const;
    void setBold(bool bold);
    bool italic() const;
    void setItalic(bool italic);
    bool strikeout() const;
    void setStrikeout(bool strikeout);
    bool underline() const;
    void setUnderline(bool underline);
    int size() const; // points
    void setSize(int points);
    std::string name() const;
    void setName(const std::string& name);

private:
    template <typename Change> void write(Change change);

    TransLabel& label_;
};
