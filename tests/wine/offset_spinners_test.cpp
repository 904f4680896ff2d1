// The offset spinners: each arrow step changes the number box by one and moves its label
// to the base plus the box's offset, stopping exactly at 30 going up and at 0 going down.
#include "app/main_window_win.h"
#include "editor/handlers_win.h"

#include "tests/wine/window_fixture_win.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

using testing_support::pump;

using Shown = testing_support::ShownMainWindow;

RECT rectInParent(HWND w) {
    RECT r;
    GetWindowRect(w, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(w), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

struct PairControls {
    EditBox& box;
    TransLabel& label;
    Spin& spin;
    RECT start; // the label's rectangle in the layout
};

PairControls controls(MainWindow& m, OffsetPair pair) {
    if (pair == OffsetPair::Title) {
        return {m.titleOffsetEdit, m.titleLabel, m.titleOffsetSpin, {85, 20, 85 + 146, 20 + 32}};
    }
    return {m.nameOffsetEdit, m.nameLabel, m.nameOffsetSpin, {45, 309, 45 + 192, 309 + 32}};
}

// Presses an arrow of the real up-down control with the mouse.
void clickArrow(Spin& spin, bool up) {
    RECT r;
    GetClientRect(spin.hwnd(), &r);
    const LPARAM at = MAKELPARAM((r.right - r.left) / 2, up ? (r.bottom - r.top) / 4 : (r.bottom - r.top) * 3 / 4);
    SendMessageA(spin.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(spin.hwnd(), WM_LBUTTONUP, 0, at);
    pump(30);
}

} // namespace

TEST(OffsetSpinners, OneStepFromEachText) {
    struct Case {
        const char* name;
        OffsetPair pair;
        std::string text;
        int direction;
        std::string after;
        int left;
    } cases[] = {
        {"30 up stops", OffsetPair::Title, "30", 1, "30", 85},
        {"30 up stops (name)", OffsetPair::Name, "30", 1, "30", 45},
        {"0 down stops", OffsetPair::Title, "0", -1, "0", 85},
        {"0 down stops (name)", OffsetPair::Name, "0", -1, "0", 45},
        {"0 up", OffsetPair::Title, "0", 1, "1", 86},
        {"0 up (name)", OffsetPair::Name, "0", 1, "1", 46},
        {"29 up reaches 30", OffsetPair::Name, "29", 1, "30", 75},
        {"30 down", OffsetPair::Title, "30", -1, "29", 114},
        {"45 up goes on", OffsetPair::Title, "45", 1, "46", 131},
        {"45 down", OffsetPair::Title, "45", -1, "44", 129},
        {"-3 down goes on", OffsetPair::Title, "-3", -1, "-4", 81},
        {"-3 up", OffsetPair::Title, "-3", 1, "-2", 83},
        {"letters up", OffsetPair::Title, "abc", 1, "1", 86},
        {"letters down keeps the letters", OffsetPair::Title, "abc", -1, "abc", 85},
        {"empty up", OffsetPair::Name, "", 1, "1", 46},
        {"empty down", OffsetPair::Name, "", -1, "", 45},
        {"leading zeros", OffsetPair::Title, "007", 1, "8", 93},
        {"leading space", OffsetPair::Title, " 12", -1, "11", 96},
        {"pasted full-width 12", OffsetPair::Title, "\xA3\xB1\xA3\xB2", 1, "13", 98},
        {"any other direction is down", OffsetPair::Title, "5", 0, "4", 89},
        {"direction 2 is down", OffsetPair::Title, "5", 2, "4", 89},
        {"far right is clamped", OffsetPair::Title, "40000", 1, "40001", 32627},
        {"far left is clamped", OffsetPair::Name, "-40000", -1, "-40001", -32627},
        {"largest wraps", OffsetPair::Title, "2147483647", 1, "-2147483648", -32627},
        {"smallest wraps", OffsetPair::Title, "-2147483648", -1, "2147483647", 32627},
    };
    Shown w;
    ASSERT_TRUE(w.ok);
    for (const Case& c : cases) {
        PairControls p = controls(*w.window, c.pair);
        p.label.setLeft(p.start.left);
        p.box.setText(c.text);
        onOffsetSpin(*w.window, c.pair, c.direction);
        EXPECT_EQ(p.box.text(), c.after) << c.name;
        const RECT r = rectInParent(p.label.hwnd());
        EXPECT_EQ(r.left, c.left) << c.name;
        EXPECT_EQ(r.top, p.start.top) << c.name;
        EXPECT_EQ(r.right - r.left, p.start.right - p.start.left) << c.name;
        EXPECT_EQ(r.bottom - r.top, p.start.bottom - p.start.top) << c.name;
    }
}

TEST(OffsetSpinners, TypingMovesNothingUntilTheNextStep) {
    Shown w;
    ASSERT_TRUE(w.ok);
    MainWindow& m = *w.window;
    SetFocus(m.titleOffsetEdit.hwnd());
    SendMessageA(m.titleOffsetEdit.hwnd(), EM_SETSEL, 0, -1);
    for (char ch : std::string("25")) {
        SendMessageA(m.titleOffsetEdit.hwnd(), WM_CHAR, static_cast<WPARAM>(ch), 0);
    }
    pump(30);
    ASSERT_EQ(m.titleOffsetEdit.text(), "25");
    EXPECT_EQ(m.titleLabel.left(), 85);
    onOffsetSpin(m, OffsetPair::Title, 1);
    EXPECT_EQ(m.titleOffsetEdit.text(), "26");
    EXPECT_EQ(m.titleLabel.left(), 111);
    EXPECT_EQ(m.nameLabel.left(), 45) << "the other pair stays";
    EXPECT_EQ(m.nameOffsetEdit.text(), "0");
}

TEST(OffsetSpinners, StepsUpToThirtyAndBackToZero) {
    Shown w;
    ASSERT_TRUE(w.ok);
    MainWindow& m = *w.window;
    for (int i = 0; i < 35; ++i) {
        onOffsetSpin(m, OffsetPair::Name, 1);
    }
    EXPECT_EQ(m.nameOffsetEdit.text(), "30");
    EXPECT_EQ(m.nameLabel.left(), 75);
    for (int i = 0; i < 35; ++i) {
        onOffsetSpin(m, OffsetPair::Name, -1);
    }
    EXPECT_EQ(m.nameOffsetEdit.text(), "0");
    EXPECT_EQ(m.nameLabel.left(), 45);
}

// The real up-down controls, pressed with the mouse: the upper arrow steps up.
TEST(OffsetSpinners, UpperArrowStepsUpLowerArrowDown) {
    for (OffsetPair pair : {OffsetPair::Title, OffsetPair::Name}) {
        Shown w;
        ASSERT_TRUE(w.ok);
        PairControls p = controls(*w.window, pair);
        const int base = p.start.left;
        clickArrow(p.spin, true);
        EXPECT_EQ(p.box.text(), "1");
        EXPECT_EQ(p.label.left(), base + 1);
        clickArrow(p.spin, true);
        clickArrow(p.spin, true);
        EXPECT_EQ(p.box.text(), "3");
        EXPECT_EQ(p.label.left(), base + 3);
        clickArrow(p.spin, false);
        EXPECT_EQ(p.box.text(), "2");
        EXPECT_EQ(p.label.left(), base + 2);
        clickArrow(p.spin, false);
        clickArrow(p.spin, false);
        clickArrow(p.spin, false);
        EXPECT_EQ(p.box.text(), "0") << "stops at 0";
        EXPECT_EQ(p.label.left(), base);
    }
}
