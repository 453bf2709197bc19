#ifndef VELMO_DRIVER_PAGECONVERSION_H
#define VELMO_DRIVER_PAGECONVERSION_H

#include <windows.h>

namespace velmo::driver {

// Turns one captured page (a PageImage block, still owned by the caller) into a page of the
// job's page file. The result is for diagnosis only: a failed page is dropped silently.
int convertPage(HGLOBAL hPageImage);

// Hands a finished job over; runs once at the end of every job.
void completeJob();

}

#endif
