// Choosing the portrait through the real open dialog, worked from a second thread.
#include "editor/bmp_file.h"
#include "editor/handlers_win.h"
#include "tests/wine/save_test_support_win.h"

#include <vector>

using namespace save_support;

namespace {

std::string solidBmp(int w, int h, unsigned char blue, unsigned char green, unsigned char red) {
    const bmp::Layout24 layout{w, h};
    std::vector<unsigned char> rows(layout.imageSize());
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            size_t at = layout.pixelOffset(x, y) - bmp::kPixelOffset;
            rows[at] = blue;
            rows[at + 1] = green;
            rows[at + 2] = red;
        }
    }
    return bmp::fileImage24(layout, rows.data(), rows.size());
}

} // namespace

TEST(PortraitChoose, PictureFromTheOpenDialogGoesToThePortrait) {
    ShownWindow window;
    ASSERT_TRUE(window.ok);
    ScratchFolder folder;
    const std::string path = folder.file("portrait.jpg");
    const std::string bytes = solidBmp(305, 400, 0x20, 0x40, 0xC0);
    ASSERT_TRUE(putFile(path, bytes));

    std::string prefilled, filterShown, title;
    DialogDriver driver([&](DWORD ui) {
        if (HWND dialog = waitForDialog(ui)) {
            title = windowText(dialog);
            filterShown = windowText(GetDlgItem(dialog, 0x470)); // cmb1, the file types
            prefilled = acceptFileDialog(dialog, path);
        }
    });
    choosePicture(*window);
    driver.join();

    EXPECT_EQ(prefilled, "");
    EXPECT_EQ(filterShown, "图片文件(*.jpg)");
    EXPECT_EQ(window->portraitBox.picture(), bytes);
    EXPECT_EQ(window->picturePathEdit.text(), path);
    EXPECT_EQ(window->openPictureDialog.fileName, path);
}

TEST(PortraitChoose, NextDialogIsPrefilledAndCancelChangesNothing) {
    ShownWindow window;
    ASSERT_TRUE(window.ok);
    ScratchFolder folder;
    const std::string path = folder.file("a.jpg");
    const std::string bytes = solidBmp(8, 8, 1, 2, 3);
    ASSERT_TRUE(putFile(path, bytes));

    DialogDriver first([&](DWORD ui) {
        if (HWND dialog = waitForDialog(ui)) {
            acceptFileDialog(dialog, path);
        }
    });
    choosePicture(*window);
    first.join();
    ASSERT_EQ(window->portraitBox.picture(), bytes);

    // The file changes on disk; cancelling must not read it again.
    ASSERT_TRUE(putFile(path, "changed"));
    std::string prefilled;
    DialogDriver second([&](DWORD ui) {
        if (HWND dialog = waitForDialog(ui)) {
            prefilled = windowText(fileNameBox(dialog));
            cancelDialog(dialog);
        }
    });
    choosePicture(*window);
    second.join();

    EXPECT_NE(prefilled.find("a.jpg"), std::string::npos) << prefilled;
    EXPECT_EQ(window->portraitBox.picture(), bytes);
    EXPECT_EQ(window->picturePathEdit.text(), path);
    EXPECT_EQ(window->openPictureDialog.fileName, path);

    // Choosing the same file again reads it again.
    DialogDriver third([&](DWORD ui) {
        if (HWND dialog = waitForDialog(ui)) {
            acceptFileDialog(dialog, path);
        }
    });
    choosePicture(*window);
    third.join();
    EXPECT_EQ(window->portraitBox.picture(), "changed");
}

// A file held open for writing elsewhere cannot be read: the portrait is cleared, the path shown.
TEST(PortraitChoose, UnreadableFileClearsThePortrait) {
    ShownWindow window;
    ASSERT_TRUE(window.ok);
    ScratchFolder folder;
    const std::string good = folder.file("good.jpg");
    const std::string busy = folder.file("busy.jpg");
    ASSERT_TRUE(putFile(good, solidBmp(4, 4, 9, 9, 9)));
    ASSERT_TRUE(putFile(busy, solidBmp(4, 4, 7, 7, 7)));

    for (const std::string* path : {&good, &busy}) {
        HANDLE writer = path == &busy ? CreateFileA(busy.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)
                                      : INVALID_HANDLE_VALUE;
        DialogDriver driver([&](DWORD ui) {
            if (HWND dialog = waitForDialog(ui)) {
                acceptFileDialog(dialog, *path);
            }
        });
        choosePicture(*window);
        driver.join();
        if (writer != INVALID_HANDLE_VALUE) {
            CloseHandle(writer);
        }
    }
    EXPECT_EQ(window->portraitBox.picture(), "");
    EXPECT_EQ(window->picturePathEdit.text(), busy);
}
