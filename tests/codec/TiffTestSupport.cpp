#include "TiffTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>

namespace codectest {

namespace {

std::uint32_t readLittleEndian(const std::vector<unsigned char>& bytes, std::size_t nOffset, int nSize)
{
    if (nOffset + nSize > bytes.size())
        throw std::out_of_range("TIFF field beyond the file");
    std::uint32_t nValue = 0;
    for (int i = nSize - 1; i >= 0; --i)
        nValue = nValue << 8 | bytes[nOffset + i];
    return nValue;
}

}

std::map<std::uint16_t, std::vector<std::uint32_t>> readTiffFields(const std::vector<unsigned char>& file)
{
    std::map<std::uint16_t, std::vector<std::uint32_t>> fields;
    if (file.size() < 8 || file[0] != 'I' || file[1] != 'I' || readLittleEndian(file, 2, 2) != 42)
        return fields;
    const std::uint32_t nDirectory = readLittleEndian(file, 4, 4);
    const std::uint32_t nCount = readLittleEndian(file, nDirectory, 2);
    for (std::uint32_t i = 0; i < nCount; ++i) {
        const std::size_t nEntry = nDirectory + 2 + 12 * static_cast<std::size_t>(i);
        const auto nTag = static_cast<std::uint16_t>(readLittleEndian(file, nEntry, 2));
        const std::uint32_t nType = readLittleEndian(file, nEntry + 2, 2);
        const std::uint32_t nValues = readLittleEndian(file, nEntry + 4, 4);
        const int nSize = nType == 3 || nType == 8 ? 2 : nType == 4 || nType == 5 || nType == 9 || nType == 10 ? 4 : 1;
        const std::uint32_t nWords = nType == 5 || nType == 10 ? 2 * nValues : nValues;
        std::size_t nAt = nEntry + 8;
        if (nWords * static_cast<std::uint32_t>(nSize) > 4)
            nAt = readLittleEndian(file, nEntry + 8, 4);
        std::vector<std::uint32_t>& values = fields[nTag];
        for (std::uint32_t k = 0; k < nWords; ++k)
            values.push_back(readLittleEndian(file, nAt + k * static_cast<std::size_t>(nSize), nSize));
    }
    return fields;
}

std::vector<unsigned char> readSingleStrip(const std::vector<unsigned char>& file)
{
    auto fields = readTiffFields(file);
    const std::vector<std::uint32_t>& offsets = fields[273];
    const std::vector<std::uint32_t>& counts = fields[279];
    if (offsets.size() != 1 || counts.size() != 1 || offsets[0] + static_cast<std::size_t>(counts[0]) > file.size())
        return {};
    return std::vector<unsigned char>(file.begin() + offsets[0], file.begin() + offsets[0] + counts[0]);
}

std::string scratchPath(const std::string& name)
{
    // Test cases run as separate processes at the same time; each keeps its own files.
    static const std::string token = std::to_string(std::random_device{}());
    return testing::TempDir() + "velmo-codec-" + token + "-" + name;
}

std::string writeTempFile(const std::string& name, const std::vector<unsigned char>& bytes)
{
    const std::string path = scratchPath(name);
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path;
}

std::vector<unsigned char> readWholeFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

int runCommand(const std::string& command, std::string* pOutput)
{
    const std::string outputPath = scratchPath("command-output.txt");
    const int nStatus = std::system((command + " >" + outputPath + " 2>&1").c_str());
    if (pOutput) {
        std::ifstream in(outputPath);
        std::stringstream text;
        text << in.rdbuf();
        *pOutput = text.str();
    }
    return nStatus;
}

}
