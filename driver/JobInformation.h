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
    std::int32_t pageCount;
};

// The information file's exact content, an INI section. Control characters in the texts
// become blanks, so that no value (a document name above all) can add lines or keys.
std::string formatJobInformation(const JobInformation& information);

}

#endif
