#ifndef VELMO_UTIL_TEXT_H
#define VELMO_UTIL_TEXT_H

#include <string>
#include <string_view>

// Operations on ANSI byte strings. White space is exactly space, tab, carriage return and
// line feed; case folding is ASCII only, whatever the code page.
namespace velmo::util::text {

std::string trim(std::string_view text);

// Each removes one occurrence at the named end and tells whether there was one.
bool removePrefix(std::string& text, std::string_view prefix, bool bIgnoreCase = false);
bool removeSuffix(std::string& text, std::string_view suffix, bool bIgnoreCase = false);

// Keep only what comes before the last occurrence of the character (all of it when absent).
void cutAtLast(std::string& text, char cChar);

void replaceAll(std::string& text, std::string_view pattern, std::string_view replacement);

bool startsWith(std::string_view text, std::string_view prefix, bool bIgnoreCase = false);
bool equals(std::string_view left, std::string_view right, bool bIgnoreCase = false);
void toUpperAscii(std::string& text);

// Wide text in the system ANSI code page.
std::string narrow(std::wstring_view text);

// Position of the first occurrence of the pattern, -1 when there is none or either is empty.
int findText(std::string_view text, std::string_view pattern, bool bIgnoreCase);

}

#endif
