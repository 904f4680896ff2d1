// The browser fallback for links: the registered .htm open command, cut before its "%1".
#pragma once

#include <string>

// The part of a registered open command that comes before its first "%1": before the
// opening quote of a quoted "%1", else just before a bare %1; the whole command when
// there is none.
std::string browserCommandPrefix(const std::string& command);

// The command line that opens address with that command.
std::string browserCommandLine(const std::string& command, const std::string& address);
