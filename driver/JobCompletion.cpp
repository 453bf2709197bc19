// The end of a job: the information file, the job files' names for the hand-off, and the
// start of the client program (or, in test-print mode, copies of the results).
#include "driver/ClientLaunch.h"
#include "driver/DriverConfig.h"
#include "driver/JobFileName.h"
#include "driver/JobInformation.h"
#include "driver/JobState.h"
#include "driver/PageConversion.h"
#include "driver/TestPrint.h"
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

void writeInformationFile(const std::string& path, const std::string& submitted, const std::string& account)
{
    const JobState& job = jobState();
    const DriverConfig& config = driverConfig();
    const std::string text = formatJobInformation({submitted, static_cast<std::int32_t>(job.jobId),
                                                   util::text::narrow(job.printerName),
                                                   util::text::narrow(config.computerName), account,
                                                   util::text::narrow(job.documentName),
                                                   static_cast<std::int32_t>(job.pageCount)});
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

// Every job gets files of its own: page file and information file are renamed to
// name-time-tag, so that the next job does not overwrite what the client has yet to read.
JobFiles moveToUniqueNames(const JobFiles& plain, const std::string& submitted, const std::string& tag)
{
    JobFiles unique;
    unique.page = withoutExtension(plain.page) + '-' + submitted + '-' + tag + ".TIF";
    unique.information = withoutExtension(unique.page) + ".LOG";
    util::moveFile(plain.information, unique.information);
    util::moveFile(plain.page, unique.page);
    util::deleteFileRetry(plain.information);
    util::deleteFileRetry(plain.page);
    return unique;
}

}

void completeJob()
{
    const DriverConfig& config = driverConfig();
    const std::string submitted = util::formatLocalTime("%Y%m%d%H%M%S");
    const std::string tag = util::newGuidText(false, "", "", false, false);
    util::IniFile controlFile;
    controlFile.setFile(jobFileName(L"INI"));
    JobFiles files{jobFileName(L"TIF"), jobFileName(L"LOG")};
    const int nUi = controlFile.readInt("config", "ui", 1);
    const std::string account = util::text::narrow(accountNameForFiles());

    writeInformationFile(files.information, submitted, account);
    if (!isHandOffWanted(account, nUi))
        return;
    if (config.append == 0)
        files = moveToUniqueNames(files, submitted, tag);
    const std::string clientPath = util::text::narrow(config.clientPath);
    if (config.testPrint == 0) {
        startClient(clientPath, clientCommandLine(clientPath, files.page, util::text::narrow(config.clientArgs)));
        return;
    }
    copyTestPrintResults(files.page, files.information);
    util::deleteFileRetry(files.page);
    util::deleteFileRetry(files.information);
}

}
