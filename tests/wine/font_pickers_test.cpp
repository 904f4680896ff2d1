// The four font buttons with the real font chooser, driven from a second thread as a
// user would drive it: typing or picking a face, a style, a size, effects, OK or Cancel.
#include "app/main_window_win.h"
#include "editor/font_spec_win.h"
#include "editor/handlers_win.h"

#include <commdlg.h>
#include <dlgs.h>
#include "tests/wine/window_fixture_win.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

using testing_support::pump;

using Shown = testing_support::ShownMainWindow;

std::string bytesOf(const LOGFONTA& lf) { return std::string(reinterpret_cast<const char*>(&lf), sizeof lf); }

// ---- Driving the chooser from outside the handler

struct DialogSeen {
    bool face = false; // face, style and size as the dialog shows them at opening
    std::string faceName;
    DWORD style = 0, size = 0, colour = 0;
    bool strikeout = false, underline = false;
};

class ChooserDriver {
public:
    using Actions = std::function<bool(HWND dialog, std::string& error)>;

    // Waits (on its own thread) for a dialog of the calling thread and runs actions on it.
    explicit ChooserDriver(Actions actions)
        : uiThread_(GetCurrentThreadId()), thread_([this, actions] { run(actions); }) {}
    ~ChooserDriver() { join(); }

    void join() {
        if (thread_.joinable()) {
            thread_.join();
        }
    }
    bool found() const { return found_; }
    const std::string& error() const { return error_; }

private:
    static BOOL CALLBACK findDialog(HWND w, LPARAM out) {
        char cls[16] = {};
        GetClassNameA(w, cls, sizeof cls);
        if (std::strcmp(cls, "#32770") == 0 && IsWindowVisible(w)) {
            *reinterpret_cast<HWND*>(out) = w;
            return FALSE;
        }
        return TRUE;
    }
    void run(const Actions& actions) {
        HWND dialog = nullptr;
        for (int i = 0; i < 500 && !dialog; ++i) {
            EnumThreadWindows(uiThread_, findDialog, reinterpret_cast<LPARAM>(&dialog));
            Sleep(20);
        }
        if (!dialog) {
            return;
        }
        found_ = true;
        Sleep(100); // let the dialog finish initialising
        std::string error;
        if (!actions(dialog, error)) {
            // Never leave the handler blocked: give up through Cancel.
            SendMessageA(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
        }
        error_ = error;
    }

    DWORD uiThread_;
    std::atomic<bool> found_{false};
    std::string error_;
    std::thread thread_;
};

// A user picking a list entry: the selection moves and the combo box tells the dialog.
bool pickItem(HWND dialog, int id, const std::function<bool(HWND combo, int index)>& matches) {
    HWND combo = GetDlgItem(dialog, id);
    const int n = static_cast<int>(SendMessageA(combo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
        if (matches(combo, i)) {
            SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(i), 0);
            SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
            return true;
        }
    }
    return false;
}

std::string itemText(HWND combo, int index) {
    char text[256] = {};
    if (index < 0 || SendMessageA(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0) >= 255) {
        return "";
    }
    SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
    return text;
}

DWORD itemData(HWND combo, int index) {
    return static_cast<DWORD>(SendMessageA(combo, CB_GETITEMDATA, static_cast<WPARAM>(index), 0));
}

bool pickFace(HWND d, const std::string& face) {
    return pickItem(d, cmb1, [&](HWND c, int i) { return itemText(c, i) == face; });
}

// Replaces the face box's text by typing, as for a face the list does not hold.
bool typeFace(HWND d, const std::string& face) {
    HWND edit = FindWindowExA(GetDlgItem(d, cmb1), nullptr, "Edit", nullptr);
    if (!edit) {
        return false;
    }
    SendMessageA(edit, EM_SETSEL, 0, -1);
    SendMessageA(edit, WM_CHAR, VK_BACK, 0);
    for (char ch : face) {
        SendMessageA(edit, WM_CHAR, static_cast<unsigned char>(ch), 0);
    }
    return true;
}

// A style entry holds its weight and italic flag; "regular" may be light (300) for some faces.
bool styleIsBold(DWORD style) { return LOWORD(style) > FW_MEDIUM; }
bool styleIsItalic(DWORD style) { return HIWORD(style) != 0; }

bool pickStyle(HWND d, bool bold, bool italic) {
    return pickItem(d, cmb2, [&](HWND c, int i) {
        return styleIsBold(itemData(c, i)) == bold && styleIsItalic(itemData(c, i)) == italic;
    });
}

bool pickSize(HWND d, int points) {
    return pickItem(d, cmb3, [&](HWND c, int i) { return LOWORD(itemData(c, i)) == points; });
}

bool pickColour(HWND d, COLORREF colour) {
    return pickItem(d, cmb4, [&](HWND c, int i) { return itemData(c, i) == colour; });
}

void setCheck(HWND d, int id, bool on) {
    HWND box = GetDlgItem(d, id);
    if ((SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED) != on) {
        SendMessageA(box, BM_CLICK, 0, 0);
    }
}

void press(HWND d, int id) { SendMessageA(GetDlgItem(d, id), BM_CLICK, 0, 0); }

DialogSeen readDialog(HWND d) {
    DialogSeen seen;
    HWND face = GetDlgItem(d, cmb1), style = GetDlgItem(d, cmb2), size = GetDlgItem(d, cmb3),
         colour = GetDlgItem(d, cmb4);
    const int f = static_cast<int>(SendMessageA(face, CB_GETCURSEL, 0, 0));
    seen.face = f >= 0;
    seen.faceName = itemText(face, f);
    const int s = static_cast<int>(SendMessageA(style, CB_GETCURSEL, 0, 0));
    seen.style = s >= 0 ? itemData(style, s) : 0;
    const int z = static_cast<int>(SendMessageA(size, CB_GETCURSEL, 0, 0));
    seen.size = z >= 0 ? LOWORD(itemData(size, z)) : 0;
    const int c = static_cast<int>(SendMessageA(colour, CB_GETCURSEL, 0, 0));
    seen.colour = c >= 0 ? itemData(colour, c) : 0xFFFFFFFF;
    seen.strikeout = SendMessageA(GetDlgItem(d, chx1), BM_GETCHECK, 0, 0) == BST_CHECKED;
    seen.underline = SendMessageA(GetDlgItem(d, chx2), BM_GETCHECK, 0, 0) == BST_CHECKED;
    return seen;
}

struct Choice {
    std::string face; // picked from the list when listed, else typed
    bool typed = false;
    bool bold = false, italic = false, strikeout = false, underline = false;
    int size = 0;
    COLORREF colour = 0;
};

ChooserDriver::Actions accept(const Choice& c, DialogSeen* seen = nullptr) {
    return [c, seen](HWND d, std::string& error) {
        if (seen) {
            *seen = readDialog(d);
        }
        if (c.typed ? !typeFace(d, c.face) : !pickFace(d, c.face)) {
            error = "no face " + c.face;
            return false;
        }
        if (!pickStyle(d, c.bold, c.italic)) {
            error = "style not offered";
        } else if (!pickSize(d, c.size)) {
            error = "size not offered";
        } else if (!pickColour(d, c.colour)) {
            error = "colour not offered";
        }
        if (!error.empty()) {
            return false;
        }
        setCheck(d, chx1, c.strikeout);
        setCheck(d, chx2, c.underline);
        press(d, IDOK);
        return true;
    };
}

// Runs a font button's handler while the driver works the dialog it opens.
void clickWith(MainWindow& w, FontRow row, const ChooserDriver::Actions& actions, std::string* error = nullptr) {
    ChooserDriver driver(actions);
    onFontButtonClicked(w, row);
    driver.join();
    EXPECT_TRUE(driver.found()) << "the font chooser never appeared";
    EXPECT_EQ(driver.error(), "");
    if (error) {
        *error = driver.error();
    }
}

// The face the dialog offers that stands for 宋体 here, and one for a second choice.
constexpr const char* kListedFace = "AR PL UMing CN";

// ---- Pixels of the card

using Shot = testing_support::Pixels;

// What the screen shows of the canvas rectangle (x, y, w, h).
Shot shootCanvas(HWND canvas, int x, int y, int w, int h) {
    pump(150);
    POINT p{x, y};
    ClientToScreen(canvas, &p);
    HDC screen = GetDC(nullptr);
    Shot s = testing_support::readDc(screen, p.x, p.y, w, h);
    ReleaseDC(nullptr, screen);
    return s;
}

// The box around the pixels of one exact colour; empty (right < left) when there are none.
RECT inkBox(const Shot& s, uint32_t colour) {
    RECT r{s.width, s.height, -1, -1};
    for (int y = 0; y < s.height; ++y) {
        for (int x = 0; x < s.width; ++x) {
            if (s.at(x, y) == colour) {
                r.left = std::min<LONG>(r.left, x);
                r.top = std::min<LONG>(r.top, y);
                r.right = std::max<LONG>(r.right, x);
                r.bottom = std::max<LONG>(r.bottom, y);
            }
        }
    }
    return r;
}

} // namespace

TEST(FontPickers, StartUpCaptionsShowTheLayoutFonts) {
    Shown w;
    ASSERT_TRUE(w.ok);
    ASSERT_EQ(screenDpiY(), 96);
    Button* buttons[] = {&w.window->titleFontButton, &w.window->nameFontButton, &w.window->skillFontButton,
                         &w.window->noteFontButton};
    for (Button* b : buttons) {
        EXPECT_EQ(b->caption(), "默认字体");
    }
    setFontButtonCaptions(*w.window);
    const char* expected[] = {"宋体[9]", "楷体_GB2312[26]", "黑体[15]", "宋体-PUA[11]"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(buttons[i]->caption(), expected[i]) << i;
    }
}

TEST(FontPickers, AcceptedSkillFontRestylesBothSkillNamesOnly) {
    Shown w;
    ASSERT_TRUE(w.ok);
    MainWindow& m = *w.window;
    setFontButtonCaptions(m);

    // Give the first skill name an angle and unusual record fields that must survive.
    LOGFONTA odd = m.skill1NameLabel.fontRecord();
    odd.lfWidth = 7;
    odd.lfOutPrecision = OUT_TT_PRECIS;
    odd.lfClipPrecision = CLIP_STROKE_PRECIS;
    odd.lfQuality = ANTIALIASED_QUALITY;
    odd.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
    m.skill1NameLabel.setFont(odd);
    FontSpec(m.skill1NameLabel).setAngle(450);
    const LOGFONTA before1 = m.skill1NameLabel.fontRecord(), before2 = m.skill2NameLabel.fontRecord();
    TransLabel* untouched[] = {&m.titleLabel, &m.nameLabel, &m.skill1NoteLabel, &m.skill2NoteLabel};
    std::string untouchedBefore[4];
    for (int i = 0; i < 4; ++i) {
        untouchedBefore[i] = untouched[i]->font();
    }
    const std::string titleCaption = m.titleFontButton.caption(), noteCaption = m.noteFontButton.caption();

    Choice c;
    c.face = "黑体"; // not in Wine's list: typed, as a user may
    c.typed = true;
    c.bold = true;
    c.strikeout = true;
    c.size = 16;
    c.colour = RGB(255, 0, 0);
    clickWith(m, FontRow::Skill, accept(c));

    for (TransLabel* label : {&m.skill1NameLabel, &m.skill2NameLabel}) {
        const LOGFONTA lf = label->fontRecord();
        EXPECT_STREQ(lf.lfFaceName, "黑体");
        EXPECT_EQ(lf.lfWeight, 700);
        EXPECT_EQ(lf.lfHeight, -21);
        EXPECT_EQ(lf.lfStrikeOut, 1);
        EXPECT_EQ(lf.lfUnderline, 0);
        EXPECT_EQ(lf.lfItalic, 0);
        EXPECT_EQ(label->textColour(), RGB(255, 255, 255)) << "the dialog's colour is not used";
    }
    // Fields the font buttons do not write are carried over, label by label.
    for (const auto& pair : {std::make_pair(&m.skill1NameLabel, before1), std::make_pair(&m.skill2NameLabel, before2)}) {
        const LOGFONTA lf = pair.first->fontRecord();
        const LOGFONTA& was = pair.second;
        EXPECT_EQ(lf.lfWidth, was.lfWidth);
        EXPECT_EQ(lf.lfEscapement, was.lfEscapement);
        EXPECT_EQ(lf.lfOrientation, was.lfOrientation);
        EXPECT_EQ(lf.lfCharSet, was.lfCharSet);
        EXPECT_EQ(lf.lfOutPrecision, was.lfOutPrecision);
        EXPECT_EQ(lf.lfClipPrecision, was.lfClipPrecision);
        EXPECT_EQ(lf.lfQuality, was.lfQuality);
        EXPECT_EQ(lf.lfPitchAndFamily, was.lfPitchAndFamily);
    }
    EXPECT_EQ(FontSpec(m.skill1NameLabel).angle(), 450);
    EXPECT_EQ(m.skill1NameLabel.fontRecord().lfWidth, 7);
    EXPECT_EQ(m.skill2NameLabel.fontRecord().lfCharSet, GB2312_CHARSET);

    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(untouched[i]->font(), untouchedBefore[i]) << "label " << i << " was restyled";
    }
    EXPECT_EQ(m.skillFontButton.caption(), "黑体[16]");
    EXPECT_EQ(m.titleFontButton.caption(), titleCaption);
    EXPECT_EQ(m.noteFontButton.caption(), noteCaption);

    const CommonDlg::FontState& s = m.fontDialog.font;
    EXPECT_EQ(s.name, "黑体");
    EXPECT_EQ(s.size, 16);
    EXPECT_TRUE(s.bold);
    EXPECT_TRUE(s.strikeout);
    EXPECT_FALSE(s.italic);
    EXPECT_FALSE(s.underline);
    EXPECT_EQ(s.colour, RGB(255, 0, 0));
}

TEST(FontPickers, AcceptedFontChangesTheTitleOnTheCard) {
    Shown w;
    ASSERT_TRUE(w.ok);
    MainWindow& m = *w.window;
    m.titleLabel.setText("ABC");
    // The title is white; the bare canvas beneath it is not.
    const Shot before = shootCanvas(m.cardCanvas.hwnd(), 85, 20, 146, 32);
    const RECT small = inkBox(before, 0xFFFFFF);
    ASSERT_GE(small.right, small.left) << "no title on the card";

    Choice c;
    c.face = kListedFace;
    c.bold = true;
    c.size = 20;
    clickWith(m, FontRow::Title, accept(c));
    EXPECT_EQ(m.titleFontButton.caption(), std::string(kListedFace) + "[20]");

    const Shot after = shootCanvas(m.cardCanvas.hwnd(), 85, 20, 146, 32);
    const RECT big = inkBox(after, 0xFFFFFF);
    ASSERT_GE(big.right, big.left) << "the title vanished";
    // 20 points is 27 pixels against the layout's 12: the text grows both ways.
    EXPECT_GT(big.right - big.left, (small.right - small.left) * 3 / 2);
    EXPECT_GT(big.bottom - big.top, (small.bottom - small.top) * 3 / 2);
}

TEST(FontPickers, EmptyFaceBecomesSongti) {
    Shown w;
    ASSERT_TRUE(w.ok);
    MainWindow& m = *w.window;
    Choice c;
    c.face = "";
    c.typed = true;
    c.size = 12;
    clickWith(m, FontRow::Note, accept(c));
    EXPECT_EQ(m.fontDialog.font.name, "");
    for (TransLabel* label : {&m.skill1NoteLabel, &m.skill2NoteLabel}) {
        EXPECT_STREQ(label->fontRecord().lfFaceName, "宋体");
        EXPECT_EQ(label->fontRecord().lfHeight, -16);
        EXPECT_EQ(label->fontRecord().lfWeight, 0) << "not bold: the face's default weight";
    }
    EXPECT_EQ(m.noteFontButton.caption(), "宋体[12]");
}

TEST(FontPickers, CancelOrCloseChangesNothing) {
    struct Case {
        const char* name;
        bool close; // the dialog's close command instead of its Cancel button
    } cases[] = {{"cancel", false}, {"close", true}};
    for (const Case& k : cases) {
        Shown w;
        ASSERT_TRUE(w.ok);
        MainWindow& m = *w.window;
        setFontButtonCaptions(m);
        // A remembered font first, so there is state to keep.
        Choice first;
        first.face = kListedFace;
        first.italic = true;
        first.size = 14;
        first.colour = RGB(0, 128, 0);
        clickWith(m, FontRow::Title, accept(first));
        const CommonDlg::FontState kept = m.fontDialog.font;
        EXPECT_TRUE(kept.italic);
        EXPECT_EQ(m.titleLabel.fontRecord().lfItalic, 1);
        EXPECT_EQ(m.titleLabel.fontRecord().lfWeight, 0) << "regular is the face's default weight";
        EXPECT_EQ(m.titleFontButton.caption(), std::string(kListedFace) + "[14]");
        TransLabel* labels[] = {&m.titleLabel,      &m.nameLabel,       &m.skill1NameLabel,
                                &m.skill2NameLabel, &m.skill1NoteLabel, &m.skill2NoteLabel};
        std::string fonts[6];
        for (int i = 0; i < 6; ++i) {
            fonts[i] = labels[i]->font();
        }
        Button* buttons[] = {&m.titleFontButton, &m.nameFontButton, &m.skillFontButton, &m.noteFontButton};
        std::string captions[4];
        for (int i = 0; i < 4; ++i) {
            captions[i] = buttons[i]->caption();
        }

        const bool close = k.close;
        clickWith(m, FontRow::Skill, [close](HWND d, std::string& error) {
            // Change everything, then walk away.
            if (!typeFace(d, "黑体") || !pickStyle(d, true, false) || !pickSize(d, 24) ||
                !pickColour(d, RGB(255, 0, 0))) {
                error = "could not change the dialog";
            }
            setCheck(d, chx1, true);
            setCheck(d, chx2, true);
            if (close) {
                SendMessageA(d, WM_SYSCOMMAND, SC_CLOSE, 0);
            } else {
                press(d, IDCANCEL);
            }
            return true;
        });

        for (int i = 0; i < 6; ++i) {
            EXPECT_EQ(labels[i]->font(), fonts[i]) << k.name << ": label " << i;
        }
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(buttons[i]->caption(), captions[i]) << k.name << ": button " << i;
        }
        const CommonDlg::FontState& now = m.fontDialog.font;
        EXPECT_EQ(now.name, kept.name) << k.name;
        EXPECT_EQ(now.size, kept.size) << k.name;
        EXPECT_EQ(now.bold, kept.bold) << k.name;
        EXPECT_EQ(now.italic, kept.italic) << k.name;
        EXPECT_EQ(now.strikeout, kept.strikeout) << k.name;
        EXPECT_EQ(now.underline, kept.underline) << k.name;
        EXPECT_EQ(now.colour, kept.colour) << k.name;
    }
}

TEST(FontPickers, DialogOpensWithTheLastAcceptedFont) {
    Shown w;
    ASSERT_TRUE(w.ok);
    MainWindow& m = *w.window;
    setFontButtonCaptions(m);
    const std::string nameFont = m.nameLabel.font();

    Choice c;
    c.face = kListedFace;
    c.bold = true;
    c.underline = true;
    c.size = 18;
    c.colour = RGB(0, 0, 255);
    clickWith(m, FontRow::Title, accept(c));

    // The name button's dialog shows the title's font, not nameLabel's 楷体_GB2312 at 26.
    DialogSeen seen;
    clickWith(m, FontRow::Name, [&seen](HWND d, std::string&) {
        seen = readDialog(d);
        press(d, IDCANCEL);
        return true;
    });
    EXPECT_TRUE(seen.face);
    EXPECT_EQ(seen.faceName, kListedFace);
    EXPECT_TRUE(styleIsBold(seen.style));
    EXPECT_FALSE(styleIsItalic(seen.style));
    EXPECT_EQ(seen.size, 18u);
    EXPECT_TRUE(seen.underline);
    EXPECT_FALSE(seen.strikeout);
    EXPECT_EQ(seen.colour, RGB(0, 0, 255)) << "the accepted colour is offered again";
    EXPECT_EQ(m.nameLabel.font(), nameFont);
    EXPECT_EQ(m.nameFontButton.caption(), "楷体_GB2312[26]");
}

// FontSpec on its own: each write changes exactly its field of the record.
TEST(FontPickersFontSpec, EachWriteChangesOneField) {
    Shown w;
    ASSERT_TRUE(w.ok);
    TransLabel& label = w.window->titleLabel;
    LOGFONTA start = label.fontRecord();
    start.lfWidth = 3;
    start.lfEscapement = 100;
    start.lfOrientation = 200;
    start.lfWeight = 400;
    start.lfQuality = CLEARTYPE_QUALITY;
    label.setFont(start);

    struct Case {
        const char* name;
        std::function<void(FontSpec&)> write;
        std::function<void(LOGFONTA&)> expect; // the change to the starting record
    } cases[] = {
        {"angle", [](FontSpec& f) { f.setAngle(900); }, [](LOGFONTA& e) { e.lfEscapement = e.lfOrientation = 900; }},
        {"negative angle", [](FontSpec& f) { f.setAngle(-1); },
         [](LOGFONTA& e) { e.lfEscapement = e.lfOrientation = 3599; }},
        {"angle past a turn", [](FontSpec& f) { f.setAngle(3650); },
         [](LOGFONTA& e) { e.lfEscapement = e.lfOrientation = 50; }},
        {"bold", [](FontSpec& f) { f.setBold(true); }, [](LOGFONTA& e) { e.lfWeight = 700; }},
        {"not bold", [](FontSpec& f) { f.setBold(false); }, [](LOGFONTA& e) { e.lfWeight = 0; }},
        {"italic", [](FontSpec& f) { f.setItalic(true); }, [](LOGFONTA& e) { e.lfItalic = 1; }},
        {"strikeout", [](FontSpec& f) { f.setStrikeout(true); }, [](LOGFONTA& e) { e.lfStrikeOut = 1; }},
        {"underline", [](FontSpec& f) { f.setUnderline(true); }, [](LOGFONTA& e) { e.lfUnderline = 1; }},
        {"size", [](FontSpec& f) { f.setSize(16); }, [](LOGFONTA& e) { e.lfHeight = -21; }},
        {"size 11", [](FontSpec& f) { f.setSize(11); }, [](LOGFONTA& e) { e.lfHeight = -15; }},
        {"size 0", [](FontSpec& f) { f.setSize(0); }, [](LOGFONTA& e) { e.lfHeight = 0; }},
        {"negative size", [](FontSpec& f) { f.setSize(-5); }, [](LOGFONTA& e) { e.lfHeight = 0; }},
        {"name", [](FontSpec& f) { f.setName("黑体"); },
         [](LOGFONTA& e) {
             std::memset(e.lfFaceName, 0, sizeof e.lfFaceName);
             std::strcpy(e.lfFaceName, "黑体");
         }},
        {"empty name", [](FontSpec& f) { f.setName(""); },
         [](LOGFONTA& e) {
             std::memset(e.lfFaceName, 0, sizeof e.lfFaceName);
             std::strcpy(e.lfFaceName, "宋体");
         }},
        {"31-byte name", [](FontSpec& f) { f.setName(std::string(31, 'n')); },
         [](LOGFONTA& e) { std::memset(e.lfFaceName, 'n', 31), e.lfFaceName[31] = 0; }},
        {"32-byte name", [](FontSpec& f) { f.setName(std::string(32, 'n')); },
         [](LOGFONTA& e) {
             std::memset(e.lfFaceName, 0, sizeof e.lfFaceName);
             std::strcpy(e.lfFaceName, "宋体");
         }},
    };
    for (const Case& c : cases) {
        label.setFont(start);
        FontSpec spec(label);
        c.write(spec);
        LOGFONTA expected = start;
        c.expect(expected);
        EXPECT_EQ(bytesOf(label.fontRecord()), bytesOf(expected)) << c.name;
        EXPECT_EQ(label.font().size(), 60u) << c.name;
    }
}

TEST(FontPickersFontSpec, ReadsConvertTheRecord) {
    Shown w;
    ASSERT_TRUE(w.ok);
    TransLabel& label = w.window->titleLabel;
    struct Case {
        LONG weight, height, escapement, orientation;
        bool bold;
        int size, angle;
    } cases[] = {
        {700, -12, 0, 0, true, 9, 0},   {699, -35, 0, 0, false, 26, 0}, {900, 14, 10, 20, true, 11, 20},
        {0, 0, 0, 0, false, 0, 0},      {400, -20, 900, 450, false, 15, 450},
    };
    for (const Case& c : cases) {
        LOGFONTA lf = label.fontRecord();
        lf.lfWeight = c.weight;
        lf.lfHeight = c.height;
        lf.lfEscapement = c.escapement;
        lf.lfOrientation = c.orientation;
        lf.lfItalic = 1;
        lf.lfUnderline = 0;
        lf.lfStrikeOut = 1;
        label.setFont(lf);
        FontSpec f(label);
        EXPECT_EQ(f.bold(), c.bold) << c.weight;
        EXPECT_EQ(f.size(), c.size) << c.height;
        EXPECT_EQ(f.angle(), c.angle) << "the angle reads the orientation";
        EXPECT_TRUE(f.italic());
        EXPECT_FALSE(f.underline());
        EXPECT_TRUE(f.strikeout());
        EXPECT_EQ(f.name(), "宋体");
    }
}

TEST(FontPickersFontSpec, LabelWithoutFontStartsFromTheDefaultGuiFont) {
    Shown w;
    ASSERT_TRUE(w.ok);
    TransLabel& label = w.window->titleLabel;
    label.setFont(std::string());
    LOGFONTA gui{};
    GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof gui, &gui);
    FontSpec(label).setBold(true);
    gui.lfWeight = 700;
    EXPECT_EQ(bytesOf(label.fontRecord()), bytesOf(gui));
}
