// The start-up version check against the maker's web server.
#include <windows.h>
#include <shellapi.h>
#include <wininet.h>

#include "app/update_check_win.h"
#include "app/shell_win.h"
#include "app/site_urls_win.h"
#include "app/url_parts.h"
#include "app/version_text.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

constexpr const char* kCurrentVersion = "1.0";
constexpr const char* kUpdatePrompt = "有新的版本,确定打开官网进行更新下载,?";
constexpr unsigned int kUpdatePromptStyle = 65; // MB_OKCANCEL | MB_ICONINFORMATION
constexpr const char* kUserAgent = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";
constexpr const char* kRequestHeaders = "Accept: */*";

// The UI thread waits for the whole exchange, so a silent server must not stall start-up.
constexpr DWORD kFetchTimeoutMs = 10000;
// The version file is a few bytes; a huge or endless body must not fill the memory.
constexpr size_t kMaxBodyBytes = 64 * 1024;
constexpr DWORD kMaxChunk = 102400;
constexpr DWORD kDefaultChunk = 10240;

class InternetHandle {
public:
    explicit InternetHandle(HINTERNET handle) : handle_(handle) {}
    ~InternetHandle() {
        if (handle_) {
            InternetCloseHandle(handle_);
        }
    }
    InternetHandle(const InternetHandle&) = delete;
    InternetHandle& operator=(const InternetHandle&) = delete;
    HINTERNET get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }

private:
    HINTERNET handle_;
};

void setTimeouts(HINTERNET handle) {
    for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT,
                         INTERNET_OPTION_RECEIVE_TIMEOUT}) {
        DWORD ms = kFetchTimeoutMs;
        InternetSetOptionA(handle, option, &ms, sizeof ms);
    }
}

// Opened once per process and kept until the process ends.
HINTERNET internetSession() {
    static HINTERNET session = [] {
        HINTERNET handle = InternetOpenA(kUserAgent, INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
        if (handle) {
            setTimeouts(handle);
        }
        return handle;
    }();
    return session;
}

DWORD chunkSize(HINTERNET request) {
    DWORD length = 0;
    DWORD size = sizeof length;
    if (HttpQueryInfoA(request, HTTP_QUERY_CONTENT_LENGTH | HTTP_QUERY_FLAG_NUMBER, &length, &size, nullptr) &&
        length > 0) {
        return static_cast<DWORD>(std::min<unsigned long long>(length + 1ULL, kMaxChunk));
    }
    return kDefaultChunk;
}

} // namespace

std::string fetchVersionText(const std::string& url) {
    auto parts = splitUrl(url);
    if (!parts) {
        return {};
    }
    HINTERNET session = internetSession();
    if (!session) {
        return {};
    }
    ULONGLONG deadline = GetTickCount64() + kFetchTimeoutMs;

    InternetHandle connection(InternetConnectA(session, parts->host.c_str(), static_cast<INTERNET_PORT>(parts->port),
                                               parts->user.empty() ? nullptr : parts->user.c_str(),
                                               parts->password.empty() ? nullptr : parts->password.c_str(),
                                               INTERNET_SERVICE_HTTP, 0, 0));
    if (!connection) {
        return {};
    }
    setTimeouts(connection.get());

    DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE;
    if (isSecureScheme(parts->scheme)) {
        flags |= INTERNET_FLAG_SECURE;
    }
    const char* acceptTypes[] = {"*/*", nullptr};
    const std::string path = parts->path.empty() ? "/" : parts->path;
    InternetHandle request(
        HttpOpenRequestA(connection.get(), "GET", path.c_str(), "HTTP/1.0", nullptr, acceptTypes, flags, 0));
    if (!request) {
        return {};
    }
    setTimeouts(request.get());
    if (!HttpSendRequestA(request.get(), kRequestHeaders, static_cast<DWORD>(std::strlen(kRequestHeaders)), nullptr,
                          0)) {
        return {};
    }

    // The status code is not examined: an error page is a body like any other.
    const DWORD chunk = chunkSize(request.get());
    std::vector<char> buffer(chunk);
    std::string body;
    while (body.size() < kMaxBodyBytes) {
        DWORD wanted = static_cast<DWORD>(std::min<size_t>(chunk, kMaxBodyBytes - body.size()));
        DWORD got = 0;
        if (!InternetReadFile(request.get(), buffer.data(), wanted, &got) || got == 0) {
            break;
        }
        body.append(buffer.data(), got);
        // Each read is bounded by the receive time-out; this bounds a trickling server.
        if (GetTickCount64() >= deadline) {
            break;
        }
    }
    return body;
}

bool versionIsCurrent(const std::string& versionUrl) {
    std::string text = bytesToText(fetchVersionText(versionUrl));
    return compareText(text, kCurrentVersion) == 0;
}

int showMessageBox(const std::string& text, unsigned int style, const char* caption) {
    if ((style & MB_SYSTEMMODAL) == 0) {
        style |= MB_TASKMODAL;
    }
    switch (MessageBoxA(nullptr, text.c_str(), caption ? caption : "信息：", style)) {
    case IDOK:
        return 0;
    case IDCANCEL:
        return 1;
    case IDABORT:
        return 2;
    case IDRETRY:
        return 3;
    case IDIGNORE:
        return 4;
    case IDYES:
        return 5;
    case IDNO:
        return 6;
    default:
        return 0;
    }
}

void openUrl(const std::string& url) {
    ShellExecuteA(nullptr, "open", url.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

int offerUpdate(const std::string& homePageUrl) {
    int answer = showMessageBox(kUpdatePrompt, kUpdatePromptStyle);
    if (answer == 0) {
        openUrl(homePageUrl);
    }
    return answer;
}

void checkForUpdate() {
    if (versionIsCurrent(kVersionUrl)) {
        return;
    }
    offerUpdate(kHomePageUrl);
    exitProgram(0);
}
