// The start-up version check against a loopback HTTP server run by the test itself,
// and the update prompt driven from another thread as a user would.
#include <winsock2.h>
#include <windows.h>
#include <wininet.h>

#include "app/update_check_win.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

using namespace std::string_literals;

namespace {

// ---- A small HTTP server on 127.0.0.1, on a port of its own, for one test.

std::string httpResponse(const std::string& body, const char* status = "200 OK", bool withLength = true,
                         const std::string& extraHeaders = "") {
    std::string r = "HTTP/1.0 "s + status + "\r\nContent-Type: text/plain\r\n" + extraHeaders;
    if (withLength) {
        r += "Content-Length: " + std::to_string(body.size()) + "\r\n";
    }
    return r + "\r\n" + body;
}

class LoopbackServer {
public:
    enum class Mode {
        Answer,      // reads the request, sends the next response, closes
        Silent,      // reads the request and never answers (until the server stops)
        CloseAtOnce, // reads the request and closes without a byte
    };

    explicit LoopbackServer(std::vector<std::string> responses, Mode mode = Mode::Answer)
        : responses_(std::move(responses)), mode_(mode) {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
        listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = 0;
        bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
        listen(listener_, 8);
        int size = sizeof address;
        getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size);
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] { serve(); });
    }

    ~LoopbackServer() {
        stop_ = true;
        thread_.join();
        closesocket(listener_);
        WSACleanup();
    }

    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    std::string url(const std::string& path = "/tarvokdiy.txt") const {
        return "http://127.0.0.1:" + std::to_string(port_) + path;
    }

    std::vector<std::string> requests() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return requests_;
    }

private:
    static bool readable(SOCKET s, int ms) {
        fd_set set;
        FD_ZERO(&set);
        FD_SET(s, &set);
        timeval wait{ms / 1000, (ms % 1000) * 1000};
        return select(0, &set, nullptr, nullptr, &wait) == 1;
    }

    std::string readRequest(SOCKET client) {
        std::string request;
        ULONGLONG until = GetTickCount64() + 5000;
        char buffer[4096];
        while (!stop_ && GetTickCount64() < until && request.find("\r\n\r\n") == std::string::npos) {
            if (!readable(client, 100)) {
                continue;
            }
            int n = recv(client, buffer, sizeof buffer, 0);
            if (n <= 0) {
                break;
            }
            request.append(buffer, static_cast<size_t>(n));
        }
        return request;
    }

    // Bounded: at most 16 connections and 60 seconds, whatever the client does.
    void serve() {
        ULONGLONG until = GetTickCount64() + 60000;
        std::vector<SOCKET> held;
        size_t served = 0;
        while (!stop_ && GetTickCount64() < until && served < 16) {
            if (!readable(listener_, 100)) {
                continue;
            }
            SOCKET client = accept(listener_, nullptr, nullptr);
            if (client == INVALID_SOCKET) {
                continue;
            }
            DWORD sendTimeout = 5000;
            setsockopt(client, SOL_SOCKET, SO_SNDTIMEO, reinterpret_cast<const char*>(&sendTimeout),
                       sizeof sendTimeout);
            std::string request = readRequest(client);
            {
                std::lock_guard<std::mutex> lock(mutex_);
                requests_.push_back(request);
            }
            if (mode_ == Mode::Silent) {
                held.push_back(client);
            } else {
                if (mode_ == Mode::Answer && !responses_.empty()) {
                    const std::string& r = responses_[std::min(served, responses_.size() - 1)];
                    for (size_t sent = 0; sent < r.size();) {
                        int n = send(client, r.data() + sent, static_cast<int>(std::min<size_t>(r.size() - sent, 65536)), 0);
                        if (n <= 0) {
                            break;
                        }
                        sent += static_cast<size_t>(n);
                    }
                }
                shutdown(client, SD_SEND);
                closesocket(client);
            }
            ++served;
        }
        for (SOCKET s : held) {
            closesocket(s);
        }
    }

    std::vector<std::string> responses_;
    Mode mode_;
    SOCKET listener_ = INVALID_SOCKET;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    std::vector<std::string> requests_;
    std::thread thread_;
};

// A loopback port with nothing listening on it.
int refusedPort() {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
    int size = sizeof address;
    getsockname(s, reinterpret_cast<sockaddr*>(&address), &size);
    closesocket(s);
    WSACleanup();
    return ntohs(address.sin_port);
}

// Runs the fetch on a worker so that a hang fails the test instead of stalling it.
struct TimedFetch {
    std::optional<std::string> body; // nothing when the fetch had not ended in time
    DWORD elapsedMs = 0;
};

TimedFetch fetchWithin(const std::string& url, DWORD limitMs) {
    struct State {
        std::string body;
        std::atomic<bool> done{false};
    };
    auto state = std::make_shared<State>();
    ULONGLONG start = GetTickCount64();
    std::thread([state, url] {
        state->body = fetchVersionText(url);
        state->done = true;
    }).detach();
    while (!state->done && GetTickCount64() - start < limitMs) {
        Sleep(20);
    }
    TimedFetch result;
    result.elapsedMs = static_cast<DWORD>(GetTickCount64() - start);
    if (state->done) {
        result.body = state->body;
    }
    return result;
}

// ---- The fetch and the decision

struct BodyCase {
    const char* name;
    std::string body;
    bool current;
};

const BodyCase kBodies[] = {
    {"exact", "1.0"s, true},
    {"crlf", "1.0\r\n"s, false},
    {"lf", "1.0\n"s, false},
    {"trailing space", "1.0 "s, false},
    {"byte-order mark", "\xEF\xBB\xBF" "1.0"s, false},
    {"zero byte then junk", "1.0\0junk"s, true},
    {"zero byte then a long tail", "1.0\0"s + std::string(60000, 'x'), true},
    {"higher", "1.1"s, false},
    {"lower", "0.9"s, false},
    {"upper-case", "1.0A"s, false},
    {"empty", ""s, false},
};

TEST(UpdateCheckFetch, ReturnsTheBodyAsServedAndDecidesOnExactly10) {
    for (bool withLength : {true, false}) {
        for (const BodyCase& c : kBodies) {
            SCOPED_TRACE(std::string(c.name) + (withLength ? ", with Content-Length" : ", without Content-Length"));
            LoopbackServer server({httpResponse(c.body, "200 OK", withLength)});
            std::string body = fetchVersionText(server.url());
            EXPECT_EQ(body.size(), c.body.size());
            EXPECT_TRUE(body == c.body) << testing::PrintToString(body.substr(0, 40));
            EXPECT_EQ(versionIsCurrent(server.url()), c.current);
        }
    }
}

TEST(UpdateCheckFetch, SendsAnUncachedHttp10GetWithTheToolsHeaders) {
    LoopbackServer server({httpResponse("1.0")});
    ASSERT_EQ(fetchVersionText(server.url()), "1.0");
    auto requests = server.requests();
    ASSERT_EQ(requests.size(), 1u);
    const std::string& r = requests[0];
    EXPECT_EQ(r.rfind("GET /tarvokdiy.txt HTTP/1.0\r\n", 0), 0u) << r;
    EXPECT_NE(r.find("\r\nUser-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)\r\n"), std::string::npos) << r;
    EXPECT_NE(r.find("\r\nAccept: */*\r\n"), std::string::npos) << r;
    EXPECT_NE(r.find("\r\nPragma: no-cache\r\n"), std::string::npos) << r;
    EXPECT_NE(r.find("\r\nHost: 127.0.0.1:"), std::string::npos) << r;
}

TEST(UpdateCheckFetch, LeavesNothingInTheCache) {
    // Cacheable answers: still every fetch reaches the server, and no copy is kept.
    const std::string cacheable = "Cache-Control: public, max-age=86400\r\nExpires: Thu, 01 Jan 2099 00:00:00 GMT\r\n"
                                  "Last-Modified: Mon, 01 Jan 2024 00:00:00 GMT\r\n";
    LoopbackServer server({httpResponse("1.0", "200 OK", true, cacheable), httpResponse("2.0", "200 OK", true, cacheable)});
    EXPECT_EQ(fetchVersionText(server.url()), "1.0");
    EXPECT_EQ(fetchVersionText(server.url()), "2.0");
    EXPECT_EQ(server.requests().size(), 2u);
    DWORD size = 0;
    EXPECT_FALSE(GetUrlCacheEntryInfoA(server.url().c_str(), nullptr, &size));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST(UpdateCheckFetch, ErrorPageIsABodyLikeAnyOther) {
    const std::string page = "<html><body><h1>404 Not Found</h1></body></html>";
    LoopbackServer server({httpResponse(page, "404 Not Found")});
    EXPECT_EQ(fetchVersionText(server.url()), page);
    EXPECT_FALSE(versionIsCurrent(server.url()));
}

TEST(UpdateCheckFetch, ErrorPageSaying10StillPasses) {
    // The status code is not examined; only the text counts.
    LoopbackServer server({httpResponse("1.0", "500 Internal Server Error")});
    EXPECT_TRUE(versionIsCurrent(server.url()));
}

TEST(UpdateCheckFetch, FailuresGiveTheEmptyBody) {
    {
        SCOPED_TRACE("refused port");
        std::string url = "http://127.0.0.1:" + std::to_string(refusedPort()) + "/tarvokdiy.txt";
        TimedFetch fetch = fetchWithin(url, 60000);
        ASSERT_TRUE(fetch.body.has_value()) << "still waiting after " << fetch.elapsedMs << " ms";
        EXPECT_EQ(*fetch.body, "");
        EXPECT_FALSE(versionIsCurrent(url));
    }
    {
        SCOPED_TRACE("connection closed without an answer");
        LoopbackServer server({}, LoopbackServer::Mode::CloseAtOnce);
        TimedFetch fetch = fetchWithin(server.url(), 60000);
        ASSERT_TRUE(fetch.body.has_value()) << "still waiting after " << fetch.elapsedMs << " ms";
        EXPECT_EQ(*fetch.body, "");
    }
    for (const char* url : {"", "#http://127.0.0.1/tarvokdiy.txt", "http://", "http://127.0.0.1:99999/x"}) {
        SCOPED_TRACE(url);
        EXPECT_EQ(fetchVersionText(url), "");
        EXPECT_FALSE(versionIsCurrent(url));
    }
}

TEST(UpdateCheckFetch, SilentServerEndsWithinTheTimeOut) {
    // The time-out is about 10 s; 60 s only tells a bounded wait from a hang.
    LoopbackServer server({}, LoopbackServer::Mode::Silent);
    TimedFetch fetch = fetchWithin(server.url(), 60000);
    ASSERT_TRUE(fetch.body.has_value()) << "still waiting after " << fetch.elapsedMs << " ms";
    EXPECT_EQ(*fetch.body, "");
    EXPECT_EQ(server.requests().size(), 1u);
}

TEST(UpdateCheckFetch, StopsReadingAt64KiB) {
    std::string big;
    for (size_t i = 0; big.size() < 200000; ++i) {
        big += static_cast<char>('a' + i % 26);
    }
    for (bool withLength : {true, false}) {
        SCOPED_TRACE(withLength ? "with Content-Length" : "without Content-Length");
        LoopbackServer server({httpResponse(big, "200 OK", withLength)});
        TimedFetch fetch = fetchWithin(server.url(), 60000);
        ASSERT_TRUE(fetch.body.has_value());
        EXPECT_EQ(fetch.body->size(), 65536u);
        EXPECT_TRUE(*fetch.body == big.substr(0, 65536));
    }
    // Just under and at the cap nothing is lost.
    for (size_t size : {65535u, 65536u}) {
        LoopbackServer server({httpResponse(big.substr(0, size))});
        std::string body = fetchVersionText(server.url());
        EXPECT_EQ(body.size(), size);
        EXPECT_TRUE(body == big.substr(0, size)) << size;
    }
}

// ---- The message box, driven from a second thread

// What the helper thread saw of the box, before pressing it.
struct SeenBox {
    HWND box = nullptr;
    std::string text;
    bool buttons[12] = {};
    HICON icon = nullptr;
    LONG_PTR exStyle = 0;
    bool otherWindowEnabled = true;
};

HWND waitForBox(const char* caption, DWORD ms = 15000) {
    ULONGLONG until = GetTickCount64() + ms;
    while (GetTickCount64() < until) {
        HWND box = FindWindowA("#32770", caption);
        if (box && IsWindowVisible(box)) {
            return box;
        }
        Sleep(20);
    }
    return nullptr;
}

enum class Press { Button, Escape, CloseBox };

// Shows the box on this thread; another thread looks at it, then presses as a user would.
int runBox(const std::string& text, unsigned style, const char* caption, const char* findCaption, Press press,
           int buttonId, SeenBox& seen, HWND other = nullptr) {
    std::thread user([&] {
        HWND box = waitForBox(findCaption);
        seen.box = box;
        if (!box) {
            return;
        }
        char buffer[512] = {};
        GetDlgItemTextA(box, 0xFFFF, buffer, sizeof buffer);
        seen.text = buffer;
        for (int id = 1; id < 12; ++id) {
            seen.buttons[id] = GetDlgItem(box, id) != nullptr && IsWindowVisible(GetDlgItem(box, id));
        }
        seen.icon = reinterpret_cast<HICON>(SendDlgItemMessageA(box, 0x440, STM_GETICON, 0, 0));
        seen.exStyle = GetWindowLongPtrA(box, GWL_EXSTYLE);
        if (other) {
            seen.otherWindowEnabled = IsWindowEnabled(other);
        }
        switch (press) {
        case Press::Button:
            SendMessageA(GetDlgItem(box, buttonId), BM_CLICK, 0, 0);
            break;
        case Press::Escape:
            // The key goes to the focused button, as a keystroke would.
            PostMessageA(GetDlgItem(box, IDOK) ? GetDlgItem(box, IDOK) : box, WM_KEYDOWN, VK_ESCAPE, 0);
            break;
        case Press::CloseBox:
            PostMessageA(box, WM_SYSCOMMAND, SC_CLOSE, 0);
            break;
        }
    });
    int result = showMessageBox(text, style, caption);
    user.join();
    return result;
}

TEST(UpdateCheckMessageBox, MapsThePressedButtonToItsResult) {
    struct Case {
        unsigned style;
        int button;
        int result;
    } cases[] = {
        {MB_OK, IDOK, 0},
        {MB_OKCANCEL, IDOK, 0},
        {MB_OKCANCEL, IDCANCEL, 1},
        {MB_ABORTRETRYIGNORE, IDABORT, 2},
        {MB_ABORTRETRYIGNORE, IDRETRY, 3},
        {MB_ABORTRETRYIGNORE, IDIGNORE, 4},
        {MB_YESNO, IDYES, 5},
        {MB_YESNO, IDNO, 6},
        {MB_YESNOCANCEL, IDCANCEL, 1},
        {MB_RETRYCANCEL, IDRETRY, 3},
        // Buttons outside the table give 0.
        {MB_CANCELTRYCONTINUE, IDTRYAGAIN, 0},
        {MB_CANCELTRYCONTINUE, IDCONTINUE, 0},
        {MB_CANCELTRYCONTINUE, IDCANCEL, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("style " + std::to_string(c.style) + ", button " + std::to_string(c.button));
        SeenBox seen;
        int result = runBox("question", c.style, "test box", "test box", Press::Button, c.button, seen);
        ASSERT_NE(seen.box, nullptr);
        EXPECT_TRUE(seen.buttons[c.button]);
        EXPECT_EQ(result, c.result);
    }
}

TEST(UpdateCheckMessageBox, EscapeAndTheCloseButtonCancel) {
    for (Press press : {Press::Escape, Press::CloseBox}) {
        SeenBox seen;
        int result = runBox("question", MB_OKCANCEL, "test box", "test box", press, 0, seen);
        ASSERT_NE(seen.box, nullptr);
        EXPECT_EQ(result, 1);
    }
}

TEST(UpdateCheckMessageBox, CaptionIsXinXiWhenNoneIsGiven) {
    SeenBox seen;
    runBox("some text", MB_OK, nullptr, "信息：", Press::Button, IDOK, seen);
    ASSERT_NE(seen.box, nullptr) << "no box captioned 信息：";
    EXPECT_EQ(seen.text, "some text");

    SeenBox given;
    runBox("other text", MB_OK, "Given", "Given", Press::Button, IDOK, given);
    ASSERT_NE(given.box, nullptr);
    EXPECT_EQ(given.text, "other text");
}

TEST(UpdateCheckMessageBox, TaskModalUnlessSystemModalIsAsked) {
    HWND other = CreateWindowExA(0, "STATIC", "other window of the thread", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10,
                                 200, 100, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(other, nullptr);

    SeenBox taskModal;
    runBox("text", MB_OK, "modal test", "modal test", Press::Button, IDOK, taskModal, other);
    ASSERT_NE(taskModal.box, nullptr);
    EXPECT_FALSE(taskModal.otherWindowEnabled) << "a task-modal box disables the thread's other windows";
    EXPECT_TRUE(IsWindowEnabled(other)) << "and enables them again when it closes";

    SeenBox systemModal;
    runBox("text", MB_OK | MB_SYSTEMMODAL, "modal test", "modal test", Press::Button, IDOK, systemModal, other);
    ASSERT_NE(systemModal.box, nullptr);
    EXPECT_TRUE(systemModal.otherWindowEnabled) << "no task-modal flag next to system-modal";
    EXPECT_TRUE(systemModal.exStyle & WS_EX_TOPMOST);
    DestroyWindow(other);
}

// ---- The update prompt

TEST(UpdateCheckPrompt, IsAnOkCancelInformationBoxCaptionedXinXi) {
    SeenBox seen;
    std::thread user([&] {
        HWND box = waitForBox("信息：");
        seen.box = box;
        if (!box) {
            return;
        }
        char buffer[512] = {};
        GetDlgItemTextA(box, 0xFFFF, buffer, sizeof buffer);
        seen.text = buffer;
        for (int id = 1; id < 12; ++id) {
            seen.buttons[id] = GetDlgItem(box, id) != nullptr && IsWindowVisible(GetDlgItem(box, id));
        }
        seen.icon = reinterpret_cast<HICON>(SendDlgItemMessageA(box, 0x440, STM_GETICON, 0, 0));
        SendMessageA(GetDlgItem(box, IDCANCEL), BM_CLICK, 0, 0);
    });
    int answer = offerUpdate("http://127.0.0.1:1/");
    user.join();
    ASSERT_NE(seen.box, nullptr);
    EXPECT_EQ(seen.text, "有新的版本,确定打开官网进行更新下载,?");
    EXPECT_TRUE(seen.buttons[IDOK]);
    EXPECT_TRUE(seen.buttons[IDCANCEL]);
    for (int id : {IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO}) {
        EXPECT_FALSE(seen.buttons[id]) << id;
    }
    EXPECT_NE(seen.icon, nullptr);
    EXPECT_EQ(seen.icon, LoadIconA(nullptr, IDI_INFORMATION));
    EXPECT_EQ(answer, 1);
}

} // namespace
