// Addresses of the maker's web server and the game's forum (build settings).
#pragma once

#ifndef TARVOK_SITE_ROOT
#define TARVOK_SITE_ROOT "http://127.0.0.1:8642"
#endif
#ifndef TARVOK_FORUM_HOST
#define TARVOK_FORUM_HOST "127.0.0.1:8642"
#endif

// The home page: the server's root, with an empty path.
inline constexpr const char* kHomePageUrl = TARVOK_SITE_ROOT;
inline constexpr const char* kVersionUrl = TARVOK_SITE_ROOT "/tarvokdiy.txt";
inline constexpr const char* kForumUrl = "http://" TARVOK_FORUM_HOST "/f?kw=Tarvok";
