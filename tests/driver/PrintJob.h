#ifndef VELMO_TESTS_DRIVER_PRINTJOB_H
#define VELMO_TESTS_DRIVER_PRINTJOB_H

#include "tests/util/ScratchDirectory.h"

#include <cstdint>
#include <string>
#include <vector>

namespace velmo::driver::test {

// The settings of one job's driver configuration that the tests vary.
struct JobSettings {
    int append = 1;
    int color = 0;
    int resolution = 200;
    int drawScale = 0;
    int dither = 1;
    std::string clientArgs;
    std::string rendererUser;
    std::string testPdf;
    std::string testImage;
    std::string testLog;
};

// The seed of the job file names that a JobDirectory's driver uses.
constexpr char jobSeed[] = "fax";

// A scratch directory holding a copy of the hosted driver with its configuration, the job
// files (output) and a copy of the stand-in client (client), which logs what it is given.
class JobDirectory {
public:
    explicit JobDirectory(const JobSettings& settings);

    const std::string& path() const { return m_scratch.path(); }
    std::string operator/(const std::string& name) const { return m_scratch / name; }
    std::string outputDir() const { return m_scratch / "output"; }
    std::string clientDir() const { return m_scratch / "client"; }
    std::string driverPath() const { return m_scratch / "job.dll"; }
    std::string clientPath() const { return clientDir() + "\\korvaclient.exe"; }
    std::string jobFile(const std::string& extension) const;

    // Prints the sample document (or the given arguments' pages); the host's exit code.
    DWORD print(const std::string& pages = "--sample", int nJobId = 17, const std::string& document = "Report.doc") const;

    // Starts one print host for each list of arguments, all at once; their exit codes.
    std::vector<DWORD> printTogether(const std::vector<std::string>& argumentLists) const;

    // The client's log once it holds nEntries starts, or what it holds after 30 seconds.
    std::string clientLog(std::size_t nEntries) const;
    static std::size_t entries(const std::string& log);

private:
    util::test::ScratchDirectory m_scratch;
};

// One page of a little-endian TIFF file, as its directory describes it.
struct TiffPage {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint32_t compression = 0;
    double xResolution = 0;
    double yResolution = 0;
};

bool exists(const std::string& path);
// Names of the files in a directory that match a wildcard pattern, sorted.
std::vector<std::string> filesIn(const std::string& directory, const std::string& pattern);

// Walks the directories of a TIFF file written by the driver (little-endian); empty for
// anything else.
std::vector<TiffPage> readTiffPages(const std::string& path);

}

#endif
