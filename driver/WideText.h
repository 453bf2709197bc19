#ifndef VELMO_DRIVER_WIDETEXT_H
#define VELMO_DRIVER_WIDETEXT_H

#include <cstddef>
#include <cwchar>
#include <string_view>

// The driver keeps its texts in fixed buffers of UTF-16 units; these helpers fill them
// without ever writing past the end.
namespace velmo::driver {

// Length of configured and derived names, terminating NUL included.
constexpr std::size_t textCapacity = 512;

// Copies as much of the text as fits, always NUL-terminated, and zeroes the rest.
template <std::size_t N>
void copyText(wchar_t (&target)[N], std::wstring_view text)
{
    const std::size_t nLength = text.size() < N - 1 ? text.size() : N - 1;
    text.copy(target, nLength);
    for (std::size_t i = nLength; i < N; ++i)
        target[i] = L'\0';
}

// A possibly absent C text as a view; null reads as empty.
inline std::wstring_view viewOf(const wchar_t* pszText)
{
    return pszText ? std::wstring_view(pszText) : std::wstring_view();
}

// Compares ignoring the case of ASCII letters only, whatever the locale.
bool equalsIgnoringAsciiCase(std::wstring_view left, std::wstring_view right);

}

#endif
