// saveCardImage through the real save dialog, worked from a second thread.
#include "editor/handlers_win.h"
#include "tests/wine/save_test_support_win.h"

using namespace save_support;

namespace {

const char* const kFailureTitle = "保存失败";

struct SaveRun {
    std::string prefilled;
    bool told = false;
    std::vector<std::string> message;
};

// One click of the save button: the dialog gets name (or is cancelled when name is empty);
// a failure message, if one comes, is read and dismissed.
SaveRun saveAs(MainWindow& window, const std::string& name, bool expectMessage) {
    SaveRun run;
    DialogDriver driver([&](DWORD ui) {
        HWND dialog = waitForDialog(ui, "另存为");
        if (!dialog) {
            return;
        }
        if (name.empty()) {
            run.prefilled = windowText(fileNameBox(dialog));
            cancelDialog(dialog);
        } else {
            run.prefilled = acceptFileDialog(dialog, name);
        }
        if (HWND box = waitForDialog(ui, kFailureTitle, expectMessage ? 15000 : 1500)) {
            run.told = true;
            run.message = childTexts(box, "Static");
            PostMessageA(box, WM_COMMAND, IDOK, 0);
        }
    });
    saveCardImage(window);
    driver.join();
    return run;
}

bool mentions(const std::vector<std::string>& texts, const std::string& what) {
    for (const std::string& t : texts) {
        if (t.find(what) != std::string::npos) {
            return true;
        }
    }
    return false;
}

} // namespace

TEST(SaveCard, WritesTheCanvasUnderDotJpgAndRemembersTheNameAsChosen) {
    ShownWindow window;
    ASSERT_TRUE(window.ok);
    ScratchFolder folder;

    SaveRun first = saveAs(*window, folder.file("card"), false);
    EXPECT_FALSE(first.told);
    EXPECT_EQ(window->saveImageDialog.fileName, folder.file("card"));
    const std::string saved = fileBytes(folder.file("card.jpg"));
    ASSERT_EQ(saved.size(), 490950u);
    EXPECT_EQ(saved.substr(0, 2), "BM");
    EXPECT_EQ(folder.names(), std::vector<std::string>{"card.jpg"});

    // The next dialog offers the name as chosen; another tail gets ".jpg" added.
    SaveRun second = saveAs(*window, folder.file("card.jpeg"), false);
    EXPECT_NE(second.prefilled.find("card"), std::string::npos) << second.prefilled;
    EXPECT_EQ(second.prefilled.find("card.jpg"), std::string::npos) << second.prefilled;
    EXPECT_EQ(fileBytes(folder.file("card.jpeg.jpg")).size(), 490950u);
}

TEST(SaveCard, CancelWritesNothing) {
    ShownWindow window;
    ASSERT_TRUE(window.ok);
    ScratchFolder folder;
    SaveRun run = saveAs(*window, "", false);
    EXPECT_FALSE(run.told);
    EXPECT_TRUE(folder.names().empty());
    EXPECT_EQ(window->saveImageDialog.fileName, "");
}

// Saving onto a read-only card keeps it and tells the user which file could not be written.
TEST(SaveCard, ReadOnlyCardIsKeptAndTheUserIsTold) {
    ShownWindow window;
    ASSERT_TRUE(window.ok);
    ScratchFolder folder;
    const std::string path = folder.file("card.jpg");
    ASSERT_TRUE(putFile(path, "the old card"));
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));

    SaveRun run = saveAs(*window, folder.file("card"), true);
    EXPECT_TRUE(run.told);
    EXPECT_TRUE(mentions(run.message, path)) << (run.message.empty() ? "" : run.message.back());
    EXPECT_EQ(fileBytes(path), "the old card");
    EXPECT_EQ(folder.names(), std::vector<std::string>{"card.jpg"});
}

// Choosing an existing card asks first; only a yes replaces it.
TEST(SaveCard, ChoosingAnExistingCardAsksBeforeReplacingIt) {
    ShownWindow window;
    ASSERT_TRUE(window.ok);
    ScratchFolder folder;
    const std::string path = folder.file("card.jpg");
    ASSERT_TRUE(putFile(path, "the old card"));

    for (int answer : {IDNO, IDYES}) {
        bool asked = false;
        DialogDriver driver([&](DWORD ui) {
            HWND dialog = waitForDialog(ui, "另存为");
            if (!dialog) {
                return;
            }
            acceptFileDialog(dialog, path);
            // The question is a second dialog of the thread, on top of the save dialog.
            const ULONGLONG end = GetTickCount64() + 10000;
            HWND question = nullptr;
            while (!question && GetTickCount64() < end) {
                Sleep(50);
                for (HWND w = GetWindow(dialog, GW_HWNDFIRST); w; w = GetWindow(w, GW_HWNDNEXT)) {
                    if (w != dialog && IsWindowVisible(w) && className(w) == "#32770" &&
                        GetWindowThreadProcessId(w, nullptr) == ui) {
                        question = w;
                        break;
                    }
                }
            }
            if (!question) {
                return;
            }
            asked = true;
            PostMessageA(question, WM_COMMAND, static_cast<WPARAM>(answer), 0);
            if (answer == IDNO) {
                Sleep(500);
                if (HWND still = waitForDialog(ui, "另存为", 3000)) {
                    cancelDialog(still);
                }
            }
        });
        saveCardImage(*window);
        driver.join();
        EXPECT_TRUE(asked) << answer;
        if (answer == IDNO) {
            EXPECT_EQ(fileBytes(path), "the old card");
        } else {
            EXPECT_EQ(fileBytes(path).size(), 490950u);
        }
    }
}
