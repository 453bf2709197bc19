#ifndef VELMO_TESTS_SETUP_REGISTRYREADER_H
#define VELMO_TESTS_SETUP_REGISTRYREADER_H

#include <windows.h>

#include <cstdint>
#include <map>
#include <ostream>
#include <string>
#include <vector>

// Reads back what the installer wrote below HKEY_LOCAL_MACHINE.
namespace velmo::setup::test {

struct StoredValue {
    DWORD nType;
    std::vector<std::uint8_t> data;

    bool operator==(const StoredValue& other) const { return nType == other.nType && data == other.data; }
};
std::ostream& operator<<(std::ostream& stream, const StoredValue& value);

// Expected values, built without the installer's own encoders.
StoredValue sz(const std::string& text);
StoredValue dword(DWORD nValue);
StoredValue binary(std::vector<std::uint8_t> bytes);
StoredValue multiSz(const std::vector<std::string>& strings);

using KeyValues = std::map<std::string, StoredValue>;

bool keyExists(const std::string& path);
// Every value of the key (empty when the key is missing).
KeyValues readValues(const std::string& path);
// The key, its values and all its subkeys as one text, sorted, for comparing whole trees.
std::string dumpTree(const std::string& path);

void setValue(const std::string& path, const std::string& name, const StoredValue& value);
void deleteTree(const std::string& path);

}

#endif
