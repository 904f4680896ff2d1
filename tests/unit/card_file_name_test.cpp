// The card is written under a name whose last four bytes are exactly ".jpg".
#include "editor/card_file_name.h"

#include <gtest/gtest.h>

TEST(CardFileName, EndsInDotJpg) {
    struct Case {
        const char* chosen;
        const char* written;
    } cases[] = {
        {"Z:\\tmp\\card", "Z:\\tmp\\card.jpg"},
        {"Z:\\tmp\\card.jpg", "Z:\\tmp\\card.jpg"},
        {"Z:\\tmp\\card.JPG", "Z:\\tmp\\card.JPG.jpg"},
        {"Z:\\tmp\\card.Jpg", "Z:\\tmp\\card.Jpg.jpg"},
        {"Z:\\tmp\\card.jpeg", "Z:\\tmp\\card.jpeg.jpg"},
        {"Z:\\tmp\\card.jpg.bmp", "Z:\\tmp\\card.jpg.bmp.jpg"},
        {"Z:\\tmp\\card.jpg ", "Z:\\tmp\\card.jpg .jpg"},
        {"C:\\卡牌\\我的卡", "C:\\卡牌\\我的卡.jpg"},
        {"我的卡.jpg", "我的卡.jpg"},
        {".jpg", ".jpg"},
        {"jpg", "jpg.jpg"},
        {"a", "a.jpg"},
        {"", ".jpg"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(cardFileName(c.chosen), c.written) << c.chosen;
    }
}
