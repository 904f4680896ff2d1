// The start-up version check against the maker's web server.
#include "app/update_check_win.h"

void checkForUpdate() {}
