#ifndef VELMO_DRIVER_JOBINFORMATION_H
#define VELMO_DRIVER_JOBINFORMATION_H

#include <cstdint>
#include <string>

namespace velmo::driver {

// What the client program learns about a finished job from the information file beside
// the page file. Texts are in the ANSI code page.
struct JobInformation {
    std::string submitted;  // local time, 14 digits
    std::int32_t jobId;
    std::string printerName;
    std::string machineName;
    std::string userName;
    std::string document;
    std::int32_t pageCount;     // pages the application sent
    std::int32_t pagesWritten;  // pages that are in the page file
    std::int32_t status;        // a JobStatus
};

// What became of a job, for the client: whether it can trust the page file to be whole.
enum JobStatus : std::int32_t {
    jobComplete = 0,
    jobPagesLost = 1,  // a page could not be converted, written or put in place
    jobAborted = 2,    // the application cancelled it; its pages were dropped
};

// The information file's exact content, an INI section. Control characters in the texts
// become blanks, so that no value (a document name above all) can add lines or keys.
std::string formatJobInformation(const JobInformation& information);

}

#endif
