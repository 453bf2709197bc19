#ifndef VELMO_DRIVER_DEVICECAPABILITIES_H
#define VELMO_DRIVER_DEVICECAPABILITIES_H

#include <windows.h>

namespace velmo::driver {

// What the printer can do, for a capability number of the platform (DC_FIELDS to
// DC_EMF_COMPLIANT): the answer, and for the lists (papers, sizes, bins and their names) the
// list itself written to pvOutput unless it is null. Unknown numbers answer 0xFFFFFFFF.
// The printer's abilities are fixed, so no job's settings record is consulted; the one
// resolution listed is the configured one.
DWORD answerDeviceCapability(WORD iDevCap, void* pvOutput);

}

#endif
