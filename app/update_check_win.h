// The start-up version check against the maker's web server.
#pragma once

#include <string>

// Returns only when the server answers exactly "1.0"; otherwise offers the home page
// and ends the process through exitProgram(0).
void checkForUpdate();

// The parts of the check, each usable on its own.

// True when the version text served at versionUrl is exactly "1.0".
bool versionIsCurrent(const std::string& versionUrl);
// The update prompt; opens homePageUrl when the user presses OK. Returns the box's result.
int offerUpdate(const std::string& homePageUrl);

// HTTP GET of url: the body as read (at most 64 KiB), empty on any failure or time-out.
std::string fetchVersionText(const std::string& url);
// A modal message box with no owner; caption "信息：" when none is given. Task-modal
// unless the style asks for system-modal. OK 0, Cancel 1, Abort 2, Retry 3, Ignore 4,
// Yes 5, No 6, anything else 0.
int showMessageBox(const std::string& text, unsigned int style, const char* caption = nullptr);
// The shell's "open" action on url (the default browser); the result is not examined.
void openUrl(const std::string& url);
