// readWholeFile: the whole content, or nothing at all.
#include "editor/file_io_win.h"
#include "tests/wine/save_test_support_win.h"

using namespace save_support;

TEST(PortraitReadFile, WholeContentOrEmpty) {
    ScratchFolder folder;
    std::string big(3 * 1024 * 1024 + 7, '\0');
    for (size_t i = 0; i < big.size(); ++i) {
        big[i] = static_cast<char>(i * 131 + (i >> 11));
    }
    ASSERT_TRUE(putFile(folder.file("big.bin"), big));
    ASSERT_TRUE(putFile(folder.file("empty.bin"), ""));
    ASSERT_TRUE(putFile(folder.file("small.jpg"), std::string("\xFF\xD8\xFF\0\x01", 5)));
    CreateDirectoryA(folder.file("sub").c_str(), nullptr);

    struct Case {
        std::string path;
        std::string expected;
    } cases[] = {
        {folder.file("big.bin"), big},
        {folder.file("small.jpg"), std::string("\xFF\xD8\xFF\0\x01", 5)},
        {folder.file("empty.bin"), ""},
        {folder.file("missing.jpg"), ""},
        {folder.file("sub"), ""},
        {folder.file("nofolder\\x.jpg"), ""},
        {"", ""},
        // A NUL inside must not open the file named by what comes before it.
        {folder.file("small.jpg") + std::string("\0.png", 5), ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(readWholeFile(c.path), c.expected) << c.path;
    }
}

// A GBK name whose second byte is 0x5C, the byte of '\'.
TEST(PortraitReadFile, NameWithBackslashTrailByte) {
    ScratchFolder folder;
    const std::string sub = folder.file("\xC9\x5C");
    ASSERT_TRUE(CreateDirectoryA(sub.c_str(), nullptr));
    const std::string path = sub + "\\\xC9\x5C.jpg";
    ASSERT_TRUE(putFile(path, "portrait"));
    EXPECT_EQ(readWholeFile(path), "portrait");
}

TEST(PortraitReadFile, FileOpenForWritingElsewhereGivesEmpty) {
    ScratchFolder folder;
    const std::string path = folder.file("busy.jpg");
    ASSERT_TRUE(putFile(path, "busy"));
    HANDLE writer = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    EXPECT_EQ(readWholeFile(path), "");
    CloseHandle(writer);
    EXPECT_EQ(readWholeFile(path), "busy");
    // Others may still read while we do.
    HANDLE reader = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_EQ(readWholeFile(path), "busy");
    CloseHandle(reader);
}

TEST(PortraitReadFile, OversizedFileIsRefused) {
    ScratchFolder folder;
    const std::string path = folder.file("huge.jpg");
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    LARGE_INTEGER end;
    end.QuadPart = static_cast<LONGLONG>(kMaxReadFileSize) + 1; // sparse on the host: no real disk use
    ASSERT_TRUE(SetFilePointerEx(h, end, nullptr, FILE_BEGIN));
    ASSERT_TRUE(SetEndOfFile(h));
    CloseHandle(h);
    EXPECT_EQ(readWholeFile(path), "");
}
