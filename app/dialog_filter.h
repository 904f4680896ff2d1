// The filter text of the file dialogs: stored as "description|pattern|...", handed to
// the system as NUL-separated pairs ending in an empty string.
#pragma once

#include <string>

// Whether a byte starts a two-byte character in the ANSI code page.
using IsLeadByte = bool (*)(unsigned char);

// GBK (code page 936): 0x81-0xFE start a two-byte character whose second byte may be '|'.
bool isGbkLeadByte(unsigned char byte);

// Trailing white space removed, "||" appended unless the text already ends in "||", then
// every '|' that is a character of its own becomes '\0'. The result holds the NULs.
std::string buildDialogFilter(const std::string& stored, IsLeadByte isLead = isGbkLeadByte);
