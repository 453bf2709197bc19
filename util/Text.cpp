#include "util/Text.h"

#include <windows.h>

#include <algorithm>

namespace velmo::util::text {

namespace {

bool isWhiteSpace(char cChar)
{
    return cChar == ' ' || cChar == '\t' || cChar == '\r' || cChar == '\n';
}

char upperAscii(char cChar)
{
    return cChar >= 'a' && cChar <= 'z' ? static_cast<char>(cChar - 'a' + 'A') : cChar;
}

bool sameChar(char cLeft, char cRight, bool bIgnoreCase)
{
    return bIgnoreCase ? upperAscii(cLeft) == upperAscii(cRight) : cLeft == cRight;
}

}

std::string trim(std::string_view text)
{
    std::size_t nStart = 0;
    std::size_t nEnd = text.size();
    while (nStart < nEnd && isWhiteSpace(text[nStart]))
        ++nStart;
    while (nEnd > nStart && isWhiteSpace(text[nEnd - 1]))
        --nEnd;
    return std::string(text.substr(nStart, nEnd - nStart));
}

bool removePrefix(std::string& text, std::string_view prefix, bool bIgnoreCase)
{
    if (prefix.empty() || !startsWith(text, prefix, bIgnoreCase))
        return false;
    text.erase(0, prefix.size());
    return true;
}

bool removeSuffix(std::string& text, std::string_view suffix, bool bIgnoreCase)
{
    if (suffix.empty() || text.size() < suffix.size()
        || !equals(std::string_view(text).substr(text.size() - suffix.size()), suffix, bIgnoreCase))
        return false;
    text.erase(text.size() - suffix.size());
    return true;
}

void cutAtLast(std::string& text, char cChar)
{
    const std::size_t nPosition = text.rfind(cChar);
    if (nPosition != std::string::npos)
        text.erase(nPosition);
}

void replaceAll(std::string& text, std::string_view pattern, std::string_view replacement)
{
    if (pattern.empty())
        return;
    std::size_t nPosition = text.find(pattern);
    while (nPosition != std::string::npos) {
        text.replace(nPosition, pattern.size(), replacement);
        nPosition = text.find(pattern, nPosition + replacement.size());
    }
}

bool startsWith(std::string_view text, std::string_view prefix, bool bIgnoreCase)
{
    return text.size() >= prefix.size() && equals(text.substr(0, prefix.size()), prefix, bIgnoreCase);
}

bool equals(std::string_view left, std::string_view right, bool bIgnoreCase)
{
    const auto matches = [bIgnoreCase](char cLeft, char cRight) { return sameChar(cLeft, cRight, bIgnoreCase); };
    return left.size() == right.size() && std::equal(left.begin(), left.end(), right.begin(), matches);
}

void toUpperAscii(std::string& text)
{
    std::transform(text.begin(), text.end(), text.begin(), upperAscii);
}

std::string narrow(std::wstring_view text)
{
    if (text.empty())
        return {};
    const int nWideLength = static_cast<int>(std::min<std::size_t>(text.size(), 0x7fffffff / 4));
    const int nNeeded = WideCharToMultiByte(CP_ACP, 0, text.data(), nWideLength, nullptr, 0, nullptr, nullptr);
    if (nNeeded <= 0)
        return {};
    std::string result(static_cast<std::size_t>(nNeeded), '\0');
    const int nWritten =
        WideCharToMultiByte(CP_ACP, 0, text.data(), nWideLength, result.data(), nNeeded, nullptr, nullptr);
    result.resize(nWritten > 0 ? static_cast<std::size_t>(nWritten) : 0);
    return result;
}

int findText(std::string_view text, std::string_view pattern, bool bIgnoreCase)
{
    if (text.empty() || pattern.empty())
        return -1;
    const auto matches = [bIgnoreCase](char cLeft, char cRight) { return sameChar(cLeft, cRight, bIgnoreCase); };
    const auto found = std::search(text.begin(), text.end(), pattern.begin(), pattern.end(), matches);
    return found == text.end() ? -1 : static_cast<int>(found - text.begin());
}

}
