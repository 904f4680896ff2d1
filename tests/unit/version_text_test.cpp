// The version text: cut at the first zero byte, compared byte by byte as unsigned.
#include "app/version_text.h"

#include <gtest/gtest.h>

#include <string>

using namespace std::string_literals;

TEST(BytesToText, StopsAtFirstZeroByteAndKeepsEverythingElse) {
    struct Case {
        std::string bytes;
        std::string text;
    } cases[] = {
        {"1.0"s, "1.0"s},
        {""s, ""s},
        {"1.0\0junk"s, "1.0"s},
        {"\0"s, ""s},
        {"1.0\0\0"s, "1.0"s},
        // No trimming and no code-page conversion.
        {"1.0\r\n"s, "1.0\r\n"s},
        {" 1.0 "s, " 1.0 "s},
        {"\xEF\xBB\xBF" "1.0"s, "\xEF\xBB\xBF" "1.0"s},
        {"\xD0\xC5\xCF\xA2"s, "\xD0\xC5\xCF\xA2"s},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(bytesToText(c.bytes), c.text) << testing::PrintToString(c.bytes);
    }
}

TEST(CompareText, OrdersBytesAsUnsigned) {
    struct Case {
        std::string first, second;
        int result;
    } cases[] = {
        {"1.0", "1.0", 0},
        {"0.9", "1.0", -1},
        {"1.1", "1.0", 1},
        {"1.0", "1.0\r\n", -1},
        {"1.0 ", "1.0", 1},
        {"", "1.0", -1},
        {"1.0", "", 1},
        {"", "", 0},
        {"1.0", "1.00", -1},
        // Case counts.
        {"A", "a", -1},
        // 0x80 and up sort after ASCII; as signed char they would sort first.
        {"\x80", "1", 1},
        {"1", "\xFF", -1},
        {"\xEF\xBB\xBF" "1.0", "1.0", 1},
        {"\xB0\xA1", "\xB0\xA2", -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(compareText(c.first, c.second), c.result)
            << testing::PrintToString(c.first) << " vs " << testing::PrintToString(c.second);
        EXPECT_EQ(compareText(c.second, c.first), -c.result)
            << testing::PrintToString(c.second) << " vs " << testing::PrintToString(c.first);
    }
}

TEST(CompareText, ZeroBytesInsideTextsAreCompared) {
    EXPECT_EQ(compareText("1.0\0a"s, "1.0\0b"s), -1);
    EXPECT_EQ(compareText("1.0\0"s, "1.0"s), 1);
}

TEST(CompareText, MissingTextCountsAsEmpty) {
    EXPECT_EQ(compareText(nullptr, nullptr), 0);
    EXPECT_EQ(compareText(nullptr, ""), 0);
    EXPECT_EQ(compareText("", nullptr), 0);
    EXPECT_EQ(compareText(nullptr, "1.0"), -1);
    EXPECT_EQ(compareText("1.0", nullptr), 1);
    EXPECT_EQ(compareText("\x80", static_cast<const char*>(nullptr)), 1);
}
