#ifndef VELMO_DRIVER_JOBSTATE_H
#define VELMO_DRIVER_JOBSTATE_H

#include "driver/WideText.h"

#include <windows.h>

namespace velmo::driver {

// What one device's current print job was told and has done. The engine calls a device
// from one thread at a time, so nothing here needs a lock.
struct JobState {
    LONG jobId;         // spooler job number, replaced at each start of a job
    LONG pageCount;     // pages sent in the job
    LONG pagesWritten;  // pages that reached the job's files
    LONG failedPages;   // pages that could not be converted or written
    wchar_t documentName[textCapacity];
    wchar_t printerName[textCapacity];
};

}

#endif
