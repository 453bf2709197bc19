#ifndef VELMO_DRIVER_DEVICERECORD_H
#define VELMO_DRIVER_DEVICERECORD_H

#include <windows.h>
#include <winddi.h>

namespace velmo::driver {

struct Job;

constexpr char deviceTag[4] = {'D', 'I', 'B', 'D'};

// One per enabled device, owned by the graphics engine through the DHPDEV handed out.
struct DeviceRecord {
    char tagHead[4];
    HSURF hsurf;
    HDEV hdev;
    HANDLE hPrinter;
    HPALETTE hpal;
    DEVMODEW devmode;
    wchar_t deviceName[1024];  // spaces replaced by '-'
    char tagTail[4];
    LONG width;
    LONG height;
    Job* pJob;  // the device's print job, owned by the record
};

// The record behind an engine handle; null when the handle is null or does not carry the
// record's tags.
DeviceRecord* deviceRecordOf(DHPDEV dhpdev);

// Erases the device's page bitmap to white, as every page starts.
void eraseDeviceSurface(DeviceRecord& record);

}

#endif
