#ifndef VELMO_DRIVER_DEVICEANSWERS_H
#define VELMO_DRIVER_DEVICEANSWERS_H

#include "driver/DriverConfig.h"
#include "driver/PageFormat.h"

#include <windows.h>
#include <winddi.h>

// What the driver tells the graphics engine and the settings side about the device: filled
// once at load from the configuration, the paper geometry rewritten for each device.
namespace velmo::driver {

GDIINFO& gdiInfoTemplate();
DEVINFO& devInfoTemplate();
const DEVMODEW& defaultDevmode();
// The default record overlaid with as much of the caller's record as it holds: a record of
// an older, shorter layout is read no further than its own end.
DEVMODEW overlaidDefaultDevmode(const DEVMODEW& input);

void fillDeviceAnswers(const DriverConfig& config, const PageFormat& format);

// Puts the chosen paper into the size fields of the GDIINFO template.
void setGdiPaper(const PaperGeometry& paper);

}

#endif
