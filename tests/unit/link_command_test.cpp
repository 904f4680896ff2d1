// The browser fallback cuts the registered command before its "%1".
#include "app/link_command.h"

#include <gtest/gtest.h>

TEST(BrowserCommand, CutsBeforeFirstPercentOne) {
    struct Case {
        const char* command;
        const char* prefix;
    } cases[] = {
        {"\"C:\\Browser\\b.exe\" -url \"%1\"", "\"C:\\Browser\\b.exe\" -url "},
        {"C:\\b.exe %1", "C:\\b.exe "},
        {"C:\\b.exe -nohome", "C:\\b.exe -nohome"},
        // The quoted form wins even when a bare %1 comes first.
        {"b.exe %1 \"%1\"", "b.exe %1 "},
        {"", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(browserCommandPrefix(c.command), c.prefix) << c.command;
    }
}

TEST(BrowserCommand, AppendsSpaceAndAddress) {
    EXPECT_EQ(browserCommandLine("b.exe \"%1\"", "http://h/"), "b.exe  http://h/");
    EXPECT_EQ(browserCommandLine("b.exe", "http://h/"), "b.exe http://h/");
}
