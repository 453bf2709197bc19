#ifndef VELMO_DRIVER_DRIVERCONFIG_H
#define VELMO_DRIVER_DRIVERCONFIG_H

#include "driver/WideText.h"

#include <windows.h>

namespace velmo::driver {

// Everything that can be changed without rebuilding the driver: read once per process from
// the configuration file beside the module, never re-read.
struct DriverConfig {
    HINSTANCE hInstance;
    wchar_t configPath[textCapacity];
    // The module path ending in "bin": the client program when clientModule says "bin".
    wchar_t binPath[textCapacity];
    wchar_t clientPath[textCapacity];
    wchar_t computerName[MAX_COMPUTERNAME_LENGTH + 1];

    wchar_t seed[textCapacity];
    wchar_t deviceName[textCapacity];
    wchar_t driverInfo[textCapacity];
    wchar_t outputDir[textCapacity];
    wchar_t clientArgs[textCapacity];
    wchar_t clientHome[textCapacity];
    wchar_t clientModule[textCapacity];
    wchar_t rendererUser[textCapacity];

    int append;
    int resolution;
    int landscape;
    int color;
    int drawScale;
    int jpegQuality;
    int threshold;
    int dither;
    int testPrint;
    wchar_t testOutputPdf[textCapacity];
    wchar_t testOutputImage[textCapacity];
    wchar_t testOutputLog[textCapacity];

    int monochrome;
    int orientation;  // DMORIENT_PORTRAIT or DMORIENT_LANDSCAPE
};

const DriverConfig& driverConfig();

// Reads the configuration for the module and fills the configuration, the page format and
// the device answers derived from it. Run once, when the library is attached to a process.
void loadDriverConfig(HINSTANCE hInstance);

}

#endif
