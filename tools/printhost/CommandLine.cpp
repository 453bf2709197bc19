#include "tools/printhost/CommandLine.h"

#include "tools/printhost/WideText.h"

#include <cwchar>
#include <initializer_list>
#include <set>
#include <utility>

namespace velmo::tools::printhost {

namespace {

const std::wstring jobSeparator = L"--and";

struct Choice {
    const wchar_t* pszName;
    short nValue;
};

// The value of the named choice; false when the text names none of them.
bool choose(const std::wstring& text, std::initializer_list<Choice> choices, short& nValue)
{
    for (const Choice& choice : choices) {
        if (text == choice.pszName) {
            nValue = choice.nValue;
            return true;
        }
    }
    return false;
}

// The arguments of one job: from the first up to, not including, the end.
struct ArgumentRange {
    wchar_t** ppszFirst;
    wchar_t** ppszEnd;
};

// The arguments between separators, one range per job; an empty range where a separator
// comes first, last or twice in a row.
std::vector<ArgumentRange> jobRanges(wchar_t** ppszFirst, wchar_t** ppszEnd)
{
    std::vector<ArgumentRange> ranges;
    wchar_t** ppszStart = ppszFirst;
    for (wchar_t** ppsz = ppszFirst; ppsz != ppszEnd; ++ppsz) {
        if (*ppsz == jobSeparator) {
            ranges.push_back({ppszStart, ppsz});
            ppszStart = ppsz + 1;
        }
    }
    ranges.push_back({ppszStart, ppszEnd});
    return ranges;
}

class JobArguments {
public:
    explicit JobArguments(const ArgumentRange& range) : m_ppszNext(range.ppszFirst), m_ppszEnd(range.ppszEnd) {}

    // Reads them into the job, and --driver and --printer into the command when bFirst.
    bool parse(bool bFirst, CommandLine& commandLine, JobOptions& job, std::string& error);

private:
    bool parseOption(const std::wstring& option, const std::wstring& value, JobOptions& job, std::string& error);

    wchar_t** m_ppszNext;
    wchar_t** m_ppszEnd;
};

bool JobArguments::parse(bool bFirst, CommandLine& commandLine, JobOptions& job, std::string& error)
{
    while (m_ppszNext != m_ppszEnd) {
        const std::wstring option = *m_ppszNext++;
        if (option == L"--sample") {
            job.bSample = true;
            continue;
        }
        if (option.rfind(L"--", 0) != 0) {
            job.images.push_back(option);
            continue;
        }
        if (m_ppszNext == m_ppszEnd) {
            error = "missing value after " + narrow(option);
            return false;
        }
        const std::wstring value = *m_ppszNext++;
        if (option == L"--driver" || option == L"--printer") {
            if (!bFirst) {
                error = narrow(option) + " comes before the first " + narrow(jobSeparator);
                return false;
            }
            (option == L"--driver" ? commandLine.driverPath : commandLine.printerName) = value;
        } else if (!parseOption(option, value, job, error)) {
            return false;
        }
    }
    if (job.bSample == !job.images.empty()) {
        error = "give either --sample or images";
        return false;
    }
    return true;
}

bool JobArguments::parseOption(const std::wstring& option, const std::wstring& value, JobOptions& job,
                               std::string& error)
{
    JobSettings& settings = job.settings;
    if (option == L"--paper") {
        if (!choose(value, {{L"letter", DMPAPER_LETTER}, {L"legal", DMPAPER_LEGAL}}, settings.paperSize)) {
            error = "paper must be letter or legal";
            return false;
        }
    } else if (option == L"--orientation") {
        if (!choose(value, {{L"portrait", DMORIENT_PORTRAIT}, {L"landscape", DMORIENT_LANDSCAPE}},
                    settings.orientation)) {
            error = "orientation must be portrait or landscape";
            return false;
        }
    } else if (option == L"--job") {
        wchar_t* pszEnd = nullptr;
        settings.jobId = std::wcstoul(value.c_str(), &pszEnd, 10);
        if (value.empty() || *pszEnd != L'\0') {
            error = "job ID must be a number";
            return false;
        }
    } else if (option == L"--document") {
        settings.documentName = value;
    } else if (option == L"--keep-pages") {
        job.keepFolder = value;
    } else {
        error = "unknown option " + narrow(option);
        return false;
    }
    return true;
}

// The report heads each job's lines with its ID, so two jobs of one command may not share one.
bool haveDistinctIds(const std::vector<JobOptions>& jobs)
{
    std::set<DWORD> ids;
    for (const JobOptions& job : jobs) {
        if (!ids.insert(job.settings.jobId).second)
            return false;
    }
    return true;
}

}

bool parseCommandLine(int nArgs, wchar_t** ppszArgs, CommandLine& commandLine, std::string& error)
{
    const std::vector<ArgumentRange> ranges = jobRanges(ppszArgs + 1, ppszArgs + nArgs);
    for (const ArgumentRange& range : ranges) {
        JobOptions job;
        job.settings.jobId = static_cast<DWORD>(commandLine.jobs.size() + 1);
        if (!JobArguments(range).parse(commandLine.jobs.empty(), commandLine, job, error)) {
            if (ranges.size() > 1)
                error = "job " + std::to_string(commandLine.jobs.size() + 1) + " of " + std::to_string(ranges.size()) +
                        ": " + error;
            return false;
        }
        commandLine.jobs.push_back(std::move(job));
    }
    if (commandLine.driverPath.empty() == commandLine.printerName.empty()) {
        error = "give either --driver or --printer";
        return false;
    }
    if (!haveDistinctIds(commandLine.jobs)) {
        error = "every job needs an ID of its own";
        return false;
    }
    // Each device carries the name of the printer it prints to.
    if (!commandLine.printerName.empty()) {
        for (JobOptions& job : commandLine.jobs)
            job.settings.deviceName = commandLine.printerName;
    }
    return true;
}

}
