// Splitting URLs: fragment cut first, then scheme, credentials, host, port and path.
#include "app/url_parts.h"

#include <gtest/gtest.h>

TEST(SplitUrl, SplitsIntoParts) {
    struct Case {
        const char* url;
        const char* scheme;
        const char* host;
        int port;
        const char* path;
        const char* user;
        const char* password;
    } cases[] = {
        {"http://www.example.com/tarvokdiy.txt", "http", "www.example.com", 80, "/tarvokdiy.txt", "", ""},
        {"http://127.0.0.1:8642/tarvokdiy.txt", "http", "127.0.0.1", 8642, "/tarvokdiy.txt", "", ""},
        {"http://www.example.com", "http", "www.example.com", 80, "", "", ""},
        {"http://www.example.com/", "http", "www.example.com", 80, "/", "", ""},
        {"http://h/f?kw=Tarvok", "http", "h", 80, "/f?kw=Tarvok", "", ""},
        {"http://h?kw=x", "http", "h", 80, "?kw=x", "", ""},
        {"http://h/a#frag", "http", "h", 80, "/a", "", ""},
        // The first "#" cuts, even inside what would be the query.
        {"http://h/a?x=1#b#c", "http", "h", 80, "/a?x=1", "", ""},
        {"http://u:p@h:81/x", "http", "h", 81, "/x", "u", "p"},
        {"http://user@h/x", "http", "h", 80, "/x", "user", ""},
        {"http://user:pa@ss@h/x", "http", "h", 80, "/x", "user", "pa@ss"},
        {"http://user:pa:ss@h/x", "http", "h", 80, "/x", "user", "pa:ss"},
        {"https://h/x", "https", "h", 443, "/x", "", ""},
        {"HTTPS://h:8443/x", "HTTPS", "h", 8443, "/x", "", ""},
        {"www.example.com/tarvokdiy.txt", "", "www.example.com", 80, "/tarvokdiy.txt", "", ""},
        {"http://h:/x", "http", "h", 80, "/x", "", ""},
        {"http://[::1]:8642/x", "http", "::1", 8642, "/x", "", ""},
        {"http://h:65535/", "http", "h", 65535, "/", "", ""},
    };
    for (const auto& c : cases) {
        auto parts = splitUrl(c.url);
        ASSERT_TRUE(parts.has_value()) << c.url;
        EXPECT_EQ(parts->scheme, c.scheme) << c.url;
        EXPECT_EQ(parts->host, c.host) << c.url;
        EXPECT_EQ(parts->port, c.port) << c.url;
        EXPECT_EQ(parts->path, c.path) << c.url;
        EXPECT_EQ(parts->user, c.user) << c.url;
        EXPECT_EQ(parts->password, c.password) << c.url;
    }
}

TEST(SplitUrl, GivesNothingForUnusableUrls) {
    const char* urls[] = {
        "",
        "#",
        "#http://h/x",
        "http://",
        "http:///x",
        "http://user@/x",
        "http://:8642/x",
        "http://h:0/x",
        "http://h:65536/x",
        "http://h:123456/x",
        "http://h:80a/x",
        "http://h:-1/x",
        "http://[::1/x",
        "http://[::1]x/",
    };
    for (const char* url : urls) {
        EXPECT_FALSE(splitUrl(url).has_value()) << url;
    }
}
