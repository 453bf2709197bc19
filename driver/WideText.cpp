#include "driver/WideText.h"

namespace velmo::driver {

namespace {
wchar_t toLowerAscii(wchar_t cChar)
{
    return cChar >= L'A' && cChar <= L'Z' ? static_cast<wchar_t>(cChar - L'A' + L'a') : cChar;
}
}

bool equalsIgnoringAsciiCase(std::wstring_view left, std::wstring_view right)
{
    if (left.size() != right.size())
        return false;
    for (std::size_t i = 0; i < left.size(); ++i) {
        if (toLowerAscii(left[i]) != toLowerAscii(right[i]))
            return false;
    }
    return true;
}

}
