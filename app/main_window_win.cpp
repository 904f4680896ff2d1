// MainWindow: the layout's one window, its 48 controls, keys and event bindings.
#include "app/main_window_win.h"
#include "app/resource_ids.h"
#include "app/site_urls_win.h"
#include "app/update_check_win.h"
#include "editor/handlers_win.h"

#include <commctrl.h>

#include <map>

const char* const MainWindow::kTitle = "Tarvok卡牌DIY工具 v1.0";

namespace {

MainWindow* current = nullptr;

constexpr const char* kPictureFilter = "图片文件(*.jpg)|*.jpg";

bool noModifier(int key) { return (GetKeyState(key) & 0x8000) == 0; }

// The created handler: update check, default frame, font-button captions.
void windowCreated(MainWindow& window) {
    checkForUpdate();
    showDefaultFrame(window);
    setFontButtonCaptions(window);
}

} // namespace

MainWindow* theMainWindow() { return current; }

bool MainWindow::build() {
    const char* cls = "TarvokMainWindow";
    WNDCLASSEXA wc{};
    if (!GetClassInfoExA(GetModuleHandleA(nullptr), cls, &wc)) {
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = staticProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.hIcon = static_cast<HICON>(LoadImageA(wc.hInstance, MAKEINTRESOURCEA(IDI_TARVOKDIY), IMAGE_ICON,
                                                 GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0));
        wc.hIconSm = static_cast<HICON>(LoadImageA(wc.hInstance, MAKEINTRESOURCEA(IDI_TARVOKDIY), IMAGE_ICON,
                                                   GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
        wc.lpszClassName = cls;
        RegisterClassExA(&wc);
    }
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_UPDOWN_CLASS | ICC_BAR_CLASSES | ICC_TAB_CLASSES};
    InitCommonControlsEx(&icc);

    int left = (GetSystemMetrics(SM_CXSCREEN) - kWidth) / 2;
    int top = (GetSystemMetrics(SM_CYSCREEN) - kHeight) / 2;
    current = this;
    if (!createWindow(0, cls, kTitle, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, left, top, kWidth,
                      kHeight, nullptr)) {
        current = nullptr;
        return false;
    }
    SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    if (!createControls()) {
        DestroyWindow(hwnd_);
        return false;
    }
    return true;
}

bool MainWindow::load() {
    if (!build()) {
        return false;
    }
    windowCreated(*this);
    if (!IsWindow(hwnd_)) {
        return true;
    }
    ShowWindow(hwnd_, SW_SHOWNORMAL);
    SetFocus(titleEdit.hwnd());
    return true;
}

bool MainWindow::createControls() {
    const HWND main = hwnd_;
    bool ok = true;
    // Containers first: the controls inside them need their parents.
    ok &= cardCanvas.create({{main, 9, 14, 336, 487}, 0, PicBox::kButtonFace, 0, true});
    ok &= pictureGroup.create({{main, 352, 7, 230, 50}, "图片文件选择"});
    ok &= skillGroup.create({{main, 353, 227, 230, 245}, "技能"});
    ok &= cardInfoGroup.create({{main, 353, 63, 230, 158}, "卡牌信息"});
    if (!ok) {
        return false;
    }
    const HWND canvas = cardCanvas.hwnd(), info = cardInfoGroup.hwnd(), skill = skillGroup.hwnd(),
               pics = pictureGroup.hwnd();
    const COLORREF white = RGB(255, 255, 255), black = RGB(0, 0, 0);

    ok &= saveImageDialog.create({{main, 152, 128, 26, 26}, CommonDlg::Type::SaveFile, kPictureFilter});
    ok &= openPictureDialog.create({{canvas, 80, 56, 26, 26}, CommonDlg::Type::OpenFile, kPictureFilter});
    ok &= skill2NoteLabel.create({canvas, 75, 411, 244, 71, "宋体-PUA", 14, 700, black, 0, 1, true});
    ok &= skill1NoteLabel.create({canvas, 75, 364, 244, 61, "宋体-PUA", 14, 700, black, 0, 1, true});
    ok &= skill2NameLabel.create({canvas, 32, 413, 70, 26, "黑体", 20, 400, white, 0, 1, false});
    ok &= skill1NameLabel.create({canvas, 33, 364, 70, 26, "黑体", 20, 400, white, 0, 1, false});
    ok &= nameOffsetSpin.create({{info, 196, 73, 16, 20}});
    ok &= nameOffsetEdit.create({{info, 158, 73, 38, 20}, "0", false, false, true, true});
    ok &= sizeTipLabel.create({{main, 355, 512, 228, 16}, "温馨提示：最佳图片大小：\r\n305×400", RGB(255, 0, 0)});
    ok &= forumLink.create({{main, 3, 512, 96, 16}, "贴吧：Tarvok吧", kForumUrl});
    ok &= homeLink.create({{main, 208, 512, 142, 16}, "本程序由Mirelda提供", kHomePageUrl});
    ok &= saveButton.create({{main, 354, 477, 226, 26}, "保存图片"});
    ok &= noteFontButton.create({{skill, 82, 212, 125, 20}, "默认字体"});
    ok &= noteFontPrompt.create({{skill, 15, 215, 63, 16}, "注释字体:"});
    ok &= nameLabel.create({canvas, 45, 309, 192, 32, "楷体_GB2312", 35, 700, white, 0, 1, false});
    ok &= titleOffsetSpin.create({{info, 196, 15, 16, 20}});
    ok &= titleOffsetEdit.create({{info, 158, 15, 38, 20}, "0", false, false, true, true});
    ok &= fontDialog.create({{canvas, 152, 253, 26, 26}, CommonDlg::Type::ChooseFont, ""});
    ok &= titleLabel.create({canvas, 85, 20, 146, 32, "宋体", 12, 400, white, 0, 1, false});
    ok &= choosePictureButton.create({{pics, 158, 18, 64, 20}, "选择图片"});
    ok &= picturePathEdit.create({{pics, 7, 18, 145, 20}, "", false, true, false, false});
    ok &= skillFontButton.create({{skill, 82, 187, 125, 20}, "默认字体"});
    ok &= skillFontPrompt.create({{skill, 15, 188, 56, 16}, "技能字体:"});
    ok &= skill2NoteEdit.create({{skill, 82, 131, 126, 50}, "", true});
    ok &= skill2NotePrompt.create({{skill, 15, 136, 65, 16}, "技能2注释:"});
    ok &= skill2NameEdit.create({{skill, 82, 104, 125, 20}, ""});
    ok &= skill2NamePrompt.create({{skill, 15, 107, 65, 16}, "技能2名字:"});
    ok &= skill1NoteEdit.create({{skill, 82, 46, 126, 47}, "", true});
    ok &= skill1NotePrompt.create({{skill, 15, 48, 65, 16}, "技能1注释:"});
    ok &= skill1NameEdit.create({{skill, 82, 17, 125, 20}, ""});
    ok &= skill1NamePrompt.create({{skill, 15, 20, 65, 16}, "技能1名字:"});
    ok &= nameFontButton.create({{info, 54, 100, 158, 20}, "默认字体"});
    ok &= titleFontButton.create({{info, 54, 43, 158, 20}, "默认字体"});
    ok &= healthCombo.create({{info, 152, 126, 62, 20}, {"三血", "四血"}});
    ok &= healthPrompt.create({{info, 119, 128, 32, 16}, "体力:"});
    ok &= campCombo.create({{info, 53, 126, 62, 20}, {"君", "臣", "民"}});
    ok &= campPrompt.create({{info, 15, 128, 32, 16}, "阵营:"});
    ok &= nameFontPrompt.create({{info, 15, 103, 32, 16}, "字体:"});
    ok &= nameEdit.create({{info, 53, 73, 100, 20}, ""});
    ok &= namePrompt.create({{info, 15, 76, 32, 16}, "名字:"});
    ok &= titleFontPrompt.create({{info, 15, 45, 32, 16}, "字体:"});
    ok &= titleEdit.create({{info, 53, 15, 100, 20}, ""});
    ok &= titlePrompt.create({{info, 15, 18, 32, 16}, "称号:"});
    ok &= portraitBox.create({{main, 23, 73, 305, 400}, 0, PicBox::kButtonFace, 1, true});
    if (!ok) {
        return false;
    }
    campCombo.setSelectionIndex(0);
    healthCombo.setSelectionIndex(0);

    // Stack siblings in layout order: each directly below the sibling listed before it.
    std::map<HWND, HWND> above;
    for (HWND w : rosterWindows()) {
        HWND parent = GetParent(w);
        auto found = above.find(parent);
        SetWindowPos(w, found == above.end() ? HWND_TOP : found->second, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOREDRAW);
        above[parent] = w;
    }
    return true;
}

std::vector<HWND> MainWindow::rosterWindows() const {
    return {saveImageDialog.hwnd(),  openPictureDialog.hwnd(), skill2NoteLabel.hwnd(),  skill1NoteLabel.hwnd(),
            skill2NameLabel.hwnd(),  skill1NameLabel.hwnd(),   nameOffsetSpin.hwnd(),   nameOffsetEdit.hwnd(),
            sizeTipLabel.hwnd(),     forumLink.hwnd(),         homeLink.hwnd(),         saveButton.hwnd(),
            noteFontButton.hwnd(),   noteFontPrompt.hwnd(),    nameLabel.hwnd(),        titleOffsetSpin.hwnd(),
            titleOffsetEdit.hwnd(),  fontDialog.hwnd(),        titleLabel.hwnd(),       cardCanvas.hwnd(),
            choosePictureButton.hwnd(), picturePathEdit.hwnd(), pictureGroup.hwnd(),    skillFontButton.hwnd(),
            skillFontPrompt.hwnd(),  skill2NoteEdit.hwnd(),    skill2NotePrompt.hwnd(), skill2NameEdit.hwnd(),
            skill2NamePrompt.hwnd(), skill1NoteEdit.hwnd(),    skill1NotePrompt.hwnd(), skill1NameEdit.hwnd(),
            skill1NamePrompt.hwnd(), nameFontButton.hwnd(),    titleFontButton.hwnd(),  skillGroup.hwnd(),
            healthCombo.hwnd(),      healthPrompt.hwnd(),      campCombo.hwnd(),        campPrompt.hwnd(),
            nameFontPrompt.hwnd(),   nameEdit.hwnd(),          namePrompt.hwnd(),       titleFontPrompt.hwnd(),
            titleEdit.hwnd(),        titlePrompt.hwnd(),       cardInfoGroup.hwnd(),    portraitBox.hwnd()};
}

std::vector<HWND> MainWindow::tabOrder() const {
    return {titleEdit.hwnd(),       nameEdit.hwnd(),       campCombo.hwnd(),      healthCombo.hwnd(),
            titleFontButton.hwnd(), nameFontButton.hwnd(), skill1NameEdit.hwnd(), skill1NoteEdit.hwnd(),
            skill2NameEdit.hwnd(),  skill2NoteEdit.hwnd(), skillFontButton.hwnd(), picturePathEdit.hwnd(),
            choosePictureButton.hwnd(), titleOffsetEdit.hwnd(), noteFontButton.hwnd(), saveButton.hwnd(),
            nameOffsetEdit.hwnd()};
}

void MainWindow::moveFocus(bool backwards) {
    std::vector<HWND> order = tabOrder();
    const int n = static_cast<int>(order.size());
    HWND focus = GetFocus();
    int at = -1;
    for (int i = 0; i < n; ++i) {
        if (order[static_cast<size_t>(i)] == focus || IsChild(order[static_cast<size_t>(i)], focus)) {
            at = i;
        }
    }
    for (int step = 1; step <= n; ++step) {
        int i = at < 0 ? (backwards ? n - step : step - 1) : ((at + (backwards ? -step : step)) % n + n) % n;
        HWND w = order[static_cast<size_t>(i)];
        if (IsWindowVisible(w) && IsWindowEnabled(w)) {
            SetFocus(w);
            char cls[16] = {};
            GetClassNameA(w, cls, sizeof cls);
            if (lstrcmpiA(cls, "Edit") == 0) {
                SendMessageA(w, EM_SETSEL, 0, -1); // as a dialog does on Tab
            }
            return;
        }
    }
}

bool MainWindow::preTranslateMessage(const MSG& msg) {
    if (!hwnd_ || msg.message != WM_KEYDOWN || (msg.hwnd != hwnd_ && !IsChild(hwnd_, msg.hwnd))) {
        return false;
    }
    const bool plain = noModifier(VK_CONTROL) && noModifier(VK_MENU);
    switch (msg.wParam) {
    case VK_ESCAPE:
        if (plain && noModifier(VK_SHIFT)) {
            SendMessageA(hwnd_, WM_CLOSE, 0, 0);
            return true;
        }
        return false;
    case VK_TAB:
        if (plain) {
            moveFocus(!noModifier(VK_SHIFT));
            return true;
        }
        return false;
    case VK_RETURN: {
        // Enter is a line break in the note boxes and nothing in any other text box.
        char cls[16] = {};
        GetClassNameA(msg.hwnd, cls, sizeof cls);
        bool edit = lstrcmpiA(cls, "Edit") == 0;
        return edit && !(GetWindowLongA(msg.hwnd, GWL_STYLE) & ES_MULTILINE);
    }
    default:
        return false;
    }
}

void MainWindow::onCommand(HWND control, UINT code) {
    struct Binding {
        EditBox* edit;
        TransLabel* label;
    };
    const Binding bindings[] = {{&titleEdit, &titleLabel},           {&nameEdit, &nameLabel},
                                {&skill1NameEdit, &skill1NameLabel}, {&skill1NoteEdit, &skill1NoteLabel},
                                {&skill2NameEdit, &skill2NameLabel}, {&skill2NoteEdit, &skill2NoteLabel}};
    if (code == EN_CHANGE) {
        for (const Binding& b : bindings) {
            if (b.edit->hwnd() == control) {
                copyFieldToLabel(*b.edit, *b.label);
            }
        }
        return;
    }
    if (code == BN_CLICKED) {
        if (control == titleFontButton.hwnd()) {
            onFontButtonClicked(*this, FontRow::Title);
        } else if (control == nameFontButton.hwnd()) {
            onFontButtonClicked(*this, FontRow::Name);
        } else if (control == skillFontButton.hwnd()) {
            onFontButtonClicked(*this, FontRow::Skill);
        } else if (control == noteFontButton.hwnd()) {
            onFontButtonClicked(*this, FontRow::Note);
        } else if (control == choosePictureButton.hwnd()) {
            choosePicture(*this);
        } else if (control == saveButton.hwnd()) {
            saveCardImage(*this);
        }
        return;
    }
    if (control == campCombo.hwnd() || control == healthCombo.hwnd()) {
        // A choice is accepted when the list confirms it, or at once when the closed box
        // changed it (arrow keys, wheel); the event runs after the combo box is done.
        bool dropped = SendMessageA(control, CB_GETDROPPEDSTATE, 0, 0) != 0;
        if (code == CBN_SELENDOK || (code == CBN_SELCHANGE && !dropped)) {
            PostMessageA(hwnd_, WM_APP_COMBO_SELECTED, reinterpret_cast<WPARAM>(control), 0);
        }
    }
}

LRESULT MainWindow::onNotify(const NMHDR& header) {
    if (header.code == static_cast<UINT>(UDN_DELTAPOS)) {
        const auto& change = reinterpret_cast<const NMUPDOWN&>(header);
        int direction = change.iDelta > 0 ? 1 : -1;
        if (header.hwndFrom == titleOffsetSpin.hwnd()) {
            onOffsetSpin(*this, OffsetPair::Title, direction);
        } else if (header.hwndFrom == nameOffsetSpin.hwnd()) {
            onOffsetSpin(*this, OffsetPair::Name, direction);
        }
        return TRUE; // the control's own position stays where it is
    }
    return 0;
}

LRESULT MainWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        if (lParam) {
            onCommand(reinterpret_cast<HWND>(lParam), HIWORD(wParam));
        }
        return 0;
    case WM_NOTIFY:
        return onNotify(*reinterpret_cast<const NMHDR*>(lParam));
    case WM_APP_COMBO_SELECTED:
        applyFrame(*this);
        return 0;
    case WM_CLOSE:
        DestroyWindow(hwnd_);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_NCDESTROY:
        if (current == this) {
            current = nullptr;
        }
        return WindowBase::handleMessage(message, wParam, lParam);
    default:
        return WindowBase::handleMessage(message, wParam, lParam);
    }
}
