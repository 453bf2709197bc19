#include "util/TextStamps.h"

#include "util/Text.h"

#include <objbase.h>

#include <cstring>
#include <ctime>

namespace velmo::util {

namespace {

constexpr int guidTextLength = 38; // {8-4-4-4-12}
constexpr std::size_t shortGuidStart = 20;

// The C runtime treats an unknown conversion as an invalid parameter, which may end the
// process; such patterns are refused before they get there.
bool isPlainStrftimePattern(const std::string& pattern)
{
    static const char validConversions[] = "aAbBcdHIjmMpSUwWxXyYzZ%";
    for (std::size_t nIndex = 0; nIndex < pattern.size(); ++nIndex) {
        if (pattern[nIndex] != '%')
            continue;
        ++nIndex;
        if (nIndex == pattern.size() || pattern[nIndex] == '\0' || !std::strchr(validConversions, pattern[nIndex]))
            return false;
    }
    return true;
}

int dayOfYear(const SYSTEMTIME& time)
{
    static const int daysBeforeMonth[] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
    const int nYear = time.wYear;
    const bool bLeapYear = (nYear % 4 == 0 && nYear % 100 != 0) || nYear % 400 == 0;
    const int nMonth = time.wMonth >= 1 && time.wMonth <= 12 ? time.wMonth : 1;
    return daysBeforeMonth[nMonth - 1] + (bLeapYear && nMonth > 2 ? 1 : 0) + time.wDay - 1;
}

std::tm toTm(const SYSTEMTIME& time)
{
    std::tm result{};
    result.tm_year = time.wYear - 1900;
    result.tm_mon = time.wMonth - 1;
    result.tm_mday = time.wDay;
    result.tm_hour = time.wHour;
    result.tm_min = time.wMinute;
    result.tm_sec = time.wSecond;
    result.tm_wday = time.wDayOfWeek;
    result.tm_yday = dayOfYear(time);
    result.tm_isdst = -1;
    return result;
}

}

std::string newGuidText(bool bFull, const std::string& prefix, const std::string& suffix, bool bKeepBraces,
                        bool bKeepHyphens)
{
    GUID guid;
    if (FAILED(CoCreateGuid(&guid)))
        return {};
    wchar_t szWide[guidTextLength + 1];
    const int nWritten = StringFromGUID2(guid, szWide, guidTextLength + 1);
    if (nWritten <= 0)
        return {};
    std::string text = text::narrow(std::wstring_view(szWide, static_cast<std::size_t>(nWritten - 1)));
    text::toUpperAscii(text);
    if (!bKeepBraces) {
        text::replaceAll(text, "{", "");
        text::replaceAll(text, "}", "");
    }
    if (!bKeepHyphens)
        text::replaceAll(text, "-", "");
    if (!bFull)
        text = text.size() > shortGuidStart ? text.substr(shortGuidStart) : std::string();
    return prefix + text + suffix;
}

std::string formatTime(const std::string& pattern, const SYSTEMTIME& time)
{
    if (pattern.empty() || !isPlainStrftimePattern(pattern))
        return {};
    const std::tm fields = toTm(time);
    // Room for the pattern's own text plus a few digits per conversion; names of days and
    // months or full dates can be longer, so the room grows until the text fits.
    std::size_t nSize = pattern.size() + 16;
    for (char cChar : pattern)
        nSize += cChar == '%' ? 4 : 0;
    for (int nAttempt = 0; nAttempt < 4; ++nAttempt, nSize *= 4) {
        std::string buffer(nSize, '\0');
        const std::size_t nLength = std::strftime(buffer.data(), buffer.size(), pattern.c_str(), &fields);
        if (nLength > 0) {
            buffer.resize(nLength);
            return buffer;
        }
    }
    return {};
}

std::string formatLocalTime(const std::string& pattern)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    return formatTime(pattern, now);
}

}
