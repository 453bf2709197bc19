#include "setup/RegistryValue.h"

#include "util/Text.h"

namespace velmo::setup {

RegistryValue RegistryValue::text(std::string_view value)
{
    std::vector<std::uint8_t> bytes(value.begin(), value.end());
    bytes.push_back(0);
    return {REG_SZ, std::move(bytes)};
}

RegistryValue RegistryValue::number(DWORD nValue)
{
    std::vector<std::uint8_t> bytes(sizeof(DWORD));
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<std::uint8_t>(nValue >> (8 * i));
    return {REG_DWORD, std::move(bytes)};
}

RegistryValue RegistryValue::binary(std::vector<std::uint8_t> bytes)
{
    return {REG_BINARY, std::move(bytes)};
}

RegistryValue RegistryValue::textList(std::string_view list)
{
    std::string strings(list);
    util::text::removePrefix(strings, "|");
    util::text::removeSuffix(strings, "|");
    std::vector<std::uint8_t> bytes;
    for (char cChar : strings)
        bytes.push_back(cChar == '|' ? 0 : static_cast<std::uint8_t>(cChar));
    bytes.insert(bytes.end(), 2, 0);
    return {REG_MULTI_SZ, std::move(bytes)};
}

}
