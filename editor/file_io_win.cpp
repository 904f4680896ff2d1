// Reading the portrait file and writing the card file.
#include <windows.h>

#include "editor/file_io_win.h"

#include <algorithm>

namespace {

class FileHandle {
public:
    explicit FileHandle(HANDLE h) : handle_(h) {}
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    ~FileHandle() { close(); }
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return handle_; }
    bool close() {
        if (!valid()) {
            return true;
        }
        BOOL ok = CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
        return ok != FALSE;
    }

private:
    HANDLE handle_;
};

// ANSI path to a wide one. Paths are split only in this form: in GBK the second byte of
// a character can be '\\'. Long paths get the "\\?\" prefix so that they still open.
std::wstring widePath(const std::string& path) {
    // A NUL inside would silently name another file.
    if (path.empty() || path.size() > 32000 || path.find('\0') != std::string::npos) {
        return {};
    }
    int n = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, path.data(), static_cast<int>(path.size()), nullptr, 0);
    if (n <= 0) {
        return {};
    }
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, path.data(), static_cast<int>(path.size()), wide.data(), n);
    if (wide.size() < MAX_PATH - 20 || wide.rfind(L"\\\\?\\", 0) == 0) {
        return wide;
    }
    DWORD full = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (full == 0) {
        return wide;
    }
    std::wstring absolute(full, L'\0');
    full = GetFullPathNameW(wide.c_str(), full, absolute.data(), nullptr);
    absolute.resize(full);
    if (absolute.rfind(L"\\\\", 0) == 0) {
        return L"\\\\?\\UNC\\" + absolute.substr(2);
    }
    return L"\\\\?\\" + absolute;
}

// A new, empty file beside target (same folder, so the final rename stays on one volume).
std::wstring createTempBeside(const std::wstring& target, HANDLE& handle) {
    static unsigned counter = 0;
    size_t slash = target.find_last_of(L"\\/");
    std::wstring folder = slash == std::wstring::npos ? std::wstring() : target.substr(0, slash + 1);
    for (int attempt = 0; attempt < 32; ++attempt) {
        wchar_t name[64];
        wsprintfW(name, L"~tvk%lx-%x.tmp", GetCurrentProcessId(), ++counter);
        std::wstring temp = folder + name;
        handle = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle != INVALID_HANDLE_VALUE) {
            return temp;
        }
        if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS) {
            break;
        }
    }
    handle = INVALID_HANDLE_VALUE;
    return {};
}

bool writeAll(HANDLE file, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 24));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0) {
            return false;
        }
        done += written;
    }
    return true;
}

} // namespace

std::string readWholeFile(const std::string& path) {
    const std::wstring wide = widePath(path);
    if (wide.empty()) {
        return {};
    }
    FileHandle file(CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file.valid()) {
        return {};
    }
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart <= 0 ||
        static_cast<uint64_t>(size.QuadPart) > kMaxReadFileSize) {
        return {};
    }
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 24));
        DWORD got = 0;
        if (!ReadFile(file.get(), &bytes[done], chunk, &got, nullptr)) {
            return {};
        }
        if (got == 0) {
            break; // shorter than it was a moment ago
        }
        done += got;
    }
    bytes.resize(done);
    return bytes;
}

bool writeWholeFile(const std::string& path, const std::string& bytes) {
    const std::wstring target = widePath(path);
    if (target.empty()) {
        return false;
    }
    const DWORD attributes = GetFileAttributesW(target.c_str());
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (exists) {
        // Checked here, not left to the rename: Wine run as root would replace a read-only file.
        if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) {
            return false;
        }
        // Open elsewhere or not ours to write: refused, as truncating it would be.
        FileHandle probe(CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                     nullptr));
        if (!probe.valid()) {
            return false;
        }
    }

    HANDLE handle = INVALID_HANDLE_VALUE;
    const std::wstring temp = createTempBeside(target, handle);
    if (temp.empty()) {
        return false;
    }
    FileHandle file(handle);
    bool ok = writeAll(file.get(), bytes) && FlushFileBuffers(file.get());
    ok = file.close() && ok;
    ok = ok && MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!ok) {
        DeleteFileW(temp.c_str());
        return false;
    }
    if (exists && (attributes & ~FILE_ATTRIBUTE_NORMAL) != 0) {
        SetFileAttributesW(target.c_str(), attributes); // hidden, archive and the like, as before
    }
    return true;
}
