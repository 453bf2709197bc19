// The end of a job: the information file, the job files' names for the hand-off, and the
// start of the client program (or, in test-print mode, copies of the results).
#include "driver/ClientLaunch.h"
#include "driver/DriverConfig.h"
#include "driver/Job.h"
#include "driver/JobFileName.h"
#include "driver/JobInformation.h"
#include "driver/PageConversion.h"
#include "driver/PageFileLock.h"
#include "driver/TestPrint.h"
#include "lib/graphics.Conversion.h"
#include "util/Files.h"
#include "util/IniFile.h"
#include "util/Text.h"
#include "util/TextStamps.h"

namespace velmo::driver {

namespace {

constexpr char systemAccountPrefix[] = "LocalSystem";

struct JobFiles {
    std::string page;
    std::string information;
};

std::string jobFileName(const wchar_t* pszExtension)
{
    return util::text::narrow(makeJobFileName(pszExtension));
}

std::string withoutExtension(const std::string& path)
{
    const std::size_t nDot = path.find_last_of('.');
    return nDot == std::string::npos ? path : path.substr(0, nDot);
}

void writeInformationFile(const std::string& path, const JobState& job, const std::string& submitted,
                          const std::string& account, std::int32_t nPagesWritten, JobStatus status)
{
    const std::string text = formatJobInformation(
        {submitted, static_cast<std::int32_t>(job.jobId), util::text::narrow(job.printerName),
         util::text::narrow(driverConfig().computerName), account, util::text::narrow(job.documentName),
         static_cast<std::int32_t>(job.pageCount), nPagesWritten, status});
    util::deleteFileRetry(path);
    util::writeFileBytes(path, text.data(), text.size());
}

// Nobody sees a client started for the system account or for the account that renders
// jobs on a server; and the user's client may have said that it wants none.
bool isHandOffWanted(const std::string& account, int nUi)
{
    const std::string rendererUser = util::text::narrow(driverConfig().rendererUser);
    if (util::text::startsWith(account, systemAccountPrefix, true))
        return false;
    if (!rendererUser.empty() && util::text::startsWith(account, rendererUser, true))
        return false;
    return nUi != 0;
}

// The pages of one job file added to their page file, or put in its place, while no other
// job touches it. False when that could not be done: the job file then keeps the pages.
bool placePages(const JobPageFiles::Entry& entry)
{
    PageFileLock lock(entry.target.pageFile);
    if (!lock.isHeld())
        return false;
    const bool bPlaced =
        entry.target.bAdded
            ? lib::graphics::convertToTiff(entry.jobFile.c_str(), nullptr, entry.target.pageFile.c_str(), 0, 0, 0, 0, 0,
                                           0, 0) == 0
            : util::moveFile(entry.jobFile, entry.target.pageFile) == util::code::success;
    if (bPlaced)
        util::deleteFileRetry(entry.jobFile);
    return bPlaced;
}

// Without append, a job handed to the client gets page and information files of its own,
// name-time-tag, so that the next job does not overwrite what the client has yet to read.
// Its pages go there straight from the job's file; should that fail, the job's file itself
// is handed over.
JobFiles moveToUniqueName(const JobPageFiles::Entry& entry, const std::string& submitted, const std::string& tag)
{
    JobFiles unique;
    unique.page = withoutExtension(entry.target.pageFile) + '-' + submitted + '-' + tag + ".TIF";
    if (util::moveFile(entry.jobFile, unique.page) != util::code::success)
        unique.page = entry.jobFile;
    unique.information = withoutExtension(unique.page) + ".LOG";
    return unique;
}

}

bool completeJob(Job& job, bool bAborted)
{
    const DriverConfig& config = driverConfig();
    const std::string submitted = util::formatLocalTime("%Y%m%d%H%M%S");
    const std::string tag = util::newGuidText(false, "", "", false, false);
    util::IniFile controlFile;
    controlFile.setFile(jobFileName(L"INI"));
    const std::string account = util::text::narrow(accountNameForFiles());
    const bool bHandOff = isHandOffWanted(account, controlFile.readInt("config", "ui", 1));

    // A cancelled job's pages are nobody's fax.
    if (bAborted)
        job.pages.discard();
    JobFiles handed{jobFileName(L"TIF"), jobFileName(L"LOG")};
    std::int32_t nPagesWritten = 0;
    bool bAllPlaced = true;
    for (const JobPageFiles::Entry& entry : job.pages.entries()) {
        if (entry.nPages == 0) {
            // Its first page failed: whatever it left is no page.
            util::deleteFileRetry(entry.jobFile);
        } else if (bHandOff && config.append == 0 && !entry.target.bAdded && isSamePageFile(entry.target.pageFile, handed.page)) {
            handed = moveToUniqueName(entry, submitted, tag);
            nPagesWritten += entry.nPages;
        } else if (placePages(entry)) {
            nPagesWritten += entry.nPages;
        } else {
            bAllPlaced = false;
        }
    }
    // What could not be put in place stays in the job's files, for the user to recover.
    job.pages.forget();

    JobStatus status = nPagesWritten == job.state.pageCount ? jobComplete : jobPagesLost;
    if (bAborted)
        status = jobAborted;
    {
        // Beside a page file that other jobs may be adding to, the file tells of one job whole.
        PageFileLock lock(handed.page);
        writeInformationFile(handed.information, job.state, submitted, account, nPagesWritten, status);
    }
    if (!bHandOff)
        return bAllPlaced;
    if (config.testPrint != 0) {
        copyTestPrintResults(handed.page, handed.information);
        util::deleteFileRetry(handed.page);
        util::deleteFileRetry(handed.information);
        return bAllPlaced;
    }
    // Only a job that put pages into the page file is a fax to hand over.
    if (!bAborted && nPagesWritten > 0 && util::fileExists(handed.page)) {
        const std::string clientPath = util::text::narrow(config.clientPath);
        startClient(clientPath, clientCommandLine(clientPath, handed.page, util::text::narrow(config.clientArgs)));
    }
    return bAllPlaced;
}

}
