// korvaclient: stands in for the client program that the driver starts after a job. It
// records its command line and, for each argument that names a file, the file's size and
// first bytes, appending to korvaclient.log beside itself, so that a test can see exactly
// what it was given.
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <string>

namespace {

constexpr std::size_t recordedByteCount = 16;

std::string moduleSibling(const char* pszName)
{
    char path[MAX_PATH] = {};
    const DWORD nLength = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string sibling(path, nLength);
    return sibling.substr(0, sibling.find_last_of('\\') + 1) + pszName;
}

std::string describeFile(const char* pszPath)
{
    std::ifstream file(pszPath, std::ios::binary | std::ios::ate);
    if (!file)
        return "not a file";
    const std::streamoff nSize = file.tellg();
    file.seekg(0);
    char bytes[recordedByteCount] = {};
    file.read(bytes, recordedByteCount);
    std::string description = "size " + std::to_string(nSize) + ", first bytes";
    for (std::streamsize i = 0; i < file.gcount(); ++i) {
        char hex[4];
        std::snprintf(hex, sizeof(hex), " %02X", static_cast<unsigned char>(bytes[i]));
        description += hex;
    }
    return description;
}

}

int main(int nArgs, char** ppszArgs)
{
    std::ofstream log(moduleSibling("korvaclient.log"), std::ios::app);
    if (!log)
        return 1;
    log << "command line: " << GetCommandLineA() << "\n";
    for (int i = 1; i < nArgs; ++i)
        log << "argument " << i << ": " << ppszArgs[i] << ": " << describeFile(ppszArgs[i]) << "\n";
    log << "\n";
    return 0;
}
