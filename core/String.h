#ifndef VELMO_CORE_STRING_H
#define VELMO_CORE_STRING_H

#include "core/object.Object.h"

#include <cstdint>

namespace velmo::core {

namespace collections {
template <typename T> class ObjectArray;
template <typename T> class SimpleTypeArray;
}

// A byte string with a null state (length -1, no buffer). Storage grows in steps of 32
// bytes, is zero-filled and always ends with a zero byte.
class String : public object::Object {
public:
    String() = default;
    String(const char* pszText);
    explicit String(std::int32_t nValue);
    String(const String& other);
    ~String() override;

    String& operator=(const String& other);
    String& operator=(const char* pszText) { return assign(pszText, -1); }
    String& assign(const char* pszText, std::int32_t nCount = -1);
    String& assign(char cChar);
    String& assign(std::int32_t nValue);

    const char* getBuffer() const { return m_nLength < 0 ? nullptr : m_pBuffer; }
    char* getWritableBuffer() { return m_nLength < 0 ? nullptr : m_pBuffer; }
    std::int32_t getLength() const { return m_nLength < 0 ? 0 : m_nLength; }
    std::int32_t getCapacity() const { return m_nCapacity; }
    bool isNull() const { return m_nLength < 0; }
    bool isEmpty() const { return m_nLength <= 0; }

    // The one place where storage grows. A negative length takes the length of the
    // zero-terminated text in the buffer.
    void setLength(std::int32_t nNewLength, char cFill = 0);

    String& append(const String& text);
    String& append(const char* pszText, std::int32_t nCount = -1);
    String& append(char cChar);
    String& append(std::int32_t nValue);
    String& append(double dValue, std::int32_t nDecimals);

    char charAt(std::int32_t nIndex) const;
    void setCharAt(std::int32_t nIndex, char cChar);

    std::int32_t indexOf(const char* pszText, std::int32_t nStart = 0) const;
    std::int32_t lastIndexOf(char cChar, std::int32_t nStart = -1) const;
    std::int32_t lastIndexOf(const char* pszText, std::int32_t nStart = -1) const;
    bool startsWith(const char* pszText) const { return indexOf(pszText, 0) == 0; }
    bool endsWith(const char* pszText) const;

    void insert(std::int32_t nPosition, const char* pszText, bool bReplaceChar);
    void replace(const char* pszPattern, const char* pszReplacement, std::int32_t nStart = 0);
    void padLeft(char cFill, std::int32_t nWidth);
    void toUpper();
    void trim();
    void trimRight();
    void substring(std::int32_t nFrom, String& out) const { substring(nFrom, -1, out); }
    void substring(std::int32_t nFrom, std::int32_t nCount, String& out) const;

    static std::int32_t compare(const char* pszA, const char* pszB);
    static bool equals(const char* pszA, const char* pszB) { return compare(pszA, pszB) == 0; }
    static bool isEmpty(const char* pszText) { return !pszText || !*pszText; }
    static std::int32_t getLength(const char* pszText);

    // Number to text with digits cut, never rounded. Writes nothing when the text does
    // not fit the buffer (a negative size means 32).
    static void formatNumber(double dValue, char* pszBuffer, std::int32_t nBufferSize, std::int32_t nDecimals);
    static double parseNumber(const char* pszText);
    static void split(const char* pszText, const char* pszSeparator, bool bIgnoreTrailingSeparator,
                      collections::ObjectArray<String>& outList);
    // "1,3-5" gives 1, 3, 4, 5.
    static void parseNumberList(const char* pszText, collections::SimpleTypeArray<std::int32_t>& outList);

private:
    void trimEnds(bool bFront);

    char* m_pBuffer = nullptr;
    std::int32_t m_nLength = -1;
    std::int32_t m_nCapacity = -1;
    std::int32_t m_nGrowthStep = 32;
};

}

#endif
