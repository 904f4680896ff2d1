// The main window: its settings, the 48 controls of the layout, keys and control kinds.
#include "app/shell_win.h"
#include "tests/wine/window_fixture_win.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <map>
#include <string>

using namespace testing_support;

namespace {

std::string className(HWND w) {
    char name[64] = {};
    GetClassNameA(w, name, sizeof name);
    return name;
}

std::string windowText(HWND w) {
    char text[256] = {};
    GetWindowTextA(w, text, sizeof text);
    return text;
}

RECT rectInParent(HWND w) {
    RECT r;
    GetWindowRect(w, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(w), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

enum class Parent { Main, Canvas, CardInfo, Skill, Picture };

struct Expected {
    const char* name;
    Parent parent;
    int x, y, w, h;
    const char* cls;
    const char* text;
    bool visible;
};

// The layout, in layout order.
const Expected kRoster[] = {
    {"saveImageDialog", Parent::Main, 152, 128, 26, 26, "Static", "", false},
    {"openPictureDialog", Parent::Canvas, 80, 56, 26, 26, "Static", "", false},
    {"skill2NoteLabel", Parent::Canvas, 75, 411, 244, 71, "TarvokTransLabel", "", true},
    {"skill1NoteLabel", Parent::Canvas, 75, 364, 244, 61, "TarvokTransLabel", "", true},
    {"skill2NameLabel", Parent::Canvas, 32, 413, 70, 26, "TarvokTransLabel", "", true},
    {"skill1NameLabel", Parent::Canvas, 33, 364, 70, 26, "TarvokTransLabel", "", true},
    {"nameOffsetSpin", Parent::CardInfo, 196, 73, 16, 20, "msctls_updown32", "", true},
    {"nameOffsetEdit", Parent::CardInfo, 158, 73, 38, 20, "Edit", "0", true},
    {"sizeTipLabel", Parent::Main, 355, 512, 228, 16, "TarvokLabel", "温馨提示：最佳图片大小：\r\n305×400", true},
    {"forumLink", Parent::Main, 3, 512, 96, 16, "TarvokHyperLinker", "贴吧：Tarvok吧", true},
    {"homeLink", Parent::Main, 208, 512, 142, 16, "TarvokHyperLinker", "本程序由Mirelda提供", true},
    {"saveButton", Parent::Main, 354, 477, 226, 26, "Button", "保存图片", true},
    {"noteFontButton", Parent::Skill, 82, 212, 125, 20, "Button", "默认字体", true},
    {"noteFontPrompt", Parent::Skill, 15, 215, 63, 16, "TarvokLabel", "注释字体:", true},
    {"nameLabel", Parent::Canvas, 45, 309, 192, 32, "TarvokTransLabel", "", true},
    {"titleOffsetSpin", Parent::CardInfo, 196, 15, 16, 20, "msctls_updown32", "", true},
    {"titleOffsetEdit", Parent::CardInfo, 158, 15, 38, 20, "Edit", "0", true},
    {"fontDialog", Parent::Canvas, 152, 253, 26, 26, "Static", "", false},
    {"titleLabel", Parent::Canvas, 85, 20, 146, 32, "TarvokTransLabel", "", true},
    {"cardCanvas", Parent::Main, 9, 14, 336, 487, "TarvokPicBox", nullptr, true},
    {"choosePictureButton", Parent::Picture, 158, 18, 64, 20, "Button", "选择图片", true},
    {"picturePathEdit", Parent::Picture, 7, 18, 145, 20, "Edit", "", true},
    {"pictureGroup", Parent::Main, 352, 7, 230, 50, "Button", "图片文件选择", true},
    {"skillFontButton", Parent::Skill, 82, 187, 125, 20, "Button", "默认字体", true},
    {"skillFontPrompt", Parent::Skill, 15, 188, 56, 16, "TarvokLabel", "技能字体:", true},
    {"skill2NoteEdit", Parent::Skill, 82, 131, 126, 50, "Edit", "", true},
    {"skill2NotePrompt", Parent::Skill, 15, 136, 65, 16, "TarvokLabel", "技能2注释:", true},
    {"skill2NameEdit", Parent::Skill, 82, 104, 125, 20, "Edit", "", true},
    {"skill2NamePrompt", Parent::Skill, 15, 107, 65, 16, "TarvokLabel", "技能2名字:", true},
    {"skill1NoteEdit", Parent::Skill, 82, 46, 126, 47, "Edit", "", true},
    {"skill1NotePrompt", Parent::Skill, 15, 48, 65, 16, "TarvokLabel", "技能1注释:", true},
    {"skill1NameEdit", Parent::Skill, 82, 17, 125, 20, "Edit", "", true},
    {"skill1NamePrompt", Parent::Skill, 15, 20, 65, 16, "TarvokLabel", "技能1名字:", true},
    {"nameFontButton", Parent::CardInfo, 54, 100, 158, 20, "Button", "默认字体", true},
    {"titleFontButton", Parent::CardInfo, 54, 43, 158, 20, "Button", "默认字体", true},
    {"skillGroup", Parent::Main, 353, 227, 230, 245, "Button", "技能", true},
    {"healthCombo", Parent::CardInfo, 152, 126, 62, 20, "ComboBox", "三血", true},
    {"healthPrompt", Parent::CardInfo, 119, 128, 32, 16, "TarvokLabel", "体力:", true},
    {"campCombo", Parent::CardInfo, 53, 126, 62, 20, "ComboBox", "君", true},
    {"campPrompt", Parent::CardInfo, 15, 128, 32, 16, "TarvokLabel", "阵营:", true},
    {"nameFontPrompt", Parent::CardInfo, 15, 103, 32, 16, "TarvokLabel", "字体:", true},
    {"nameEdit", Parent::CardInfo, 53, 73, 100, 20, "Edit", "", true},
    {"namePrompt", Parent::CardInfo, 15, 76, 32, 16, "TarvokLabel", "名字:", true},
    {"titleFontPrompt", Parent::CardInfo, 15, 45, 32, 16, "TarvokLabel", "字体:", true},
    {"titleEdit", Parent::CardInfo, 53, 15, 100, 20, "Edit", "", true},
    {"titlePrompt", Parent::CardInfo, 15, 18, 32, 16, "TarvokLabel", "称号:", true},
    {"cardInfoGroup", Parent::Main, 353, 63, 230, 158, "Button", "卡牌信息", true},
    {"portraitBox", Parent::Main, 23, 73, 305, 400, "TarvokPicBox", "", true},
};

class MainWindowTest : public ::testing::Test {
protected:
    ShownMainWindow shown;
    MainWindow& w() { return *shown; }
    HWND parentOf(Parent p) {
        switch (p) {
        case Parent::Main:
            return w().hwnd();
        case Parent::Canvas:
            return w().cardCanvas.hwnd();
        case Parent::CardInfo:
            return w().cardInfoGroup.hwnd();
        case Parent::Skill:
            return w().skillGroup.hwnd();
        case Parent::Picture:
            return w().pictureGroup.hwnd();
        }
        return nullptr;
    }
};

} // namespace

TEST_F(MainWindowTest, WindowSettings) {
    ASSERT_TRUE(shown.ok);
    HWND main = w().hwnd();
    EXPECT_EQ(windowText(main), "Tarvok卡牌DIY工具 v1.0");
    RECT r;
    GetWindowRect(main, &r);
    EXPECT_EQ(r.right - r.left, 598);
    EXPECT_EQ(r.bottom - r.top, 566);
    EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - 598) / 2);
    EXPECT_EQ(r.top, (GetSystemMetrics(SM_CYSCREEN) - 566) / 2);
    LONG style = GetWindowLongA(main, GWL_STYLE);
    EXPECT_TRUE(style & WS_CAPTION);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME) << "the frame is fixed";
    EXPECT_FALSE(style & WS_CLIPCHILDREN) << "the card's lower windows must paint under the canvas";
    EXPECT_EQ(GetClassLongPtrA(main, GCLP_HBRBACKGROUND), COLOR_BTNFACE + 1);
    EXPECT_NE(GetClassLongPtrA(main, GCLP_HICON), 0);
    EXPECT_NE(GetClassLongPtrA(main, GCLP_HICONSM), 0);
}

TEST_F(MainWindowTest, EveryControlOfTheLayoutInItsPlace) {
    ASSERT_TRUE(shown.ok);
    std::vector<HWND> roster = w().rosterWindows();
    ASSERT_EQ(roster.size(), std::size(kRoster));
    for (size_t i = 0; i < roster.size(); ++i) {
        const Expected& e = kRoster[i];
        HWND h = roster[i];
        SCOPED_TRACE(e.name);
        ASSERT_TRUE(IsWindow(h));
        EXPECT_EQ(GetParent(h), parentOf(e.parent));
        EXPECT_EQ(className(h), e.cls);
        if (e.text) {
            EXPECT_EQ(windowText(h), e.text);
        }
        EXPECT_EQ((GetWindowLongA(h, GWL_STYLE) & WS_VISIBLE) != 0, e.visible);
        RECT r = rectInParent(h);
        EXPECT_EQ(r.left, e.x);
        EXPECT_EQ(r.top, e.y);
        EXPECT_EQ(r.right - r.left, e.w);
        if (std::string(e.cls) == "ComboBox") {
            // Made 160 tall, field and list together: the same dropped size as a reference
            // combo box created 160 tall in the same place (the layout says 20).
            HWND reference = CreateWindowExA(0, "ComboBox", "", WS_CHILD | WS_VSCROLL | CBS_DROPDOWNLIST, e.x, e.y,
                                             e.w, 160, GetParent(h), nullptr, nullptr, nullptr);
            SendMessageA(reference, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
            RECT dropped, expected;
            SendMessageA(h, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
            SendMessageA(reference, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&expected));
            EXPECT_EQ(dropped.bottom - dropped.top, expected.bottom - expected.top);
            DestroyWindow(reference);
        } else {
            EXPECT_EQ(r.bottom - r.top, e.h);
        }
        const std::string cls = e.cls;
        if (e.visible && (cls == "Edit" || cls == "Button" || cls == "ComboBox")) {
            EXPECT_EQ(SendMessageA(h, WM_GETFONT, 0, 0), reinterpret_cast<LRESULT>(GetStockObject(DEFAULT_GUI_FONT)));
        }
    }
}

TEST_F(MainWindowTest, SiblingsStackInLayoutOrder) {
    ASSERT_TRUE(shown.ok);
    std::map<HWND, std::vector<HWND>> expected;
    for (HWND h : w().rosterWindows()) {
        expected[GetParent(h)].push_back(h);
    }
    for (auto& [parent, children] : expected) {
        std::vector<HWND> actual;
        for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
            if (std::find(children.begin(), children.end(), c) != children.end()) {
                actual.push_back(c);
            }
        }
        EXPECT_EQ(actual, children) << "children of " << className(parent);
    }
    EXPECT_EQ(GetWindow(w().portraitBox.hwnd(), GW_HWNDNEXT), nullptr) << "the portrait box is the bottom-most";
    EXPECT_EQ(GetWindow(w().titleLabel.hwnd(), GW_HWNDNEXT), nullptr) << "the title is the lowest card label";
}

TEST_F(MainWindowTest, ControlSettings) {
    ASSERT_TRUE(shown.ok);
    struct EditCase {
        EditBox MainWindow::*edit;
        const char* name;
        bool multiLine, readOnly, centred;
    } edits[] = {
        {&MainWindow::titleEdit, "titleEdit", false, false, false},
        {&MainWindow::nameEdit, "nameEdit", false, false, false},
        {&MainWindow::skill1NameEdit, "skill1NameEdit", false, false, false},
        {&MainWindow::skill1NoteEdit, "skill1NoteEdit", true, false, false},
        {&MainWindow::skill2NameEdit, "skill2NameEdit", false, false, false},
        {&MainWindow::skill2NoteEdit, "skill2NoteEdit", true, false, false},
        {&MainWindow::picturePathEdit, "picturePathEdit", false, true, false},
        {&MainWindow::titleOffsetEdit, "titleOffsetEdit", false, false, true},
        {&MainWindow::nameOffsetEdit, "nameOffsetEdit", false, false, true},
    };
    for (const EditCase& c : edits) {
        SCOPED_TRACE(c.name);
        HWND h = (w().*c.edit).hwnd();
        LONG style = GetWindowLongA(h, GWL_STYLE);
        EXPECT_EQ((style & ES_MULTILINE) != 0, c.multiLine);
        EXPECT_EQ((style & WS_VSCROLL) != 0, c.multiLine);
        EXPECT_EQ((style & ES_WANTRETURN) != 0, c.multiLine);
        EXPECT_EQ((style & ES_AUTOHSCROLL) != 0, !c.multiLine) << "multi-line boxes wrap";
        EXPECT_EQ((style & ES_READONLY) != 0, c.readOnly);
        EXPECT_EQ((style & ES_CENTER) != 0, c.centred);
        EXPECT_FALSE(style & ES_NOHIDESEL);
        EXPECT_TRUE(GetWindowLongA(h, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    }
    for (HWND combo : {w().campCombo.hwnd(), w().healthCombo.hwnd()}) {
        EXPECT_EQ(GetWindowLongA(combo, GWL_STYLE) & 3, CBS_DROPDOWNLIST);
        EXPECT_FALSE(GetWindowLongA(combo, GWL_STYLE) & CBS_SORT);
    }
    EXPECT_EQ(SendMessageA(w().campCombo.hwnd(), CB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(SendMessageA(w().healthCombo.hwnd(), CB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(w().campCombo.selectionIndex(), 0);
    EXPECT_EQ(w().healthCombo.selectionIndex(), 0);
    for (HWND b : {w().saveButton.hwnd(), w().titleFontButton.hwnd()}) {
        EXPECT_EQ(GetWindowLongA(b, GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON) << "Enter must not press it";
    }
    EXPECT_EQ(w().sizeTipLabel.colour(), RGB(255, 0, 0));
    EXPECT_EQ(w().forumLink.address(), "http://" TARVOK_FORUM_HOST "/f?kw=Tarvok");
    EXPECT_EQ(w().homeLink.address(), TARVOK_SITE_ROOT);
    for (PicBox* box : {&w().cardCanvas, &w().portraitBox}) {
        EXPECT_EQ(box->border(), 0);
        EXPECT_EQ(box->backgroundColour(), PicBox::kButtonFace);
        EXPECT_TRUE(box->animate());
        EXPECT_TRUE(box->picture().empty());
    }
    EXPECT_EQ(w().cardCanvas.displayMode(), 0);
    EXPECT_EQ(w().portraitBox.displayMode(), 1);
    EXPECT_TRUE(GetWindowLongA(w().titleLabel.hwnd(), GWL_EXSTYLE) & WS_EX_TRANSPARENT);
}

TEST_F(MainWindowTest, ComboItemsAreOnePixelTallerThanTheDefault) {
    ASSERT_TRUE(shown.ok);
    HWND plain = CreateWindowExA(0, "ComboBox", "", WS_CHILD | CBS_DROPDOWNLIST, 0, 0, 60, 160, w().hwnd(),
                                 nullptr, nullptr, nullptr);
    SendMessageA(plain, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    LRESULT standard = SendMessageA(plain, CB_GETITEMHEIGHT, 0, 0);
    for (HWND combo : {w().campCombo.hwnd(), w().healthCombo.hwnd()}) {
        COMBOBOXINFO info{};
        info.cbSize = sizeof info;
        ASSERT_TRUE(GetComboBoxInfo(combo, &info));
        EXPECT_EQ(SendMessageA(info.hwndList, LB_GETITEMHEIGHT, 0, 0), standard + 1);
    }
    DestroyWindow(plain);
}

namespace {
void pressKey(HWND target, WPARAM key) {
    MSG msg{target, WM_KEYDOWN, key, 1, GetTickCount(), {}};
    dispatchMessage(msg);
}
} // namespace

TEST_F(MainWindowTest, TabAndShiftTabFollowTheTabOrderAndWrap) {
    ASSERT_TRUE(shown.ok);
    std::vector<HWND> order = w().tabOrder();
    ASSERT_EQ(order.size(), 17u);
    SetFocus(order.back());
    for (size_t i = 0; i < order.size(); ++i) {
        pressKey(GetFocus(), VK_TAB);
        EXPECT_EQ(GetFocus(), order[i]) << "Tab step " << i;
    }
    // Shift+Tab from the first goes to the last.
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_SHIFT] = 0x80;
    SetKeyboardState(keys);
    SetFocus(order.front());
    pressKey(GetFocus(), VK_TAB);
    EXPECT_EQ(GetFocus(), order.back());
    for (size_t i = order.size() - 1; i-- > 0;) {
        pressKey(GetFocus(), VK_TAB);
        EXPECT_EQ(GetFocus(), order[i]) << "Shift+Tab step " << i;
    }
    keys[VK_SHIFT] = 0;
    SetKeyboardState(keys);
}

TEST_F(MainWindowTest, EscapeClosesTheWindowFromAnyControl) {
    for (HWND (*pick)(MainWindow&) :
         {+[](MainWindow& m) { return m.titleEdit.hwnd(); }, +[](MainWindow& m) { return m.skill1NoteEdit.hwnd(); },
          +[](MainWindow& m) { return m.campCombo.hwnd(); }, +[](MainWindow& m) { return m.saveButton.hwnd(); }}) {
        ShownMainWindow one;
        ASSERT_TRUE(one.ok);
        HWND target = pick(*one);
        SetFocus(target);
        pressKey(target, VK_ESCAPE);
        EXPECT_FALSE(IsWindow(one->hwnd())) << className(target);
        MSG quit;
        EXPECT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "closing ends the message loop";
    }
}

TEST_F(MainWindowTest, EnterBreaksLinesOnlyInTheNoteBoxes) {
    ASSERT_TRUE(shown.ok);
    auto typeEnter = [](HWND edit) {
        SetFocus(edit);
        MSG down{edit, WM_KEYDOWN, VK_RETURN, 1, 0, {}};
        dispatchMessage(down);
        pump(20);
    };
    SetWindowTextA(w().skill1NoteEdit.hwnd(), "ab");
    SendMessageA(w().skill1NoteEdit.hwnd(), EM_SETSEL, 1, 1);
    typeEnter(w().skill1NoteEdit.hwnd());
    EXPECT_EQ(w().skill1NoteEdit.text(), "a\r\nb");
    SetWindowTextA(w().titleEdit.hwnd(), "ab");
    HWND focusBefore = w().titleEdit.hwnd();
    typeEnter(w().titleEdit.hwnd());
    EXPECT_EQ(w().titleEdit.text(), "ab");
    EXPECT_EQ(GetFocus(), focusBefore) << "Enter does not move the focus";
}

TEST_F(MainWindowTest, IntegerBoxesDiscardTypedLettersButNotPastedText) {
    ASSERT_TRUE(shown.ok);
    HWND box = w().titleOffsetEdit.hwnd();
    SetWindowTextA(box, "");
    // Full-width digits (GBK A3 B1) are not digits here either.
    for (char c : std::string("1a-2 x\xA3\xB1")) {
        SendMessageA(box, WM_CHAR, static_cast<unsigned char>(c), 1);
    }
    EXPECT_EQ(w().titleOffsetEdit.text(), "1-2");
    // Pasting is not filtered.
    ASSERT_TRUE(OpenClipboard(w().hwnd()));
    EmptyClipboard();
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, 4);
    memcpy(GlobalLock(mem), "ab7", 4);
    GlobalUnlock(mem);
    SetClipboardData(CF_TEXT, mem);
    CloseClipboard();
    SetWindowTextA(box, "");
    SendMessageA(box, WM_PASTE, 0, 0);
    EXPECT_EQ(w().titleOffsetEdit.text(), "ab7");
    // A box without the integer mode takes letters.
    SetWindowTextA(w().titleEdit.hwnd(), "");
    SendMessageA(w().titleEdit.hwnd(), WM_CHAR, 'a', 1);
    EXPECT_EQ(w().titleEdit.text(), "a");
}

TEST_F(MainWindowTest, PicturePathBoxRefusesTyping) {
    ASSERT_TRUE(shown.ok);
    w().picturePathEdit.setText("C:\\a.jpg");
    SendMessageA(w().picturePathEdit.hwnd(), WM_CHAR, 'x', 1);
    EXPECT_EQ(w().picturePathEdit.text(), "C:\\a.jpg");
}
