#ifndef VELMO_DRIVER_JOB_H
#define VELMO_DRIVER_JOB_H

#include "driver/JobPageFiles.h"
#include "driver/JobState.h"
#include "driver/PageFilePath.h"

#include <windows.h>
#include <winddi.h>

namespace velmo::driver {

// The print job of one device, kept with the device so that jobs on other devices, on other
// threads of the same process, stay apart.
struct Job {
    JobState state{};
    DocumentPageFile document;
    JobPageFiles pages;
};

// The job of the device a surface belongs to; null for a surface of no device of ours.
Job* jobOf(const SURFOBJ* pso);

}

#endif
