#ifndef VELMO_DRIVER_JOBPAGEFILES_H
#define VELMO_DRIVER_JOBPAGEFILES_H

#include <string>
#include <vector>

namespace velmo::driver {

// Whether two page file names name one file, as Windows compares names: without case.
bool isSamePageFile(const std::string& left, const std::string& right);

// Where the pages of a job are meant to go.
struct PageTarget {
    std::string pageFile;  // ANSI code page
    // The pages are added to what the page file holds; otherwise they replace it.
    bool bAdded = true;
};

// Files of the job's own that hold its pages until the job ends, one for each page file the
// pages are meant for, named after that page file, the process, the job and a counter: no
// other job, in this process or another, ever writes between a job's pages.
class JobPageFiles {
public:
    struct Entry {
        PageTarget target;
        std::string jobFile;
        int nPages = 0;
    };

    JobPageFiles() = default;
    JobPageFiles(const JobPageFiles&) = delete;
    JobPageFiles& operator=(const JobPageFiles&) = delete;
    // A job that never ended leaves nothing behind.
    ~JobPageFiles() { discard(); }

    // The job's file for pages meant for the target (created by the first page appended).
    Entry& fileFor(const PageTarget& target, unsigned long nJobId);
    std::vector<Entry>& entries() { return m_entries; }
    // Deletes every job file and forgets them.
    void discard();
    // Forgets the job files, leaving what is still in them for the user.
    void forget() { m_entries.clear(); }

private:
    std::vector<Entry> m_entries;
};

}

#endif
