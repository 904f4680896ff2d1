// The card texts: what is typed in the six boxes shows in their labels on the card.
#include "tests/wine/window_fixture_win.h"

#include <gtest/gtest.h>

using namespace testing_support;

TEST(CardTexts, EachBoxFeedsItsLabel) {
    ShownMainWindow shown;
    ASSERT_TRUE(shown.ok);
    MainWindow& w = *shown;
    struct Pair {
        EditBox& edit;
        TransLabel& label;
    } pairs[] = {{w.titleEdit, w.titleLabel},           {w.nameEdit, w.nameLabel},
                 {w.skill1NameEdit, w.skill1NameLabel}, {w.skill1NoteEdit, w.skill1NoteLabel},
                 {w.skill2NameEdit, w.skill2NameLabel}, {w.skill2NoteEdit, w.skill2NoteLabel}};
    int i = 0;
    for (Pair& p : pairs) {
        std::string text = "文本" + std::to_string(++i) + "\r\n&x ";
        p.edit.setText(text);
        EXPECT_EQ(p.label.text(), text) << "byte for byte, untrimmed";
    }
    // Typing one character at a time keeps the label in step.
    SetWindowTextA(w.titleEdit.hwnd(), "");
    SetFocus(w.titleEdit.hwnd());
    for (char c : std::string("abc")) {
        SendMessageA(w.titleEdit.hwnd(), WM_CHAR, static_cast<unsigned char>(c), 1);
    }
    EXPECT_EQ(w.titleLabel.text(), "abc");
    SendMessageA(w.titleEdit.hwnd(), WM_CHAR, VK_BACK, 1);
    EXPECT_EQ(w.titleLabel.text(), "ab");
    // Typing in a note box, line break included.
    SetFocus(w.skill2NoteEdit.hwnd());
    for (char c : std::string("x\ry")) {
        SendMessageA(w.skill2NoteEdit.hwnd(), WM_CHAR, static_cast<unsigned char>(c), 1);
    }
    EXPECT_EQ(w.skill2NoteLabel.text(), w.skill2NoteEdit.text());
    EXPECT_EQ(w.skill2NoteLabel.text().substr(0, 1), "x");
}

TEST(CardTexts, TypedTextShowsOnTheCardAndEmptyingRestoresIt) {
    ShownMainWindow shown;
    ASSERT_TRUE(shown.ok);
    MainWindow& w = *shown;
    pump(200);
    Pixels before = readWindow(w.cardCanvas.hwnd());
    SetWindowTextA(w.nameEdit.hwnd(), "关羽");
    pump(200);
    Pixels typed = readWindow(w.cardCanvas.hwnd());
    int changed = 0, outside = 0;
    for (int y = 0; y < typed.height; ++y) {
        for (int x = 0; x < typed.width; ++x) {
            if (typed.at(x, y) != before.at(x, y)) {
                ++changed;
                bool inName = x >= 45 && x < 45 + 192 && y >= 309 && y < 309 + 32;
                outside += !inName;
            }
        }
    }
    EXPECT_GT(changed, 50) << "the name shows on the card";
    EXPECT_EQ(outside, 0) << "only inside the name label";
    SetWindowTextA(w.nameEdit.hwnd(), "");
    pump(200);
    EXPECT_EQ(readWindow(w.cardCanvas.hwnd()).data, before.data) << "the card beneath shows again";
}
