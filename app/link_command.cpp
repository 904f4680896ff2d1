// The browser fallback for links: the registered .htm open command, cut before its "%1".
#include "app/link_command.h"

std::string browserCommandPrefix(const std::string& command) {
    size_t quoted = command.find("\"%1\"");
    if (quoted != std::string::npos) {
        return command.substr(0, quoted);
    }
    size_t bare = command.find("%1");
    if (bare != std::string::npos) {
        return command.substr(0, bare);
    }
    return command;
}

std::string browserCommandLine(const std::string& command, const std::string& address) {
    return browserCommandPrefix(command) + " " + address;
}
