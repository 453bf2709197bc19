#include "tests/driver/PrintJob.h"

#include "tests/driver/DriverProbe.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>

namespace velmo::driver::test {

namespace {

std::string configText(const JobDirectory& job, const JobSettings& settings)
{
    return "[printer]\nseed=" + std::string(jobSeed) + "\n[driver]\noutput=" + job.outputDir() +
        "\n[client]\nhome=" + job.clientDir() + "\nmodule=korvaclient.exe\nargs=" + settings.clientArgs +
        "\n[renderer]\nuserId=" + settings.rendererUser + "\n[options]\nappend=" + std::to_string(settings.append) +
        "\nresolution=" + std::to_string(settings.resolution) + "\ncolor=" + std::to_string(settings.color) +
        "\n[graphics]\ndrawScale=" + std::to_string(settings.drawScale) +
        "\n[binarize]\ndither=" + std::to_string(settings.dither) +
        "\n[testPrint]\nenabled=" + (settings.testPdf.empty() ? "0" : "1") + "\noutputPdf=" + settings.testPdf +
        "\noutputImage=" + settings.testImage + "\noutputLog=" + settings.testLog + "\n";
}

}

JobDirectory::JobDirectory(const JobSettings& settings)
{
    CreateDirectoryA(outputDir().c_str(), nullptr);
    CreateDirectoryA(clientDir().c_str(), nullptr);
    EXPECT_TRUE(
        CopyFileA((binDirectory() + "\\korvaclient.exe").c_str(), (clientDir() + "\\korvaclient.exe").c_str(), FALSE));
    EXPECT_TRUE(CopyFileA((binDirectory() + "\\korvadrv-hosted.dll").c_str(), driverPath().c_str(), FALSE));
    util::test::writeText(m_scratch / "job.cfg", configText(*this, settings));
}

std::string JobDirectory::jobFile(const std::string& extension) const
{
    return expectedJobFileName(outputDir(), jobSeed, extension);
}

DWORD JobDirectory::print(const std::string& pages, int nJobId, const std::string& document) const
{
    return runPrintHost("--driver \"" + driverPath() + "\" --job " + std::to_string(nJobId) + " --document \"" +
                        document + "\" " + pages);
}

std::vector<DWORD> JobDirectory::printTogether(const std::vector<std::string>& argumentLists) const
{
    std::vector<std::string> commandLines;
    for (const std::string& arguments : argumentLists)
        commandLines.push_back("\"" + binDirectory() + "\\korvaprint.exe\" --driver \"" + driverPath() + "\" " + arguments);
    return runProgramsTogether(commandLines);
}

std::string JobDirectory::clientLog(std::size_t nEntries) const
{
    std::string log;
    for (int nWait = 0; nWait < 300; ++nWait) {
        log = util::test::readText(clientDir() + "\\korvaclient.log");
        log.erase(std::remove(log.begin(), log.end(), '\r'), log.end());
        if (entries(log) >= nEntries)
            break;
        Sleep(100);
    }
    return log;
}

std::size_t JobDirectory::entries(const std::string& log)
{
    std::size_t nCount = 0;
    for (std::size_t nAt = log.find("command line: "); nAt != std::string::npos; nAt = log.find("command line: ", nAt + 1))
        ++nCount;
    return nCount;
}

bool exists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<std::string> filesIn(const std::string& directory, const std::string& pattern)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA entry;
    HANDLE hFind = FindFirstFileA((directory + "\\" + pattern).c_str(), &entry);
    if (hFind != INVALID_HANDLE_VALUE) {
        do {
            if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                names.push_back(entry.cFileName);
        } while (FindNextFileA(hFind, &entry));
        FindClose(hFind);
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<TiffPage> readTiffPages(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    const std::vector<std::uint8_t> bytes {std::istreambuf_iterator<char>(file), {}};
    auto u16 = [&](std::size_t nAt) { return nAt + 2 <= bytes.size() ? bytes[nAt] | bytes[nAt + 1] << 8 : 0; };
    auto u32 = [&](std::size_t nAt) {
        return nAt + 4 <= bytes.size() ? static_cast<std::uint32_t>(u16(nAt) | u16(nAt + 2) << 16) : 0u;
    };
    std::vector<TiffPage> pages;
    if (bytes.size() < 8 || bytes[0] != 'I' || bytes[1] != 'I' || u16(2) != 42)
        return pages;
    for (std::uint32_t nDirectory = u32(4); nDirectory != 0 && pages.size() < 100;
         nDirectory = u32(nDirectory + 2 + u16(nDirectory) * 12)) {
        TiffPage page;
        for (std::uint32_t nEntry = 0; nEntry < static_cast<std::uint32_t>(u16(nDirectory)); ++nEntry) {
            const std::size_t nAt = nDirectory + 2 + nEntry * 12;
            const std::uint32_t nType = u16(nAt + 2);
            const std::uint32_t nValue = nType == 3 ? u16(nAt + 8) : u32(nAt + 8);
            switch (u16(nAt)) {
            case 256: page.width = nValue; break;
            case 257: page.height = nValue; break;
            case 259: page.compression = nValue; break;
            case 282: page.xResolution = static_cast<double>(u32(nValue)) / u32(nValue + 4); break;
            case 283: page.yResolution = static_cast<double>(u32(nValue)) / u32(nValue + 4); break;
            default: break;
            }
        }
        pages.push_back(page);
    }
    return pages;
}

}
