#include "tools/printhost/WideText.h"

#include <windows.h>

namespace velmo::tools::printhost {

std::string narrow(const std::wstring& text)
{
    const int nLength = WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string result(nLength > 0 ? nLength - 1 : 0, '\0');
    if (nLength > 1)
        WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, result.data(), nLength, nullptr, nullptr);
    return result;
}

}
