#ifndef VELMO_TOOLS_PRINTHOST_PRINTJOB_H
#define VELMO_TOOLS_PRINTHOST_PRINTJOB_H

#include "tools/printhost/DriverSession.h"
#include "tools/printhost/LoadedDriver.h"
#include "tools/printhost/StepLog.h"

#include <cstddef>
#include <string>
#include <vector>

namespace velmo::tools::printhost {

// One print job as the command line gives it: the device's settings and the pages, from
// pictures (one per page) or from the built-in sample document.
struct JobOptions {
    JobSettings settings;
    bool bSample = false;
    std::vector<std::wstring> images;
    // Where each page is written as drawn, before the driver sends it; empty for nowhere.
    std::wstring keepFolder;

    std::size_t pageCount() const;
};

// Prints the job on a device of its own (see DriverSession for nDevice): enables the device,
// draws and sends every page, ends the document and disables the device. A job that fails
// half-way is still ended, as the engine ends an aborted document. True when every step
// succeeded.
bool printJob(const LoadedDriver& driver, const JobOptions& job, const StepLog& log, unsigned nDevice);

}

#endif
