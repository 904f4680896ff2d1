// Splitting a URL into the pieces an HTTP connection needs.
#include "app/url_parts.h"

#include <cctype>

bool isSecureScheme(const std::string& scheme) {
    if (scheme.size() != 5) {
        return false;
    }
    const char* https = "https";
    for (size_t i = 0; i < 5; ++i) {
        if (std::tolower(static_cast<unsigned char>(scheme[i])) != https[i]) {
            return false;
        }
    }
    return true;
}

std::optional<UrlParts> splitUrl(const std::string& url) {
    std::string rest = url.substr(0, url.find('#'));
    if (rest.empty()) {
        return std::nullopt;
    }
    UrlParts parts;
    if (size_t mark = rest.find("://"); mark != std::string::npos) {
        parts.scheme = rest.substr(0, mark);
        rest.erase(0, mark + 3);
    }
    if (isSecureScheme(parts.scheme)) {
        parts.port = 443;
    }

    size_t pathStart = rest.find_first_of("/?");
    std::string authority = rest.substr(0, pathStart);
    if (pathStart != std::string::npos) {
        parts.path = rest.substr(pathStart);
    }

    // The password may hold "@"; the host never does.
    if (size_t at = authority.rfind('@'); at != std::string::npos) {
        std::string userInfo = authority.substr(0, at);
        authority.erase(0, at + 1);
        size_t colon = userInfo.find(':');
        parts.user = userInfo.substr(0, colon);
        if (colon != std::string::npos) {
            parts.password = userInfo.substr(colon + 1);
        }
    }

    std::string portText;
    bool hasPort = false;
    if (!authority.empty() && authority[0] == '[') {
        size_t close = authority.find(']');
        if (close == std::string::npos) {
            return std::nullopt;
        }
        parts.host = authority.substr(1, close - 1);
        std::string after = authority.substr(close + 1);
        if (!after.empty()) {
            if (after[0] != ':') {
                return std::nullopt;
            }
            hasPort = true;
            portText = after.substr(1);
        }
    } else {
        size_t colon = authority.rfind(':');
        parts.host = authority.substr(0, colon);
        if (colon != std::string::npos) {
            hasPort = true;
            portText = authority.substr(colon + 1);
        }
    }
    if (parts.host.empty()) {
        return std::nullopt;
    }
    // "host:" with nothing after the colon keeps the default port, as browsers do.
    if (hasPort && !portText.empty()) {
        if (portText.size() > 5) {
            return std::nullopt;
        }
        int port = 0;
        for (char c : portText) {
            if (c < '0' || c > '9') {
                return std::nullopt;
            }
            port = port * 10 + (c - '0');
        }
        if (port < 1 || port > 65535) {
            return std::nullopt;
        }
        parts.port = port;
    }
    return parts;
}
