// Offset box texts as read by the spinners: folding, C-style parsing, 32-bit wrap.
#include "editor/text_to_integer.h"

#include <gtest/gtest.h>

TEST(TextToInteger, ReadsTheTable) {
    struct Case {
        const char* name;
        std::string text;
        int32_t expected;
    } cases[] = {
        {"leading zeros", "007", 7},
        {"leading space", " 12", 12},
        {"all white space kinds", "\t\n\v\f\r 5", 5},
        {"minus", "-3", -3},
        {"plus", "+5", 5},
        {"two signs", "+-5", 0},
        {"space after sign", "- 5", 0},
        {"letters only", "abc", 0},
        {"digits then letters", "12ab3", 12},
        {"empty", "", 0},
        {"full-width one two", "\xA3\xB1\xA3\xB2", 12},
        {"full-width minus and digits", "\xA3\xAD\xA3\xB4", -4},
        {"full-width digits after ascii", "1\xA3\xB2", 12},
        {"ideographic space then digits", "\xA1\xA1" "8", 8},
        {"ideographic space twice", "\xA1\xA1\xA1\xA1-9", -9},
        {"other double-byte char stops", "\xB0\xA1" "5", 0},
        {"double-byte char after digits", "3\xB0\xA1", 3},
        {"lone trailing lead byte", "4\xA3", 4},
        {"lone trailing lead byte after full-width", "\xA3\xB7\xA3", 7},
        {"0xA3 lead with low trail kept as a pair", "\xA3\x41" "1", 0},
        {"largest", "2147483647", 2147483647},
        {"smallest", "-2147483648", INT32_MIN},
        {"one past largest wraps", "2147483648", INT32_MIN},
        {"ten digits wrap", "4294967297", 1},
        {"long overflow wraps", "99999999999", 1215752191},
        {"negative overflow wraps", "-4294967295", 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(textToInteger(c.text), c.expected) << c.name;
    }
}

TEST(TextToInteger, FoldsFullWidthFormsOnly) {
    struct Case {
        std::string text, folded;
    } cases[] = {
        {"\xA3\xA1\xA3\xFE", "!~"},          // ends of the full-width range
        {"\xA1\xAB\xA1\xEE\xA1\xEF", "~**"}, // the three special forms
        {"\xA1\xA2", "\xA1\xA2"},            // other 0xA1 forms are kept
        {"\xD6\xD0" "a", "\xD6\xD0" "a"},    // a Chinese character and ASCII are kept
        {"\x80" "1", "\x80" "1"},            // 0x80 is a lead byte, so it swallows the "1"
        {"ab\xFF", "ab"},                    // a lead byte at the end is dropped
    };
    for (const Case& c : cases) {
        EXPECT_EQ(foldFullWidth(c.text), c.folded);
    }
    EXPECT_EQ(textToInteger("\x80" "1"), 0);
}
