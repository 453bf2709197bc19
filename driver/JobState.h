#ifndef VELMO_DRIVER_JOBSTATE_H
#define VELMO_DRIVER_JOBSTATE_H

#include "driver/WideText.h"

#include <windows.h>

namespace velmo::driver {

// The current print job of the process; one job at a time runs in a process.
struct JobState {
    volatile LONG jobId;      // spooler job number, exchanged at each start of a job
    volatile LONG pageCount;  // pages sent in the current job
    wchar_t documentName[textCapacity];
    wchar_t printerName[textCapacity];
};

JobState& jobState();

}

#endif
