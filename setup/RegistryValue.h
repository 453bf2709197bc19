#ifndef VELMO_SETUP_REGISTRYVALUE_H
#define VELMO_SETUP_REGISTRYVALUE_H

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velmo::setup {

// A registry value's type and the bytes stored for it.
struct RegistryValue {
    DWORD nType;
    std::vector<std::uint8_t> data;

    // REG_SZ: the text and its terminating NUL.
    static RegistryValue text(std::string_view value);
    static RegistryValue number(DWORD nValue);
    static RegistryValue binary(std::vector<std::uint8_t> bytes);
    // REG_MULTI_SZ from a list written as "first|second": one "|" at either end is dropped,
    // every other "|" separates two strings. The empty text is the empty list.
    static RegistryValue textList(std::string_view list);
};

}

#endif
