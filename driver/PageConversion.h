#ifndef VELMO_DRIVER_PAGECONVERSION_H
#define VELMO_DRIVER_PAGECONVERSION_H

#include "driver/Job.h"

#include <windows.h>

namespace velmo::driver {

// Turns one captured page (a PageImage block, still owned by the caller) into a page of the
// job's own page file. 0, or the Win32 error that tells the application why the page is
// lost.
DWORD convertPage(Job& job, HGLOBAL hPageImage);

// Puts a finished job's pages in place and hands the job over; runs once at the end of
// every job. False when pages that were written could not be put in place (they then stay
// in the job's own file, which is handed over instead or left for the user).
bool completeJob(Job& job, bool bAborted);

}

#endif
