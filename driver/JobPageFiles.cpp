#include "driver/JobPageFiles.h"

#include "util/Files.h"

#include <windows.h>

namespace velmo::driver {

namespace {

volatile LONG g_nJobFileCounter = 0;

}

bool isSamePageFile(const std::string& left, const std::string& right)
{
    return CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, left.c_str(), -1, right.c_str(), -1) == CSTR_EQUAL;
}

JobPageFiles::Entry& JobPageFiles::fileFor(const PageTarget& target, unsigned long nJobId)
{
    for (Entry& entry : m_entries) {
        if (isSamePageFile(entry.target.pageFile, target.pageFile))
            return entry;
    }
    // Beside the page file, so that putting the pages in place can be a rename.
    const std::string jobFile = target.pageFile + '.' + std::to_string(GetCurrentProcessId()) + '-' +
                                std::to_string(nJobId) + '-' + std::to_string(InterlockedIncrement(&g_nJobFileCounter)) +
                                ".job";
    util::deleteFileRetry(jobFile);
    m_entries.push_back({target, jobFile, 0});
    return m_entries.back();
}

void JobPageFiles::discard()
{
    for (const Entry& entry : m_entries)
        util::deleteFileRetry(entry.jobFile);
    m_entries.clear();
}

}
