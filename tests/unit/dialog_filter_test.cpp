// The stored filter text becomes the NUL-separated pairs the system dialog reads.
#include "app/dialog_filter.h"

#include <gtest/gtest.h>

namespace {

bool noLeadBytes(unsigned char) { return false; }

} // namespace

TEST(DialogFilter, StoredTextBecomesPairs) {
    using namespace std::string_literals;
    struct Case {
        std::string stored;
        std::string expected;
    } cases[] = {
        {"图片文件(*.jpg)|*.jpg", "图片文件(*.jpg)\0*.jpg\0\0"s},
        {"图片文件(*.jpg)|*.jpg \t\r\n", "图片文件(*.jpg)\0*.jpg\0\0"s},
        // Already terminated: nothing appended.
        {"图片文件(*.jpg)|*.jpg||", "图片文件(*.jpg)\0*.jpg\0\0"s},
        {"图片文件(*.jpg)|*.jpg||  ", "图片文件(*.jpg)\0*.jpg\0\0"s},
        // One bar at the end is not enough.
        {"A|*.a|", "A\0*.a\0\0\0"s},
        {"A|*.a|B|*.b", "A\0*.a\0B\0*.b\0\0"s},
        {"", "\0\0"s},
        {"   ", "\0\0"s},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(buildDialogFilter(c.stored), c.expected) << c.stored;
    }
}

// In GBK the second byte of a character can be 0x7C, the byte of '|'.
TEST(DialogFilter, BarInsideTwoByteCharacterIsKept) {
    using namespace std::string_literals;
    const std::string stored = "\x81\x7C(*.x)|*.x";
    EXPECT_EQ(buildDialogFilter(stored), "\x81\x7C(*.x)\0*.x\0\0"s);

    // Ends in a character whose second byte is '|' followed by one real bar: not yet "||".
    EXPECT_EQ(buildDialogFilter("A|B\x81||"), "A\0B\x81\x7C\0\0\0"s);
    // Ends in a two-byte character: the terminator is appended whole.
    EXPECT_EQ(buildDialogFilter("A|\x81|"), "A\0\x81\x7C\0\0"s);
}

TEST(DialogFilter, SingleByteCodePageSplitsEveryBar) {
    using namespace std::string_literals;
    EXPECT_EQ(buildDialogFilter("\x81|x", noLeadBytes), "\x81\0x\0\0"s);
}
