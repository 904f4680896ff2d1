// The start-up version check against the maker's web server.
#pragma once

// Returns only when the server answers exactly "1.0"; otherwise offers the home page
// and ends the process through exitProgram(0).
void checkForUpdate();
