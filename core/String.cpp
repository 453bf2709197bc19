#include "core/String.h"

#include "core/collections.ObjectArray.h"
#include "core/collections.SimpleTypeArray.h"
#include "core/exception.IndexOutOfBoundsException.h"
#include "core/exception.InvalidParameterException.h"
#include "core/object.Heap.h"

#include <cmath>
#include <cstring>

namespace velmo::core {

namespace {

bool isBlank(char cChar)
{
    return cChar == 9 || cChar == 10 || cChar == 13 || cChar == 32;
}

// Decimal text of a 32-bit integer into a buffer of at least 12 bytes.
const char* formatInteger(std::int32_t nValue, char (&szBuffer)[12])
{
    std::uint32_t nMagnitude = nValue < 0 ? 0u - static_cast<std::uint32_t>(nValue) : static_cast<std::uint32_t>(nValue);
    char* pEnd = szBuffer + sizeof szBuffer - 1;
    *pEnd = 0;
    char* pNext = pEnd;
    do {
        *--pNext = static_cast<char>('0' + nMagnitude % 10);
        nMagnitude /= 10;
    } while (nMagnitude != 0);
    if (nValue < 0)
        *--pNext = '-';
    return pNext;
}

// Reads digits, blanks, "+", "-" and "." from [pszText, pszText + nLength) as the
// mantissa rules say; any other byte ends the number.
double parseMantissa(const char* pszText, std::int32_t nLength, bool& bNegative)
{
    double dValue = 0;
    double dFractionScale = 0;
    for (std::int32_t i = 0; i < nLength; ++i) {
        char cChar = pszText[i];
        if (isBlank(cChar) || cChar == '+')
            continue;
        if (cChar == '-') {
            bNegative = true;
        } else if (cChar == '.') {
            if (dFractionScale == 0)
                dFractionScale = 1;
        } else if (cChar >= '0' && cChar <= '9') {
            if (dFractionScale == 0) {
                dValue = dValue * 10 + (cChar - '0');
            } else {
                dFractionScale /= 10;
                dValue += (cChar - '0') * dFractionScale;
            }
        } else {
            break;
        }
    }
    return dValue;
}

std::int32_t toInt32(double dValue)
{
    if (!(dValue > -2147483648.0))
        return dValue != dValue ? 0 : INT32_MIN;
    if (dValue >= 2147483647.0)
        return INT32_MAX;
    return static_cast<std::int32_t>(dValue);
}

}

String::String(const char* pszText)
{
    assign(pszText, -1);
}

String::String(std::int32_t nValue)
{
    assign(nValue);
}

String::String(const String& other) : object::Object(other)
{
    *this = other;
}

String::~String()
{
    object::Heap::freeMemory(m_pBuffer, false);
}

String& String::operator=(const String& other)
{
    if (this == &other)
        return *this;
    return assign(other.getBuffer(), other.getLength());
}

String& String::assign(const char* pszText, std::int32_t nCount)
{
    if (!pszText) {
        if (m_pBuffer)
            std::memset(m_pBuffer, 0, static_cast<std::size_t>(m_nCapacity) + 1);
        m_nLength = -1;
        return *this;
    }
    if (nCount < 0)
        nCount = static_cast<std::int32_t>(std::strlen(pszText));
    if (m_pBuffer && pszText >= m_pBuffer && pszText <= m_pBuffer + m_nCapacity) {
        String copy;
        copy.assign(pszText, nCount);
        return *this = copy;
    }
    setLength(nCount);
    std::memcpy(m_pBuffer, pszText, static_cast<std::size_t>(nCount));
    return *this;
}

String& String::assign(char cChar)
{
    return assign(&cChar, 1);
}

String& String::assign(std::int32_t nValue)
{
    char szBuffer[12];
    return assign(formatInteger(nValue, szBuffer), -1);
}

void String::setLength(std::int32_t nNewLength, char cFill)
{
    if (nNewLength < 0)
        nNewLength = m_pBuffer ? static_cast<std::int32_t>(std::strlen(m_pBuffer)) : 0;
    if (nNewLength == m_nLength && nNewLength > 0)
        return;
    std::int32_t nOldLength = m_nLength < 0 ? 0 : m_nLength;
    if (m_nCapacity < nNewLength || !m_pBuffer) {
        std::int32_t nCapacity = collections::grownCapacity(m_nCapacity, nNewLength, m_nGrowthStep);
        char* pBuffer = static_cast<char*>(object::Heap::allocateZeroed(nCapacity + 1));
        if (m_pBuffer) {
            std::memcpy(pBuffer, m_pBuffer, static_cast<std::size_t>(nOldLength));
            object::Heap::freeMemory(m_pBuffer, false);
        }
        m_pBuffer = pBuffer;
        m_nCapacity = nCapacity;
    }
    if (nNewLength < nOldLength)
        std::memset(m_pBuffer + nNewLength, 0, static_cast<std::size_t>(nOldLength - nNewLength));
    else if (nNewLength > nOldLength)
        std::memset(m_pBuffer + nOldLength, cFill, static_cast<std::size_t>(nNewLength - nOldLength));
    m_nLength = nNewLength;
}

String& String::append(const String& text)
{
    return append(text.getBuffer() ? text.getBuffer() : "", text.getLength());
}

String& String::append(const char* pszText, std::int32_t nCount)
{
    if (!pszText)
        pszText = "";
    if (nCount < 0)
        nCount = static_cast<std::int32_t>(std::strlen(pszText));
    if (m_pBuffer && pszText >= m_pBuffer && pszText <= m_pBuffer + m_nCapacity) {
        String copy;
        copy.assign(pszText, nCount);
        return append(copy);
    }
    std::int32_t nOldLength = getLength();
    if (static_cast<std::int64_t>(nOldLength) + nCount >= INT32_MAX)
        throw exception::InvalidParameterException(VELMO_LOCATION, exception::invalidParameter, "nCount", nCount);
    setLength(nOldLength + nCount);
    std::memcpy(m_pBuffer + nOldLength, pszText, static_cast<std::size_t>(nCount));
    return *this;
}

String& String::append(char cChar)
{
    setLength(getLength() + 1, cChar);
    return *this;
}

String& String::append(std::int32_t nValue)
{
    char szBuffer[12];
    return append(formatInteger(nValue, szBuffer), -1);
}

String& String::append(double dValue, std::int32_t nDecimals)
{
    char szBuffer[64] = {};
    formatNumber(dValue, szBuffer, sizeof szBuffer, nDecimals);
    return append(szBuffer, -1);
}

char String::charAt(std::int32_t nIndex) const
{
    return nIndex >= 0 && nIndex < getLength() ? m_pBuffer[nIndex] : 0;
}

void String::setCharAt(std::int32_t nIndex, char cChar)
{
    if (nIndex >= 0 && nIndex < getLength())
        m_pBuffer[nIndex] = cChar;
}

std::int32_t String::indexOf(const char* pszText, std::int32_t nStart) const
{
    std::int32_t nPatternLength = getLength(pszText);
    std::int32_t nLength = getLength();
    if (nPatternLength == 0)
        return -1;
    for (std::int32_t i = nStart < 0 ? 0 : nStart; i + nPatternLength <= nLength; ++i) {
        if (m_pBuffer[i] == pszText[0] && std::memcmp(m_pBuffer + i, pszText, static_cast<std::size_t>(nPatternLength)) == 0)
            return i;
    }
    return -1;
}

std::int32_t String::lastIndexOf(char cChar, std::int32_t nStart) const
{
    char szText[2] = {cChar, 0};
    return cChar ? lastIndexOf(szText, nStart) : -1;
}

std::int32_t String::lastIndexOf(const char* pszText, std::int32_t nStart) const
{
    std::int32_t nPatternLength = getLength(pszText);
    std::int32_t nLength = getLength();
    if (nPatternLength == 0 || nLength == 0)
        return -1;
    std::int32_t i = nStart < 0 || nStart > nLength - 1 ? nLength - 1 : nStart;
    if (i > nLength - nPatternLength)
        i = nLength - nPatternLength;
    for (; i >= 0; --i) {
        if (std::memcmp(m_pBuffer + i, pszText, static_cast<std::size_t>(nPatternLength)) == 0)
            return i;
    }
    return -1;
}

bool String::endsWith(const char* pszText) const
{
    std::int32_t nPatternLength = getLength(pszText);
    std::int32_t nLength = getLength();
    return nPatternLength > 0 && nPatternLength <= nLength
        && std::memcmp(m_pBuffer + nLength - nPatternLength, pszText, static_cast<std::size_t>(nPatternLength)) == 0;
}

void String::insert(std::int32_t nPosition, const char* pszText, bool bReplaceChar)
{
    std::int32_t nLength = getLength();
    if (nPosition < 0 || nPosition > nLength)
        throw exception::IndexOutOfBoundsException(VELMO_LOCATION, exception::indexOutOfBounds, nPosition);
    String tail;
    std::int32_t nTailStart = bReplaceChar && nPosition < nLength ? nPosition + 1 : nPosition;
    substring(nTailStart, tail);
    String inserted(pszText);
    setLength(nPosition);
    append(inserted);
    append(tail);
}

void String::replace(const char* pszPattern, const char* pszReplacement, std::int32_t nStart)
{
    std::int32_t nPatternLength = getLength(pszPattern);
    if (nPatternLength == 0)
        return;
    String pattern(pszPattern);
    String replacement(pszReplacement ? pszReplacement : "");
    std::int32_t nFound = indexOf(pattern.getBuffer(), nStart);
    if (nFound < 0)
        return;
    String result;
    std::int32_t nCopied = 0;
    while (nFound >= 0) {
        result.append(m_pBuffer + nCopied, nFound - nCopied);
        result.append(replacement);
        nCopied = nFound + nPatternLength;
        nFound = indexOf(pattern.getBuffer(), nCopied);
    }
    result.append(m_pBuffer + nCopied, getLength() - nCopied);
    *this = result;
}

void String::padLeft(char cFill, std::int32_t nWidth)
{
    std::int32_t nLength = getLength();
    if (nLength >= nWidth)
        return;
    setLength(nWidth, cFill);
    std::memmove(m_pBuffer + (nWidth - nLength), m_pBuffer, static_cast<std::size_t>(nLength));
    std::memset(m_pBuffer, cFill, static_cast<std::size_t>(nWidth - nLength));
}

void String::toUpper()
{
    for (std::int32_t i = 0; i < getLength(); ++i) {
        if (m_pBuffer[i] >= 'a' && m_pBuffer[i] <= 'z')
            m_pBuffer[i] = static_cast<char>(m_pBuffer[i] - 'a' + 'A');
    }
}

void String::trimEnds(bool bFront)
{
    if (isNull())
        return;
    std::int32_t nEnd = getLength();
    while (nEnd > 0 && isBlank(m_pBuffer[nEnd - 1]))
        --nEnd;
    std::int32_t nBegin = 0;
    if (bFront) {
        while (nBegin < nEnd && isBlank(m_pBuffer[nBegin]))
            ++nBegin;
        std::memmove(m_pBuffer, m_pBuffer + nBegin, static_cast<std::size_t>(nEnd - nBegin));
    }
    setLength(nEnd - nBegin);
}

void String::trim()
{
    trimEnds(true);
}

void String::trimRight()
{
    trimEnds(false);
}

void String::substring(std::int32_t nFrom, std::int32_t nCount, String& out) const
{
    std::int32_t nLength = getLength();
    if (nFrom < 0)
        throw exception::IndexOutOfBoundsException(VELMO_LOCATION, exception::indexOutOfBounds, nFrom);
    if (nFrom > nLength)
        nFrom = nLength;
    if (nCount < 0 || nCount > nLength - nFrom)
        nCount = nLength - nFrom;
    out.assign(m_pBuffer ? m_pBuffer + nFrom : "", nCount);
}

std::int32_t String::compare(const char* pszA, const char* pszB)
{
    std::size_t nLengthA = pszA ? std::strlen(pszA) : 0;
    std::size_t nLengthB = pszB ? std::strlen(pszB) : 0;
    std::size_t nCommon = nLengthA < nLengthB ? nLengthA : nLengthB;
    int nOrder = nCommon ? std::memcmp(pszA, pszB, nCommon) : 0;
    if (nOrder != 0)
        return nOrder < 0 ? -1 : 1;
    return nLengthA == nLengthB ? 0 : nLengthA < nLengthB ? -1 : 1;
}

std::int32_t String::getLength(const char* pszText)
{
    return pszText ? static_cast<std::int32_t>(std::strlen(pszText)) : 0;
}

void String::formatNumber(double dValue, char* pszBuffer, std::int32_t nBufferSize, std::int32_t nDecimals)
{
    if (nBufferSize < 0)
        nBufferSize = 32;
    if (nBufferSize == 0 || !pszBuffer || !std::isfinite(dValue))
        return;
    if (nDecimals < 0)
        nDecimals = 0;
    bool bNegative = dValue < 0;
    double dRemainder = std::fabs(dValue);
    std::int32_t nDigits = 1;
    for (double dScan = dRemainder; dScan >= 10; dScan /= 10)
        ++nDigits;
    // The whole text and its zero byte must fit; otherwise the buffer stays as it was.
    std::int64_t nTextLength = (bNegative ? 1 : 0) + static_cast<std::int64_t>(nDigits) + (nDecimals > 0 ? nDecimals + 1 : 0);
    if (nTextLength + 1 > nBufferSize)
        return;
    std::memset(pszBuffer, 0, static_cast<std::size_t>(nBufferSize));
    char* pNext = pszBuffer;
    if (bNegative)
        *pNext++ = '-';
    for (std::int32_t i = nDigits - 1; i >= 0; --i) {
        double dPower = std::pow(10.0, i);
        int nDigit = static_cast<int>(dRemainder / dPower);
        nDigit = nDigit < 0 ? 0 : nDigit > 9 ? 9 : nDigit;
        dRemainder -= nDigit * dPower;
        *pNext++ = static_cast<char>('0' + nDigit);
    }
    if (nDecimals > 0) {
        *pNext++ = '.';
        for (std::int32_t i = 0; i < nDecimals; ++i) {
            dRemainder *= 10;
            int nDigit = static_cast<int>(dRemainder);
            nDigit = nDigit < 0 ? 0 : nDigit > 9 ? 9 : nDigit;
            dRemainder -= nDigit;
            *pNext++ = static_cast<char>('0' + nDigit);
        }
    }
}

double String::parseNumber(const char* pszText)
{
    if (isEmpty(pszText))
        return 0;
    String text(pszText);
    std::int32_t nMantissaEnd = text.getLength();
    double dExponent = 0;
    std::int32_t nMarker = text.indexOf("EXP", 0);
    std::int32_t nMarkerLength = 3;
    if (nMarker < 0) {
        nMarker = text.lastIndexOf('E', -1);
        nMarkerLength = 1;
    }
    if (nMarker >= 0) {
        bool bNegativeExponent = false;
        double dExponentText = parseMantissa(pszText + nMarker + nMarkerLength,
            text.getLength() - nMarker - nMarkerLength, bNegativeExponent);
        dExponent = std::trunc(bNegativeExponent ? -dExponentText : dExponentText);
        nMantissaEnd = nMarker;
    }
    bool bNegative = false;
    double dValue = parseMantissa(pszText, nMantissaEnd, bNegative) * std::pow(10.0, dExponent);
    return bNegative ? -dValue : dValue;
}

void String::split(const char* pszText, const char* pszSeparator, bool bIgnoreTrailingSeparator,
                   collections::ObjectArray<String>& outList)
{
    outList.clear();
    if (!pszText)
        return;
    String text(pszText);
    std::int32_t nSeparatorLength = getLength(pszSeparator);
    if (nSeparatorLength == 0) {
        outList.addNew()->assign(text.getBuffer(), text.getLength());
        return;
    }
    // Piece bounds, found from the end, then emitted in text order.
    collections::SimpleTypeArray<std::int32_t> bounds;
    std::int32_t nEnd = text.getLength();
    if (bIgnoreTrailingSeparator && text.endsWith(pszSeparator))
        nEnd -= nSeparatorLength;
    for (;;) {
        std::int32_t nFound = nEnd - nSeparatorLength < 0 ? -1 : text.lastIndexOf(pszSeparator, nEnd - nSeparatorLength);
        bounds.add(nFound < 0 ? 0 : nFound + nSeparatorLength);
        bounds.add(nEnd);
        if (nFound < 0)
            break;
        nEnd = nFound;
    }
    for (std::int32_t i = bounds.getCount() - 2; i >= 0; i -= 2) {
        std::int32_t nBegin = bounds.getItem(i);
        outList.addNew()->assign(text.getBuffer() + nBegin, bounds.getItem(i + 1) - nBegin);
    }
}

void String::parseNumberList(const char* pszText, collections::SimpleTypeArray<std::int32_t>& outList)
{
    // A hostile list such as "1-2000000000", or many large ranges, must not allocate
    // without bound: the whole list holds at most this many numbers.
    constexpr std::int64_t kMaximumCount = 1 << 20;
    collections::ObjectArray<String> pieces;
    split(pszText, ",", true, pieces);
    for (std::int32_t i = 0; i < pieces.getCount(); ++i) {
        String& piece = *pieces.getItem(i);
        piece.trim();
        std::int32_t nDash = piece.indexOf("-", 0);
        if (nDash < 0) {
            outList.add(toInt32(parseNumber(piece.getBuffer())));
            continue;
        }
        String first;
        String last;
        piece.substring(0, nDash, first);
        piece.substring(nDash + 1, last);
        std::int32_t nFirst = toInt32(parseNumber(first.getBuffer()));
        std::int32_t nLast = toInt32(parseNumber(last.getBuffer()));
        if (static_cast<std::int64_t>(nLast) - nFirst >= kMaximumCount - outList.getCount())
            throw exception::InvalidParameterException(VELMO_LOCATION, exception::invalidParameter, "nCount", nLast);
        if (nLast < nFirst)
            continue;
        // One allocation for the whole range: the list grows by a fixed step, so adding a
        // long range number by number would copy it over and over.
        std::int32_t nStart = outList.getCount();
        outList.setCount(nStart + (nLast - nFirst) + 1);
        for (std::int32_t i = 0; i <= nLast - nFirst; ++i)
            outList.setItem(nStart + i, nFirst + i);
    }
}

}
