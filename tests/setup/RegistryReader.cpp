#include "tests/setup/RegistryReader.h"

#include <gtest/gtest.h>

#include <cstring>
#include <iomanip>
#include <set>
#include <sstream>

namespace velmo::setup::test {

namespace {

class OpenKey {
public:
    explicit OpenKey(const std::string& path)
    {
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &m_hKey) != ERROR_SUCCESS)
            m_hKey = nullptr;
    }
    ~OpenKey()
    {
        if (m_hKey)
            RegCloseKey(m_hKey);
    }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;
    HKEY get() const { return m_hKey; }

private:
    HKEY m_hKey = nullptr;
};

std::set<std::string> subkeyNames(HKEY hKey)
{
    std::set<std::string> names;
    char szName[256];
    for (DWORD nIndex = 0;; ++nIndex) {
        DWORD nLength = sizeof(szName);
        if (RegEnumKeyExA(hKey, nIndex, szName, &nLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            return names;
        names.insert(szName);
    }
}

void dumpInto(std::ostringstream& text, const std::string& path)
{
    text << "[" << path << "]\n";
    for (const auto& [name, value] : readValues(path))
        text << name << "=" << value << "\n";
    const OpenKey key(path);
    if (key.get()) {
        for (const std::string& subkey : subkeyNames(key.get()))
            dumpInto(text, path + "\\" + subkey);
    }
}

}

std::ostream& operator<<(std::ostream& stream, const StoredValue& value)
{
    stream << "type " << value.nType << ":";
    for (std::uint8_t nByte : value.data)
        stream << " " << std::hex << std::setw(2) << std::setfill('0') << static_cast<int>(nByte) << std::dec;
    return stream;
}

StoredValue sz(const std::string& text)
{
    StoredValue value{REG_SZ, std::vector<std::uint8_t>(text.begin(), text.end())};
    value.data.push_back(0);
    return value;
}

StoredValue dword(DWORD nValue)
{
    StoredValue value{REG_DWORD, std::vector<std::uint8_t>(sizeof(DWORD))};
    std::memcpy(value.data.data(), &nValue, sizeof(DWORD));
    return value;
}

StoredValue binary(std::vector<std::uint8_t> bytes)
{
    return {REG_BINARY, std::move(bytes)};
}

StoredValue multiSz(const std::vector<std::string>& strings)
{
    StoredValue value{REG_MULTI_SZ, {}};
    for (const std::string& text : strings) {
        value.data.insert(value.data.end(), text.begin(), text.end());
        value.data.push_back(0);
    }
    value.data.push_back(0);
    if (strings.empty())
        value.data.push_back(0);
    return value;
}

bool keyExists(const std::string& path)
{
    return OpenKey(path).get() != nullptr;
}

KeyValues readValues(const std::string& path)
{
    KeyValues values;
    const OpenKey key(path);
    if (!key.get())
        return values;
    char szName[16384];
    std::vector<std::uint8_t> data(65536);
    for (DWORD nIndex = 0;; ++nIndex) {
        DWORD nNameLength = sizeof(szName);
        DWORD nDataLength = static_cast<DWORD>(data.size());
        DWORD nType = 0;
        if (RegEnumValueA(key.get(), nIndex, szName, &nNameLength, nullptr, &nType, data.data(), &nDataLength)
            != ERROR_SUCCESS)
            return values;
        values[szName] = StoredValue{nType, std::vector<std::uint8_t>(data.begin(), data.begin() + nDataLength)};
    }
}

std::string dumpTree(const std::string& path)
{
    std::ostringstream text;
    dumpInto(text, path);
    return text.str();
}

void setValue(const std::string& path, const std::string& name, const StoredValue& value)
{
    HKEY hKey = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &hKey, nullptr),
              ERROR_SUCCESS)
        << path;
    EXPECT_EQ(RegSetValueExA(hKey, name.c_str(), 0, value.nType, value.data.data(),
                             static_cast<DWORD>(value.data.size())),
              ERROR_SUCCESS);
    RegCloseKey(hKey);
}

void deleteTree(const std::string& path)
{
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, path.c_str());
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, path.c_str());
}

}
