// Jobs printed at once, as one user printing from two programs does, or one program's
// threads: every job's pages land together, in order, each the page that was drawn.
#include "tests/driver/HostShell.h"
#include "tests/driver/PageDecoding.h"
#include "tests/driver/Pictures.h"
#include "tests/driver/PrintJob.h"
#include "tools/imagefile/PageMatch.h"

#include <gtest/gtest.h>

#include <regex>

namespace velmo::driver::test {

namespace {

using tools::RgbImage;

constexpr int pagesPerJob = 10;

// Page p of job j shows the number 100 j + p.
int pageNumber(int nJob, int nPage)
{
    return 100 * nJob + nPage;
}

std::string documentOf(int nJob)
{
    return "Document " + std::to_string(nJob);
}

// The print host's arguments for one job: its number, document name and pictures.
std::string jobArguments(const JobDirectory& job, int nJob)
{
    std::string arguments = "--job " + std::to_string(nJob) + " --document \"" + documentOf(nJob) + "\"";
    for (int nPage = 1; nPage <= pagesPerJob; ++nPage) {
        const std::string path = job / ("page-" + std::to_string(pageNumber(nJob, nPage)) + ".ppm");
        EXPECT_TRUE(tools::writePpmFile(path, numberedPicture(pageNumber(nJob, nPage))));
        arguments += " \"" + path + "\"";
    }
    return arguments;
}

// The numbers the pages of a page file show, each page checked against its picture.
std::vector<int> pageNumbersOf(const std::string& pageFile)
{
    std::vector<int> numbers;
    for (const RgbImage& page : decodeTiffPages(pageFile)) {
        const int nNumber = numberOnPage(page);
        const tools::PageMatch match =
            tools::matchPage(onPage(numberedPicture(nNumber), page.width, page.height), page, 8);
        EXPECT_EQ(match.nMismatched, 0) << "page " << nNumber << ": " << match.describe();
        numbers.push_back(nNumber);
    }
    return numbers;
}

// Whether the numbers are the pages of whole jobs, each job's pages together and in order.
bool isWholeJobs(const std::vector<int>& numbers, std::vector<int>& jobs)
{
    if (numbers.size() % pagesPerJob != 0)
        return false;
    for (std::size_t nStart = 0; nStart < numbers.size(); nStart += pagesPerJob) {
        const int nJob = numbers[nStart] / 100;
        for (int nPage = 1; nPage <= pagesPerJob; ++nPage) {
            if (numbers[nStart + nPage - 1] != pageNumber(nJob, nPage))
                return false;
        }
        jobs.push_back(nJob);
    }
    return true;
}

std::string valueOf(const std::string& information, const std::string& key)
{
    std::smatch value;
    return std::regex_search(information, value, std::regex("\r\n" + key + "=([^\r]*)\r\n")) ? value[1].str() : "?";
}

void expectInformationOfJob(const std::string& path, int nJob)
{
    const std::string information = util::test::readText(path);
    EXPECT_EQ(valueOf(information, "document"), documentOf(nJob)) << path;
    EXPECT_EQ(valueOf(information, "printJobId"), std::to_string(nJob)) << path;
    EXPECT_EQ(valueOf(information, "totalPages"), std::to_string(pagesPerJob)) << path;
    EXPECT_EQ(valueOf(information, "pagesPrinted"), std::to_string(pagesPerJob)) << path;
    EXPECT_EQ(valueOf(information, "status"), "0") << path;
}

}

// Two print hosts at once, one user, ten pages a job: one host runs three jobs on threads of
// its own, as a host serving several applications does, the other one job. With append
// every job's pages follow each other's in the one page file; without, every job has a
// page file of its own.
TEST(ConcurrentJobs, jobsPrintedAtOnceKeepTheirPagesTogether)
{
    if (!HostShell::isAvailable())
        GTEST_SKIP() << "needs the Linux host beneath Wine";
    const std::vector<int> jobNumbers = {1, 2, 3, 4};
    for (int nAppend : {1, 0}) {
        SCOPED_TRACE(testing::Message() << "append " << nAppend);
        JobSettings settings;
        settings.append = nAppend;
        JobDirectory job(settings);
        const std::vector<std::string> argumentLists = {
            jobArguments(job, 1) + " --and " + jobArguments(job, 2) + " --and " + jobArguments(job, 3),
            jobArguments(job, 4)};
        for (DWORD nExitCode : job.printTogether(argumentLists))
            EXPECT_EQ(nExitCode, 0u);

        std::vector<std::string> pageFiles;
        for (const std::string& name : filesIn(job.outputDir(), "*.TIF"))
            pageFiles.push_back(job.outputDir() + "\\" + name);
        ASSERT_EQ(pageFiles.size(), nAppend ? 1u : jobNumbers.size());
        std::vector<int> jobsFound;
        for (const std::string& pageFile : pageFiles) {
            const std::vector<int> numbers = pageNumbersOf(pageFile);
            std::vector<int> jobs;
            EXPECT_TRUE(isWholeJobs(numbers, jobs)) << pageFile << ": " << testing::PrintToString(numbers);
            std::printf("[ figures  ] append %d, %s: pages %s\n", nAppend, pageFile.substr(job.outputDir().size() + 1).c_str(),
                        testing::PrintToString(numbers).c_str());
            if (!nAppend && jobs.size() == 1)
                expectInformationOfJob(pageFile.substr(0, pageFile.size() - 3) + "LOG", jobs[0]);
            jobsFound.insert(jobsFound.end(), jobs.begin(), jobs.end());
        }
        std::sort(jobsFound.begin(), jobsFound.end());
        EXPECT_EQ(jobsFound, jobNumbers);
        // With append the information file tells of the job that ended last.
        if (nAppend) {
            const std::string information = util::test::readText(job.jobFile("LOG"));
            expectInformationOfJob(job.jobFile("LOG"), std::stoi(valueOf(information, "printJobId")));
        }
        EXPECT_TRUE(filesIn(job.outputDir(), "*.job").empty()) << "no job file stays behind";
    }
}

}
