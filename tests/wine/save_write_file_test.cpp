// writeWholeFile: a failed save never harms the file that was there, and leaves nothing behind.
#include "editor/file_io_win.h"
#include "tests/wine/save_test_support_win.h"

using namespace save_support;

namespace {

const std::string kOld = "the old card, longer than the new one";
const std::string kNew = "new card";

} // namespace

TEST(SaveWriteFile, CreatesANewFile) {
    ScratchFolder folder;
    const std::string bytes(490950, '\x7E');
    EXPECT_TRUE(writeWholeFile(folder.file("card.jpg"), bytes));
    EXPECT_EQ(fileBytes(folder.file("card.jpg")), bytes);
    EXPECT_EQ(folder.names(), std::vector<std::string>{"card.jpg"});
}

TEST(SaveWriteFile, ReplacesAnExistingFileWhole) {
    ScratchFolder folder;
    ASSERT_TRUE(putFile(folder.file("card.jpg"), kOld));
    EXPECT_TRUE(writeWholeFile(folder.file("card.jpg"), kNew));
    EXPECT_EQ(fileBytes(folder.file("card.jpg")), kNew);
    EXPECT_EQ(folder.names(), std::vector<std::string>{"card.jpg"});
}

TEST(SaveWriteFile, EmptyBytesGiveAnEmptyFile) {
    ScratchFolder folder;
    ASSERT_TRUE(putFile(folder.file("card.jpg"), kOld));
    EXPECT_TRUE(writeWholeFile(folder.file("card.jpg"), ""));
    EXPECT_EQ(fileBytes(folder.file("card.jpg")), "");
}

TEST(SaveWriteFile, MissingFolderCreatesNothing) {
    ScratchFolder folder;
    EXPECT_FALSE(writeWholeFile(folder.file("gone\\card.jpg"), kNew));
    EXPECT_FALSE(writeWholeFile("", kNew));
    EXPECT_EQ(GetFileAttributesA(folder.file("gone").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(folder.names().empty());
}

TEST(SaveWriteFile, ReadOnlyFileIsKept) {
    ScratchFolder folder;
    const std::string path = folder.file("card.jpg");
    ASSERT_TRUE(putFile(path, kOld));
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(writeWholeFile(path, kNew));
    EXPECT_EQ(fileBytes(path), kOld);
    EXPECT_NE(GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
    EXPECT_EQ(folder.names(), std::vector<std::string>{"card.jpg"});
}

TEST(SaveWriteFile, FileOpenElsewhereIsKept) {
    ScratchFolder folder;
    const std::string path = folder.file("card.jpg");
    ASSERT_TRUE(putFile(path, kOld));
    struct Case {
        const char* what;
        DWORD access, share;
    } cases[] = {
        {"held without sharing", GENERIC_READ, 0},
        {"held for reading", GENERIC_READ, FILE_SHARE_READ},
        {"held for writing, sharing everything", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE},
    };
    for (const Case& c : cases) {
        HANDLE other = CreateFileA(path.c_str(), c.access, c.share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(other, INVALID_HANDLE_VALUE) << c.what;
        EXPECT_FALSE(writeWholeFile(path, kNew)) << c.what;
        CloseHandle(other);
        EXPECT_EQ(fileBytes(path), kOld) << c.what;
        EXPECT_EQ(folder.names(), std::vector<std::string>{"card.jpg"}) << c.what;
    }
}

TEST(SaveWriteFile, FolderAsTargetIsRefused) {
    ScratchFolder folder;
    ASSERT_TRUE(CreateDirectoryA(folder.file("card.jpg").c_str(), nullptr));
    EXPECT_FALSE(writeWholeFile(folder.file("card.jpg"), kNew));
    EXPECT_NE(GetFileAttributesA(folder.file("card.jpg").c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
    EXPECT_EQ(folder.names(), std::vector<std::string>{"card.jpg"});
}

// The temporary file goes into the target's own folder even when the folder's GBK name
// ends in a byte equal to '\'.
TEST(SaveWriteFile, FolderNameWithBackslashTrailByte) {
    ScratchFolder folder;
    const std::string sub = folder.file("\xC9\x5C");
    ASSERT_TRUE(CreateDirectoryA(sub.c_str(), nullptr));
    const std::string path = sub + "\\card.jpg";
    ASSERT_TRUE(putFile(path, kOld));
    EXPECT_TRUE(writeWholeFile(path, kNew));
    EXPECT_EQ(fileBytes(path), kNew);
    EXPECT_EQ(ScratchFolder::list(sub), std::vector<std::string>{"card.jpg"});
    EXPECT_EQ(folder.names(), std::vector<std::string>{"\xC9\x5C"});
}

// Paths longer than MAX_PATH: written, replaced and read back, with nothing left behind.
TEST(SaveWriteFile, PathLongerThanMaxPath) {
    ScratchFolder folder;
    std::string deep = folder.path();
    while (deep.size() < MAX_PATH + 40) {
        deep += "\\" + std::string(60, 'd');
        ASSERT_TRUE(CreateDirectoryW(std::wstring(L"\\\\?\\").append(deep.begin(), deep.end()).c_str(), nullptr))
            << deep.size();
    }
    const std::string path = deep + "\\card.jpg";
    EXPECT_TRUE(writeWholeFile(path, kOld));
    EXPECT_TRUE(writeWholeFile(path, kNew));
    EXPECT_EQ(readWholeFile(path), kNew);

    std::wstring wideDeep = std::wstring(L"\\\\?\\").append(deep.begin(), deep.end());
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((wideDeep + L"\\*").c_str(), &data);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    std::vector<std::wstring> names;
    do {
        if (data.cFileName[0] != L'.') {
            names.push_back(data.cFileName);
        }
    } while (FindNextFileW(find, &data));
    FindClose(find);
    EXPECT_EQ(names, std::vector<std::wstring>{L"card.jpg"});

    // The folders are too deep for the plain removal of the scratch folder.
    DeleteFileW((wideDeep + L"\\card.jpg").c_str());
    while (deep.size() > folder.path().size()) {
        RemoveDirectoryW(std::wstring(L"\\\\?\\").append(deep.begin(), deep.end()).c_str());
        deep.resize(deep.rfind('\\'));
    }
}
