// Splitting a URL into the pieces an HTTP connection needs.
#pragma once

#include <optional>
#include <string>

struct UrlParts {
    std::string scheme;   // as written before "://"; empty when there is none
    std::string host;
    int port = 80;        // 80 when none is given (443 for https)
    std::string path;     // from the first "/" or "?" on, query included; may be empty
    std::string user;
    std::string password;
};

// The URL cut at its first "#" and split. Nothing for an empty URL, an empty host or a
// port that is not a number from 1 to 65535.
std::optional<UrlParts> splitUrl(const std::string& url);

// True for the scheme "https", in any case.
bool isSecureScheme(const std::string& scheme);
