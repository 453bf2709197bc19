#ifndef VELMO_UTIL_TEXTSTAMPS_H
#define VELMO_UTIL_TEXTSTAMPS_H

#include <windows.h>

#include <string>

// Texts that make names unique: GUIDs and times.
namespace velmo::util {

// A new GUID, upper case, as prefix + text + suffix. Braces and hyphens are dropped unless
// kept; without bFull only the text from index 20 on is used (with braces and hyphens
// dropped: the last 12 hex digits). Empty when no GUID can be created.
std::string newGuidText(bool bFull, const std::string& prefix, const std::string& suffix, bool bKeepBraces,
                        bool bKeepHyphens);

// The time formatted with a strftime pattern such as "%Y%m%d%H%M%S". A pattern with a
// conversion outside the standard C set gives an empty text.
std::string formatTime(const std::string& pattern, const SYSTEMTIME& time);
std::string formatLocalTime(const std::string& pattern);

}

#endif
