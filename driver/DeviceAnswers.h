#ifndef VELMO_DRIVER_DEVICEANSWERS_H
#define VELMO_DRIVER_DEVICEANSWERS_H

#include "driver/DriverConfig.h"
#include "driver/PageFormat.h"

#include <windows.h>
#include <winddi.h>

// What the driver tells the graphics engine and the settings side about the device: filled
// once at load from the configuration; each device gets the paper geometry of its own.
namespace velmo::driver {

const DEVINFO& devInfoTemplate();
const DEVMODEW& defaultDevmode();
// The default record overlaid with as much of the caller's record as it holds: a record of
// an older, shorter layout is read no further than its own end.
DEVMODEW overlaidDefaultDevmode(const DEVMODEW& input);

void fillDeviceAnswers(const DriverConfig& config, const PageFormat& format);

// The device's answers for one paper: the template with that paper, a copy of its own for
// each device, so that devices enabled at once do not change each other's.
GDIINFO gdiInfoFor(const PaperGeometry& paper);

}

#endif
