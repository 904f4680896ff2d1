// MainWindow: the tool's one window and its 48 controls, in layout order.
#pragma once

#include "app/controls_win.h"
#include "app/picbox_win.h"
#include "editor/trans_label_win.h"

class MainWindow : public WindowBase {
public:
    static constexpr int kWidth = 598;
    static constexpr int kHeight = 566;
    static const char* const kTitle;

    // Builds the window hidden with every control, runs the created handler, then shows
    // it unless the handler ended the program. False when the window cannot be created.
    bool load();
    // Builds the window and its controls without the created handler (for tests).
    bool build();

    // Keys handled before the focused control sees them: Esc, Tab, Shift+Tab, Enter.
    // True when the message was consumed.
    bool preTranslateMessage(const MSG& msg);

    // Every control's window in layout order, and the Tab order.
    std::vector<HWND> rosterWindows() const;
    std::vector<HWND> tabOrder() const;

    // The roster, in layout order (first listed lies on top among its siblings).
    CommonDlg saveImageDialog;
    CommonDlg openPictureDialog;
    TransLabel skill2NoteLabel;
    TransLabel skill1NoteLabel;
    TransLabel skill2NameLabel;
    TransLabel skill1NameLabel;
    Spin nameOffsetSpin;
    EditBox nameOffsetEdit;
    Label sizeTipLabel;
    HyperLinker forumLink;
    HyperLinker homeLink;
    Button saveButton;
    Button noteFontButton;
    Label noteFontPrompt;
    TransLabel nameLabel;
    Spin titleOffsetSpin;
    EditBox titleOffsetEdit;
    CommonDlg fontDialog;
    TransLabel titleLabel;
    PicBox cardCanvas;
    Button choosePictureButton;
    EditBox picturePathEdit;
    GroupBox pictureGroup;
    Button skillFontButton;
    Label skillFontPrompt;
    EditBox skill2NoteEdit;
    Label skill2NotePrompt;
    EditBox skill2NameEdit;
    Label skill2NamePrompt;
    EditBox skill1NoteEdit;
    Label skill1NotePrompt;
    EditBox skill1NameEdit;
    Label skill1NamePrompt;
    Button nameFontButton;
    Button titleFontButton;
    GroupBox skillGroup;
    ComboBox healthCombo;
    Label healthPrompt;
    ComboBox campCombo;
    Label campPrompt;
    Label nameFontPrompt;
    EditBox nameEdit;
    Label namePrompt;
    Label titleFontPrompt;
    EditBox titleEdit;
    Label titlePrompt;
    GroupBox cardInfoGroup;
    PicBox portraitBox;

protected:
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    bool createControls();
    void onCommand(HWND control, UINT code);
    LRESULT onNotify(const NMHDR& header);
    void moveFocus(bool backwards);
};

// The one main window of the process while it exists (null otherwise).
MainWindow* theMainWindow();
