#ifndef VELMO_TOOLS_PRINTHOST_CONCURRENTJOBS_H
#define VELMO_TOOLS_PRINTHOST_CONCURRENTJOBS_H

#include "tools/printhost/LoadedDriver.h"
#include "tools/printhost/PrintJob.h"
#include "tools/printhost/StepLog.h"

#include <vector>

namespace velmo::tools::printhost {

// Prints every job at once, as applications printing on several threads of one process do:
// each job on a thread and a device of its own, all started together so that their calls
// into the driver interleave. Each job's lines are headed by "job ID: ". True when every job
// succeeded.
bool printJobsAtOnce(const LoadedDriver& driver, const std::vector<JobOptions>& jobs, const StepLog& log);

}

#endif
